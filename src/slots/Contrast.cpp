#include "slots/Contrast.h"

#include "preview/Readability.h"

namespace ovex {

QString ContrastText(double ratio)
{
    return RatioText(ratio);
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
