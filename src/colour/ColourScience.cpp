#include "colour/ColourScience.h"

#include <algorithm>
#include <cmath>

namespace ovex {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

LinearRgb multiply(const Matrix& m, const LinearRgb& v)
{
    return {m[0][0] * v.r + m[0][1] * v.g + m[0][2] * v.b,
            m[1][0] * v.r + m[1][1] * v.g + m[1][2] * v.b,
            m[2][0] * v.r + m[2][1] * v.g + m[2][2] * v.b};
}

// Machado, Oliveira and Fernandes (2009), severity 1.0.
constexpr Matrix Protanopia = {{{0.152286, 1.052583, -0.204868},
                                {0.114503, 0.786281, 0.099216},
                                {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix Deuteranopia = {{{0.367322, 0.860646, -0.227968},
                                  {0.280085, 0.672501, 0.047413},
                                  {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix Tritanopia = {{{1.255528, -0.076749, -0.178779},
                                {-0.078411, 0.930809, 0.147602},
                                {0.004733, 0.691367, 0.303900}}};

// The checks convert the same 256 channel values over and over.
const std::array<double, 256>& linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int v = 0; v < 256; ++v)
            t[v] = SrgbToLinear(v / 255.0);
        return t;
    }();
    return table;
}

int toByte(double linear)
{
    return int(std::lround(LinearToSrgb(std::clamp(linear, 0.0, 1.0)) * 255.0));
}

// Rounding in the OKLab matrices leaves white a hair outside 0..1.
constexpr double GamutSlack = 1e-6;

bool inUnit(double c) { return c >= -GamutSlack && c <= 1 + GamutSlack; }

} // namespace

double SrgbToLinear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double l)
{
    return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

LinearRgb ToLinear(const QColor& color)
{
    return ToLinear(color.rgb());
}

LinearRgb ToLinear(QRgb rgb)
{
    const auto& table = linearTable();
    return {table[qRed(rgb)], table[qGreen(rgb)], table[qBlue(rgb)]};
}

QColor FromLinear(const LinearRgb& rgb)
{
    return QColor(toByte(rgb.r), toByte(rgb.g), toByte(rgb.b));
}

double RelativeLuminance(const LinearRgb& rgb)
{
    return 0.2126 * rgb.r + 0.7152 * rgb.g + 0.0722 * rgb.b;
}

double RelativeLuminance(const QColor& color)
{
    return RelativeLuminance(ToLinear(color));
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

OkLab LinearToOkLab(const LinearRgb& c)
{
    const double l = std::cbrt(0.4122214708 * c.r + 0.5363325363 * c.g + 0.0514459929 * c.b);
    const double m = std::cbrt(0.2119034982 * c.r + 0.6806995451 * c.g + 0.1073969566 * c.b);
    const double s = std::cbrt(0.0883024619 * c.r + 0.2817188376 * c.g + 0.6299787005 * c.b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb OkLabToLinear(const OkLab& lab)
{
    const double l1 = lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m1 = lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s1 = lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l = l1 * l1 * l1;
    const double m = m1 * m1 * m1;
    const double s = s1 * s1 * s1;
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

OkLab ToOkLab(const QColor& color)
{
    return LinearToOkLab(ToLinear(color));
}

double OkLabDistance(const QColor& a, const QColor& b)
{
    const OkLab p = ToOkLab(a);
    const OkLab q = ToOkLab(b);
    return std::hypot(p.L - q.L, p.a - q.a, p.b - q.b);
}

OkLch ToOkLch(const OkLab& lab)
{
    return {lab.L, std::hypot(lab.a, lab.b), std::atan2(lab.b, lab.a)};
}

OkLab ToOkLab(const OkLch& lch)
{
    return {lch.L, lch.C * std::cos(lch.h), lch.C * std::sin(lch.h)};
}

bool InGamut(const LinearRgb& rgb)
{
    return inUnit(rgb.r) && inUnit(rgb.g) && inUnit(rgb.b);
}

bool InGamut(const OkLch& lch)
{
    return InGamut(OkLabToLinear(ToOkLab(lch)));
}

OkLch ReduceChromaToGamut(const OkLch& lch)
{
    OkLch c{std::clamp(lch.L, 0.0, 1.0), std::max(lch.C, 0.0), lch.h};
    // The hue stays, so its cosine and sine are taken once (Fix and the
    // generator come here for every colour they try).
    const double cosH = std::cos(c.h);
    const double sinH = std::sin(c.h);
    const auto inGamut = [&](double C) { return InGamut(OkLabToLinear(OkLab{c.L, C * cosH, C * sinH})); };
    if (inGamut(c.C))
        return c;
    // Grey of any lightness in 0..1 is in gamut, so the edge lies in 0..C.
    double inside = 0;
    double outside = c.C;
    while (outside - inside > 1e-6) {
        const double mid = (inside + outside) / 2;
        (inGamut(mid) ? inside : outside) = mid;
    }
    c.C = inside;
    return c;
}

QColor ToColor(const OkLch& lch)
{
    return FromLinear(OkLabToLinear(ToOkLab(ReduceChromaToGamut(lch))));
}

QString VisionTypeName(VisionType vision)
{
    switch (vision) {
    case VisionType::Normal:
        return QStringLiteral("Normal vision");
    case VisionType::Protanopia:
        return QStringLiteral("Protanopia");
    case VisionType::Deuteranopia:
        return QStringLiteral("Deuteranopia");
    case VisionType::Tritanopia:
        return QStringLiteral("Tritanopia");
    case VisionType::Achromatopsia:
        return QStringLiteral("Achromatopsia");
    }
    Q_UNREACHABLE();
}

QColor Simulate(const QColor& color, VisionType vision)
{
    const LinearRgb rgb = ToLinear(color);
    LinearRgb seen;
    switch (vision) {
    case VisionType::Normal:
        return color;
    case VisionType::Protanopia:
        seen = multiply(Protanopia, rgb);
        break;
    case VisionType::Deuteranopia:
        seen = multiply(Deuteranopia, rgb);
        break;
    case VisionType::Tritanopia:
        seen = multiply(Tritanopia, rgb);
        break;
    case VisionType::Achromatopsia: {
        const double y = RelativeLuminance(rgb);
        seen = {y, y, y};
        break;
    }
    }
    QColor result = FromLinear(seen);
    result.setAlpha(color.alpha());
    return result;
}

} // namespace ovex
