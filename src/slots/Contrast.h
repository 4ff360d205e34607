#pragma once

#include "slots/SettingSlots.h"

#include <QColor>
#include <QList>
#include <QString>

#include <array>

namespace ovex {

// Readability of text on a background as WCAG 2.x measures it.

// Relative luminance, 0 for black to 1 for white (sRGB, alpha ignored).
double RelativeLuminance(const QColor& color);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on
// white; the order of the two colours does not matter.
double ContrastRatio(const QColor& a, const QColor& b);

// Normal-size text needs at least this much (WCAG level AA).
inline constexpr double MinimumTextContrast = 4.5;

// "4.48:1", to two decimals; a ratio below the minimum never reads as
// meeting it (4.499 is 4.49:1).
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
