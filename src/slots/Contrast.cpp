#include "slots/Contrast.h"

#include <algorithm>
#include <cmath>

namespace ovex {

namespace {

// An sRGB channel of 0..255 back to linear light.
double linearChannel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linearChannel(rgb.red()) + 0.7152 * linearChannel(rgb.green())
           + 0.0722 * linearChannel(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString ContrastText(double ratio)
{
    double shown = std::round(ratio * 100.0) / 100.0;
    if (ratio < MinimumTextContrast && shown >= MinimumTextContrast)
        shown = MinimumTextContrast - 0.01;
    return QStringLiteral("%1:1").arg(shown, 0, 'f', 2);
}

const std::array<TextPair, 8> CheckedTextPairs = {{
    {20, 19, "Menu text on menu background"},
    {22, 21, "Selected menu text on menu selection"},
    {23, 19, "Disabled menu text on menu background"},
    {15, 18, "User text on window background"},
    {17, 16, "Highlighted text on text highlight"},
    {12, 0, "Control text on control colour"},
    {11, 0, "Label text on control colour"},
    {7, 6, "Tool-tip text on tool-tip background"},
}};

qsizetype CheckedPairIndex(int text, int background)
{
    for (qsizetype k = 0; k < qsizetype(CheckedTextPairs.size()); ++k) {
        if (CheckedTextPairs[k].text == text && CheckedTextPairs[k].background == background)
            return k;
    }
    Q_UNREACHABLE();
}

QList<ContrastWarning> ContrastWarnings(const std::array<QColor, ColorSlotCount>& colors)
{
    QList<ContrastWarning> warnings;
    for (const TextPair& pair : CheckedTextPairs) {
        const double ratio = ContrastRatio(colors[pair.text], colors[pair.background]);
        if (ratio < MinimumTextContrast)
            warnings.append({pair, ratio});
    }
    return warnings;
}

} // namespace ovex
