#include "slots/SlotEditing.h"

#include "slots/MRW_Color.h"

namespace ovex {

void chk_Click(const SettingSlots& slots, int index)
{
    Swatch* s = slots.s[index];
    if (slots.Value(index) == 0) {
        s->SetBackColor(UnsetColor);
        s->SetTag(QString());
    }
    if (IsSizeSlot(index) && slots.Value(index) == 1)
        s->SetTag(slots.SizeBox(index)->text());
}

void cmd_Click(const SettingSlots& slots, CommonDialog& cd, int index)
{
    if (cd.ShowColor() == DialogResult::Cancelled)
        return;
    SetPickedColor(slots, index, cd.Color);
}

void SetPickedColor(const SettingSlots& slots, int index, ColorValue color)
{
    slots.s[index]->SetBackColor(color);
    slots.s[index]->SetTag(Color_ToText(color));
}

} // namespace ovex
