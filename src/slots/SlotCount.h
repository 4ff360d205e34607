#pragma once

namespace ovex {

// The 32 setting slots: 27 colours, then five font sizes. Apart from the
// slots' controls, so that widget-free code can count them too.
inline constexpr int SlotCount = 32;
inline constexpr int ColorSlotCount = 27;   // slots 0..26
inline constexpr int FirstSizeSlot = 27;    // 27..31: system, user, menu, window title, subtext
inline constexpr int SizeSlotCount = SlotCount - FirstSizeSlot;

inline constexpr bool IsSizeSlot(int slot) { return slot >= FirstSizeSlot && slot < SlotCount; }

} // namespace ovex
