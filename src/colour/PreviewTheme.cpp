#include "colour/PreviewTheme.h"

#include "theme/ThemeKeys.h"

#include <cmath>

namespace ovex {

namespace {

// Greys chosen so that every checked pair reaches its threshold, the hints
// included: a theme that sets nothing gets no warning and no hint.
constexpr std::array<QRgb, ColorSlotCount> Defaults = {
    0xECECEC,   // control
    0xC4C4C4,   // controlshadow
    0x7F7F7F,   // controldarkshadow
    0x303030,   // controlinfo
    0xFFFFFF,   // controlhighlight
    0xDCDCDC,   // controldisabled
    0xFAFAFA,   // primarycontrol
    0x202020,   // primarycontrolinfo
    0x808080,   // primarycontrolshadow
    0x6E6E6E,   // primarycontroldarkshadow
    0xFFFFFF,   // primarycontrolhighlight
    0x1E1E1E,   // systemtextcolor
    0x1E1E1E,   // controltextcolor
    0x767676,   // inactivecontroltextcolor
    0x767676,   // inactivesystemtextcolor
    0x000000,   // usertextcolor
    0x595959,   // texthighlightcolor
    0xFFFFFF,   // highlightedtextcolor
    0xFFFFFF,   // windowbackground
    0xF2F2F2,   // menubackground
    0x1E1E1E,   // menuforeground
    0x595959,   // menuselectedbackground
    0xFFFFFF,   // menuselectedforeground
    0x6A6A6A,   // menudisabledforeground
    0xFFFFFF,   // seperatorbackground
    0xB4B4B4,   // seperatorforeground
    0x7F7F7F,   // focuscolor
};

} // namespace

QColor DefaultSlotColor(int slot)
{
    return QColor::fromRgb(Defaults[slot]);
}

QString PreviewText(const QString& text)
{
    if (text.size() <= MaxPreviewText)
        return text;
    const qsizetype end = text[MaxPreviewText - 1].isHighSurrogate() ? MaxPreviewText - 1 : MaxPreviewText;
    return text.left(end);
}

PreviewTheme SimulatedTheme(const PreviewTheme& theme, VisionType vision)
{
    if (vision == VisionType::Normal)
        return theme;
    PreviewTheme seen = theme;
    seen.colors = Simulate(theme.colors, vision);
    return seen;
}

PreviewTheme DefaultPreviewTheme()
{
    PreviewTheme theme;
    theme.name = QString::fromLatin1(PlaceholderName);
    for (int i = 0; i < ColorSlotCount; ++i)
        theme.colors[i] = DefaultSlotColor(i);
    theme.pointSizes.fill(DefaultPointSize);
    return theme;
}

std::optional<double> PreviewPointSize(const QString& text)
{
    bool ok = false;
    const double size = text.toDouble(&ok);   // C locale, blanks around ignored
    if (!ok || !std::isfinite(size))
        return std::nullopt;
    return std::clamp(size, MinPointSize, MaxPointSize);
}

PreviewTheme PreviewThemeOf(const ThemeState& state, const QColor& shownUnset)
{
    PreviewTheme theme = DefaultPreviewTheme();
    theme.name = PreviewText(state.name);
    for (int i = 0; i < ColorSlotCount; ++i) {
        const SlotState& slot = state.slots[i];
        if (slot.ticked && !slot.tag.isEmpty()) {
            theme.colors[i] = IsSystemColor(slot.color) ? shownUnset : PackedToQColor(slot.color);
            theme.inTheme[i] = true;
        }
    }
    // Save copies the size boxes into the slots before it writes.
    for (int i = FirstSizeSlot; i < SlotCount; ++i) {
        if (!state.slots[i].ticked)
            continue;
        if (const auto size = PreviewPointSize(state.sizes[i - FirstSizeSlot])) {
            theme.pointSizes[i - FirstSizeSlot] = *size;
            theme.inTheme[i] = true;
        }
    }
    return theme;
}

QString DefaultsNote(const PreviewTheme& theme)
{
    QStringList set;
    QStringList unset;
    for (int i = 0; i < SlotCount; ++i)
        (theme.inTheme[i] ? set : unset) << QString::fromLatin1(SlotTable[i].key).chopped(1);
    if (set.isEmpty())
        return QStringLiteral("Nothing is in the theme yet: every setting is drawn in its neutral default.");
    if (unset.isEmpty())
        return QStringLiteral("Every setting is in the theme: no defaults are drawn.");
    if (unset.size() <= set.size())
        return QStringLiteral("Not in the theme, drawn in neutral defaults: %1.").arg(unset.join(QStringLiteral(", ")));
    return QStringLiteral("In the theme: %1. Every other setting is drawn in its neutral default.")
        .arg(set.join(QStringLiteral(", ")));
}

} // namespace ovex
