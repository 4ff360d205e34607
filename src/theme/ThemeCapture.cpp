#include "theme/ThemeCapture.h"

namespace ovex {

QLineEdit* TextBox(const Editor& editor, int field)
{
    return field == NameField ? editor.txtThemeName : editor.slots.sizeBox[field - FirstSizeField];
}

ThemeState CaptureTheme(const Editor& editor)
{
    ThemeState state;
    const SettingSlots& slots = editor.slots;
    for (int i = 0; i < SlotCount; ++i)
        state.slots[i] = {slots.Value(i) == 1, slots.s[i]->BackColor(), IsSizeSlot(i) ? QString() : slots.s[i]->Tag()};
    for (int field = NameField; field < FieldCount; ++field)
        TextOf(state, field) = TextBox(editor, field)->text();
    return state;
}

void RestoreTheme(const Editor& editor, const ThemeState& state, ThemeFields fields)
{
    ForEachField(fields, [&](int field) {
        if (field >= SlotCount) {
            TextBox(editor, field)->setText(TextOf(state, field));
            return;
        }
        const SlotState& slot = state.slots[field];
        editor.slots.SetValue(field, slot.ticked ? 1 : 0);
        if (!IsSizeSlot(field))
            editor.slots.s[field]->SetTag(slot.tag);
        editor.slots.s[field]->SetBackColor(slot.color);
    });
}

} // namespace ovex
