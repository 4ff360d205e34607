#pragma once

#include "slots/SlotCount.h"
#include "slots/Swatch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace ovex {

// The controls that hold the 32 setting slots. The theme being edited lives
// here and nowhere else: the tick state in chk, the value text in s[i]->Tag,
// the shown colour in s[i]->BackColor, the font sizes in the size boxes.
struct SettingSlots
{
    std::array<QCheckBox*, SlotCount> chk{};
    std::array<Swatch*, SlotCount> s{};
    std::array<QPushButton*, ColorSlotCount> cmd{};
    // txtSystem, txtUser, txtMenu, txtWindowTitle, txtSubtext
    std::array<QLineEdit*, SizeSlotCount> sizeBox{};

    QLineEdit* SizeBox(int slot) const { return sizeBox[slot - FirstSizeSlot]; }

    // The check box Value: 0 unticked, 1 ticked.
    int Value(int slot) const { return chk[slot]->isChecked() ? 1 : 0; }
    // Raises the box's Click handling only when the state changes.
    void SetValue(int slot, int value) const { chk[slot]->setChecked(value == 1); }

    // Save writes a slot that is ticked and has a value text.
    bool IsSaved(int slot) const { return Value(slot) == 1 && !s[slot]->Tag().isEmpty(); }
};

} // namespace ovex
