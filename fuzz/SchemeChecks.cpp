#include "SchemeChecks.h"

#include "app/SchemeConvert.h"
#include "colour/ContrastFix.h"
#include "schemes/SchemeFile.h"
#include "schemes/SchemeSources.h"
#include "theme/SaveTheme.h"

#include <algorithm>

namespace ovex::fuzz {

namespace {

// Slots that pairs are drawn on and that are never drawn themselves: the
// scheme's own surfaces, kept, except a further surface (the unselected
// tab), which moves where its text cannot read on both of its surfaces.
bool isFixedSurface(int slot)
{
    const auto drawnOn = [&](const CheckedPair& p) { return p.back == slot; };
    const auto drawn = [&](const CheckedPair& p) { return p.front == slot; };
    bool movable = false;
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k)
        movable = movable || (CheckedPairs[k].back == slot && IsFurtherSurface(k));
    return std::any_of(CheckedPairs.begin(), CheckedPairs.end(), drawnOn)
           && std::none_of(CheckedPairs.begin(), CheckedPairs.end(), drawn) && !movable;
}

} // namespace

Failure CheckSchemeReading(QByteArrayView bytes)
{
    const SchemeReading reading = ReadScheme(bytes, QStringLiteral("fallback"));
    if (!reading.scheme)
        return reading.error.isEmpty() ? Failure(QStringLiteral("a refusal without a reason")) : std::nullopt;
    const Scheme& scheme = *reading.scheme;
    if (!reading.error.isEmpty())
        return QStringLiteral("a scheme with a refusal: %1").arg(reading.error);
    if (scheme.name.isEmpty() || std::any_of(scheme.name.begin(), scheme.name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("a name that is not one line of text: %1").arg(scheme.name.left(80));
    for (const QString& key : NeededColors(scheme.format)) {
        const QColor c = scheme.colors.value(key);
        if (!c.isValid() || c.alpha() != 255)
            return QStringLiteral("%1 was not read").arg(key);
    }
    const SchemeReading again = ReadScheme(bytes, QStringLiteral("fallback"));
    if (!again.scheme || again.scheme->colors != scheme.colors || again.scheme->name != scheme.name)
        return QStringLiteral("read differently the second time");

    const SchemeTheme theme = MapScheme(scheme);
    if (!AllPairsPass(theme.colors))
        return QStringLiteral("a pair reads badly");
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        const QColor source = scheme.colors.value(SourceKey(slot, scheme));
        const bool listed = std::any_of(theme.adjusted.begin(), theme.adjusted.end(), [&](const SlotAdjustment& a) { return a.slot == slot; });
        if ((theme.colors[slot] != source) != listed)
            return QStringLiteral("slot %1 changed without being listed, or listed unchanged").arg(slot);
        if (listed && isFixedSurface(slot))
            return QStringLiteral("surface %1 was moved").arg(slot);
    }
    const std::optional<QByteArray> encoded = ThemeFileBytes(SchemeThemeLines(theme));
    if (!encoded)
        return QStringLiteral("the theme holds a character a theme file cannot");
    const QByteArray& file = *encoded;
    if (file.count('\n') != 1 + ColorSlotCount || file.count('\r') != 1 + ColorSlotCount || !file.endsWith("\r\n"))
        return QStringLiteral("the theme file is not 28 lines");
    return std::nullopt;
}

} // namespace ovex::fuzz
