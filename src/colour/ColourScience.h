#pragma once

#include <QColor>
#include <QString>

#include <array>

namespace ovex {

// Colour arithmetic for the readability checks: sRGB transfer, WCAG
// luminance and contrast, OKLab/OKLCh, and colour-vision simulation.

// Linear-light sRGB, each channel nominally 0..1.
struct LinearRgb
{
    double r = 0;
    double g = 0;
    double b = 0;
};

// OKLab: L from 0 (black) to 1 (white), a green-red, b blue-yellow.
struct OkLab
{
    double L = 0;
    double a = 0;
    double b = 0;
};

// OKLab in polar form: C the chroma, h the hue angle in radians.
struct OkLch
{
    double L = 0;
    double C = 0;
    double h = 0;
};

// An sRGB channel of 0..1 to linear light and back.
double SrgbToLinear(double c);
double LinearToSrgb(double l);

// Alpha is ignored; the result clamps to 0..1 on the way back.
LinearRgb ToLinear(const QColor& color);
LinearRgb ToLinear(QRgb rgb);
QColor FromLinear(const LinearRgb& rgb);

// Relative luminance, 0 for black to 1 for white.
double RelativeLuminance(const LinearRgb& rgb);
double RelativeLuminance(const QColor& color);

// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on
// white; the order of the two colours does not matter.
double ContrastRatio(const QColor& a, const QColor& b);

OkLab LinearToOkLab(const LinearRgb& rgb);
LinearRgb OkLabToLinear(const OkLab& lab);
OkLab ToOkLab(const QColor& color);
// How far apart two colours are: the Euclidean distance in OKLab.
double OkLabDistance(const QColor& a, const QColor& b);
OkLch ToOkLch(const OkLab& lab);
OkLab ToOkLab(const OkLch& lch);

// Whether sRGB holds the colour (allowing for rounding in the conversion).
bool InGamut(const LinearRgb& rgb);
bool InGamut(const OkLch& lch);

// The colour with lch's lightness and hue, at its chroma or, where sRGB
// cannot hold that, at the highest chroma it can.
OkLch ReduceChromaToGamut(const OkLch& lch);

// ReduceChromaToGamut, then rounded to 8-bit sRGB.
QColor ToColor(const OkLch& lch);

enum class VisionType { Normal, Protanopia, Deuteranopia, Tritanopia, Achromatopsia };

inline constexpr std::array<VisionType, 5> VisionTypes = {
    VisionType::Normal, VisionType::Protanopia, VisionType::Deuteranopia,
    VisionType::Tritanopia, VisionType::Achromatopsia,
};

// "Normal vision", "Protanopia", ...
QString VisionTypeName(VisionType vision);

// The colour as someone with that vision sees it, in 8-bit sRGB; alpha kept.
QColor Simulate(const QColor& color, VisionType vision);

} // namespace ovex
