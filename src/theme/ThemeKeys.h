#pragma once

#include "fileio/MRW_Memory.h"
#include "slots/SlotCount.h"

#include <array>

namespace ovex {

struct SlotDefinition
{
    const char* key;      // the key prefix, "=" included
    const char* caption;  // the description on the main window
};

// Index = slot. The misspelt "seperator" keys are what the chat program reads.
extern const std::array<SlotDefinition, SlotCount> SlotTable;

inline constexpr const char* NameKey = "name=";

// What a new window and New show in the name box, which Save refuses as a
// name, and in each size box.
inline constexpr const char* PlaceholderName = "Theme Name";
inline constexpr const char* DefaultSize = "12";

// The slot's description as the main window shows it, without the colon that
// ends a font size's caption ("System Text").
QString SlotCaption(int slot);

// 32 entries, index = slot.
void FillSaveKeys(StringArray& SaveKeys);
// The same 32 and "name=" at index 32.
void FillImportKeys(StringArray& ImportKeys);

} // namespace ovex
