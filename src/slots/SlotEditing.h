#pragma once

#include "platform/CommonDialog.h"
#include "slots/SettingSlots.h"

namespace ovex {

// After a slot's check box changed state, by the user or by a command.
// Unticking clears the slot; ticking a font-size slot takes its size box's
// text; ticking a colour slot changes nothing else.
void chk_Click(const SettingSlots& slots, int index);

// The ">" button of a colour slot: pick a colour and show it in the swatch,
// with its colour text as the value text. A cancel changes nothing. The
// dialog starts with whatever colour cd holds, the last one picked.
void cmd_Click(const SettingSlots& slots, CommonDialog& cd, int index);

// Sets a colour slot as a pick in the colour dialog does: the swatch shows
// color and the value text is its colour text.
void SetPickedColor(const SettingSlots& slots, int index, ColorValue color);

} // namespace ovex
