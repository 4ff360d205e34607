#include "colour/ThemeCompare.h"

#include "colour/PreviewTheme.h"
#include "theme/ThemeKeys.h"

namespace ovex {

std::optional<QString> WrittenValue(const ThemeState& state, int setting)
{
    if (setting == NameField)
        return state.name;
    const SlotState& slot = state.slots[setting];
    // Save copies a size box into its slot's value text before it writes.
    const QString& value = IsSizeSlot(setting) ? state.sizes[setting - FirstSizeSlot] : slot.tag;
    if (!slot.ticked || value.isEmpty())
        return std::nullopt;
    return value;
}

QList<SettingDifference> CompareThemes(const ThemeState& a, const ThemeState& b)
{
    const PreviewTheme drawnA = PreviewThemeOf(a);
    const PreviewTheme drawnB = PreviewThemeOf(b);
    QList<SettingDifference> differences;
    const auto compare = [&](int setting) {
        SettingDifference d{setting, WrittenValue(a, setting), WrittenValue(b, setting), std::nullopt};
        if (d.left == d.right)
            return;
        if (setting != NameField && !IsSizeSlot(setting))
            d.distance = OkLabDistance(drawnA.Color(setting), drawnB.Color(setting));
        differences.append(d);
    };
    compare(NameField);
    for (int slot = 0; slot < SlotCount; ++slot)
        compare(slot);
    return differences;
}

QString SettingName(int setting)
{
    return setting == NameField ? QStringLiteral("Name") : QString::fromLatin1(SlotTable[setting].key).chopped(1);
}

} // namespace ovex
