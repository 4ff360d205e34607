#pragma once

#include "colour/ColourScience.h"
#include "slots/SlotCount.h"

#include <QColor>
#include <QList>
#include <QString>

#include <array>

namespace ovex {

// Which pairs of theme colours must read well against each other, and how
// well they do, as WCAG 2.2 measures it.

// The colour of each colour slot.
using SlotColors = std::array<QColor, ColorSlotCount>;

enum class PairKind {
    Text,           // needs 4.5:1 (AA); 7:1 is the better grade (AAA)
    NonText,        // what a user must see to operate the window: 3:1
    DisabledHint,   // exempt in WCAG; below 3:1 earns a hint, not a warning
};

inline constexpr double TextContrast = 4.5;
inline constexpr double BetterTextContrast = 7;
inline constexpr double NonTextContrast = 3;
inline constexpr double DisabledHintContrast = 3;

// The ratio a pair of this kind must reach.
double Threshold(PairKind kind);

// front is drawn on back: the text (or the focus frame, the slider, the
// highlight) on its background. Fix changes front.
struct CheckedPair
{
    int front;
    int back;
    PairKind kind;
    const char* what;
};

inline constexpr std::size_t CheckedPairCount = 15;

// Every checked pair: text, non-text, then the hints. FixAll goes through
// them in this order. The preview's scene draws every text and mark as the
// front of one of these, on its back.
extern const std::array<CheckedPair, CheckedPairCount> CheckedPairs;

// The index in CheckedPairs of front drawn on back; the pair must be one.
qsizetype PairIndex(int front, int back);

enum class Grade { Fails, Hint, Meets, Better };

struct PairResult
{
    qsizetype pair;   // index in CheckedPairs
    double ratio;
    Grade grade;

    const CheckedPair& Pair() const { return CheckedPairs[pair]; }
    bool Passes() const { return grade == Grade::Meets || grade == Grade::Better; }
    // Hints are shown, but not as warnings.
    bool IsWarning() const { return grade == Grade::Fails; }
};

Grade GradeFor(PairKind kind, double ratio);

// "AA: 4.5:1 or more", "Fails: under 3:1", ...
QString GradeText(PairKind kind, Grade grade);

// "4.48:1", to two decimals; a ratio below a threshold never reads as
// meeting it (4.499 is 4.49:1, 2.999 is 2.99:1).
QString RatioText(double ratio);

// The colours as seen with vision.
SlotColors Simulate(const SlotColors& colors, VisionType vision);

// The pair's ratio on colors as seen with vision.
double PairRatio(const SlotColors& colors, const CheckedPair& pair, VisionType vision = VisionType::Normal);

// Every pair, in the order of CheckedPairs.
std::array<PairResult, CheckedPairCount> EvaluatePairs(const SlotColors& colors,
                                                          VisionType vision = VisionType::Normal);

// The pairs below their threshold that count as warnings (not the hints).
QList<PairResult> Warnings(const SlotColors& colors, VisionType vision = VisionType::Normal);

// Whether every pair, hints included, reaches its threshold.
bool AllPairsPass(const SlotColors& colors, VisionType vision = VisionType::Normal);
bool AllPairsPassForEveryVision(const SlotColors& colors);

// A pair with no warning for normal vision that has one for some simulated
// vision type.
struct VisionFailure
{
    qsizetype pair;
    QList<VisionType> visions;
};

QList<VisionFailure> FailuresOnlyWithSimulation(const SlotColors& colors);

// One line naming those pairs and the vision types, or empty when there are none.
QString SimulationNote(const QList<VisionFailure>& failures);

} // namespace ovex
