#pragma once

#include "colour/ColourScience.h"
#include "colour/Readability.h"

#include <QColor>
#include <QList>
#include <QString>

namespace ovex {

// Whole themes derived from one or two colours: surfaces toned in the
// colours' hue, the accent where the eye should go, and every text placed by
// contrast against what it is drawn on, so each proposal reads well.

enum class ThemeMode { Light, Dark };

// What a theme is derived from: the hue (and the most tint) of the surfaces,
// and the accent colour.
struct GeneratorSeed
{
    OkLch surface;
    OkLch accent;
};

// One colour serves as both: its hue tints the surfaces, and it is the accent.
GeneratorSeed SeedFromColour(const QColor& base);

struct ThemeProposal
{
    QString name;                   // "Neutral", "Tinted", ...
    SlotColors colors;              // all 27 colour slots
    bool passesEveryVision = false; // also under every simulated vision
};

// How far apart two themes look: the mean, over the 27 colour slots, of the
// Euclidean distance in OKLab between the two colours of a slot. About 0.02
// is just noticeable.
double ProposalDistance(const SlotColors& x, const SlotColors& y);

// No two proposals are closer than this.
inline constexpr double MinProposalDistance = 0.08;

// At most four proposals that differ in structure, each passing every checked
// pair (hints included) for normal vision; those that pass for every
// simulated vision too come first.
QList<ThemeProposal> ProposeThemes(const GeneratorSeed& seed, ThemeMode mode);

// The mode a surface of this colour suggests: Dark for a dark colour.
ThemeMode ModeFor(const QColor& surface);

} // namespace ovex
