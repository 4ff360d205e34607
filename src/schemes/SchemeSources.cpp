#include "schemes/SchemeSources.h"

#include <algorithm>

namespace ovex {

// Surfaces (what text is drawn on) come straight from the scheme's
// backgrounds; text, lines, focus and selection from its foregrounds and
// accent, which MapScheme then moves as far as readability needs. base24's
// darker backgrounds go where this theme is darker than its surfaces: the
// disabled control sinks back (base10), shadows are darkest (base11).
const std::array<SlotSource, ColorSlotCount> SlotSources = {{
    {"base01", nullptr, "Window/BackgroundNormal"},      // 0 form and control
    {"base02", nullptr, "Button/BackgroundNormal"},      // 1 unselected tab, lines
    {"base03", nullptr, "Window/ForegroundInactive"},    // 2 control borders
    {"base05", nullptr, "Button/ForegroundNormal"},      // 3 arrows and check marks
    {"base02", nullptr, "Button/BackgroundNormal"},      // 4 thin line around controls
    {"base01", "base10", "Window/BackgroundNormal"},     // 5 disabled control
    {"base01", nullptr, "Tooltip/BackgroundNormal"},     // 6 tool-tip background
    {"base05", nullptr, "Tooltip/ForegroundNormal"},     // 7 tool-tip text
    {"base0D", nullptr, "Selection/BackgroundNormal"},   // 8 scroll bar slider, combo box selection
    {"base03", "base11", "Window/ForegroundInactive"},   // 9 popup border, slider shadow
    {"base02", nullptr, "Button/BackgroundNormal"},      // 10 menu highlight line
    {"base05", nullptr, "Window/ForegroundNormal"},      // 11 label text
    {"base05", nullptr, "Window/ForegroundNormal"},      // 12 control text
    {"base03", nullptr, "Window/ForegroundInactive"},    // 13 disabled control text
    {"base03", nullptr, "Window/ForegroundInactive"},    // 14 disabled proxy text
    {"base05", nullptr, "View/ForegroundNormal"},        // 15 user text
    {"base02", nullptr, "Selection/BackgroundNormal"},   // 16 text selection
    {"base05", nullptr, "Selection/ForegroundNormal"},   // 17 selected text
    {"base00", nullptr, "View/BackgroundNormal"},        // 18 window (text box and list) background
    {"base01", nullptr, "Window/BackgroundNormal"},      // 19 menu background
    {"base05", nullptr, "Window/ForegroundNormal"},      // 20 menu text
    {"base02", nullptr, "Selection/BackgroundNormal"},   // 21 menu hover
    {"base05", nullptr, "Selection/ForegroundNormal"},   // 22 menu hover text
    {"base03", nullptr, "Window/ForegroundInactive"},    // 23 disabled menu text
    {"base01", nullptr, "Window/BackgroundNormal"},      // 24 menu separator background
    {"base02", nullptr, "Window/ForegroundInactive"},    // 25 menu separator line
    {"base0D", nullptr, "View/DecorationFocus"},         // 26 focus
}};

namespace {

QString requiredKey(int slot, SchemeFormat format)
{
    const SlotSource& source = SlotSources[slot];
    return QString::fromLatin1(format == SchemeFormat::Kde ? source.kde : source.base16);
}

} // namespace

QString SourceKey(int slot, const Scheme& scheme)
{
    const char* base24 = SlotSources[slot].base24;
    if (scheme.format == SchemeFormat::Base24 && base24 && scheme.colors.contains(QLatin1String(base24)))
        return QString::fromLatin1(base24);
    return requiredKey(slot, scheme.format);
}

QStringList OptionalColors(SchemeFormat format)
{
    QStringList keys;
    for (const SlotSource& source : SlotSources) {
        if (format == SchemeFormat::Base24 && source.base24 && !keys.contains(QLatin1String(source.base24)))
            keys << QString::fromLatin1(source.base24);
    }
    keys.sort();
    return keys;
}

QStringList NeededColors(SchemeFormat format)
{
    QStringList keys;
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        const QString key = requiredKey(slot, format);
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
