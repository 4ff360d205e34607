#pragma once

#include "preview/ColourScience.h"
#include "slots/SettingSlots.h"

#include <QColor>
#include <QList>
#include <QString>

#include <array>

namespace ovex {

// Readability of text on a background as WCAG 2.x measures it.

// RelativeLuminance and ContrastRatio are in preview/ColourScience.h.

// Normal-size text needs at least this much (WCAG level AA).
inline constexpr double MinimumTextContrast = 4.5;

// "4.48:1", to two decimals; a ratio below a threshold never reads as
// meeting it (4.499 is 4.49:1). RatioText in preview/Readability.h.
QString ContrastText(double ratio);

// A text colour slot drawn on a background colour slot.
struct TextPair
{
    int text;
    int background;
    const char* what;
};

// The text-on-background pairs whose readability is checked.
extern const std::array<TextPair, 8> CheckedTextPairs;

// The index of text on background in CheckedTextPairs; the pair must be one.
qsizetype CheckedPairIndex(int text, int background);

struct ContrastWarning
{
    TextPair pair;
    double ratio;
};

// Every checked pair below MinimumTextContrast, in the order of
// CheckedTextPairs; colors holds the colour of each colour slot.
QList<ContrastWarning> ContrastWarnings(const std::array<QColor, ColorSlotCount>& colors);

} // namespace ovex
