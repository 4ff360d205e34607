#include "schemes/SchemeSources.h"

#include <algorithm>

namespace ovex {

// Surfaces (what text is drawn on) come straight from the scheme's
// backgrounds; text, lines, focus and selection from its foregrounds and
// accent, which MapScheme then moves as far as readability needs.
const std::array<SlotSource, ColorSlotCount> SlotSources = {{
    {"base01", "Window/BackgroundNormal"},     // 0 form and control
    {"base02", "Button/BackgroundNormal"},     // 1 unselected tab, lines
    {"base03", "Window/ForegroundInactive"},   // 2 control borders
    {"base05", "Button/ForegroundNormal"},     // 3 arrows and check marks
    {"base02", "Button/BackgroundNormal"},     // 4 thin line around controls
    {"base01", "Window/BackgroundNormal"},     // 5 disabled control
    {"base01", "Tooltip/BackgroundNormal"},    // 6 tool-tip background
    {"base05", "Tooltip/ForegroundNormal"},    // 7 tool-tip text
    {"base0D", "Selection/BackgroundNormal"},  // 8 scroll bar slider, combo box selection
    {"base03", "Window/ForegroundInactive"},   // 9 popup border, slider shadow
    {"base02", "Button/BackgroundNormal"},     // 10 menu highlight line
    {"base05", "Window/ForegroundNormal"},     // 11 label text
    {"base05", "Window/ForegroundNormal"},     // 12 control text
    {"base03", "Window/ForegroundInactive"},   // 13 disabled control text
    {"base03", "Window/ForegroundInactive"},   // 14 disabled proxy text
    {"base05", "View/ForegroundNormal"},       // 15 user text
    {"base02", "Selection/BackgroundNormal"},  // 16 text selection
    {"base05", "Selection/ForegroundNormal"},  // 17 selected text
    {"base00", "View/BackgroundNormal"},       // 18 window (text box and list) background
    {"base01", "Window/BackgroundNormal"},     // 19 menu background
    {"base05", "Window/ForegroundNormal"},     // 20 menu text
    {"base02", "Selection/BackgroundNormal"},  // 21 menu hover
    {"base05", "Selection/ForegroundNormal"},  // 22 menu hover text
    {"base03", "Window/ForegroundInactive"},   // 23 disabled menu text
    {"base01", "Window/BackgroundNormal"},     // 24 menu separator background
    {"base02", "Window/ForegroundInactive"},   // 25 menu separator line
    {"base0D", "View/DecorationFocus"},        // 26 focus
}};

QString SourceKey(int slot, SchemeFormat format)
{
    const SlotSource& source = SlotSources[slot];
    return QString::fromLatin1(format == SchemeFormat::Kde ? source.kde : source.base16);
}

QStringList NeededColors(SchemeFormat format)
{
    QStringList keys;
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        const QString key = SourceKey(slot, format);
        if (!keys.contains(key))
            keys << key;
    }
    const auto groupIndex = [](const QString& key) {
        const QString group = key.section(u'/', 0, 0);
        return std::find_if(KdeGroups.begin(), KdeGroups.end(), [&](const char* g) { return group == QLatin1String(g); })
               - KdeGroups.begin();
    };
    std::sort(keys.begin(), keys.end(), [&](const QString& a, const QString& b) {
        const auto ga = groupIndex(a);
        const auto gb = groupIndex(b);
        return ga != gb ? ga < gb : a < b;
    });
    return keys;
}

QString ColorLabel(const QString& key, SchemeFormat format)
{
    if (format != SchemeFormat::Kde)
        return key;
    return QStringLiteral("%1 in [Colors:%2]").arg(key.section(u'/', 1), key.section(u'/', 0, 0));
}

} // namespace ovex
