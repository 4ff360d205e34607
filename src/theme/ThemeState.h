#pragma once

#include "platform/PackedColor.h"
#include "slots/SlotCount.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace ovex {

// One slot as its controls hold it.
struct SlotState
{
    bool ticked = false;
    ColorValue color = UnsetColor;
    // Always empty for a font-size slot: its value text is derived, since
    // Save copies the size box into it before every use. Save's copy thus
    // changes nothing that a later command compares.
    QString tag;
    friend bool operator==(const SlotState&, const SlotState&) = default;
};

// Everything that makes up the theme as the controls hold it: a past state
// for the history, a recovery copy or a file read, never a second live copy
// of the theme being edited. Widget-free, so that code without a window can
// hold one.
struct ThemeState
{
    std::array<SlotState, SlotCount> slots{};
    QString name;
    std::array<QString, SizeSlotCount> sizes{};
    friend bool operator==(const ThemeState&, const ThemeState&) = default;
};

// The fields of a theme: bit i for slot i, then the name, then the five size
// boxes.
using ThemeFields = std::uint64_t;
inline constexpr int NameField = SlotCount;
inline constexpr int FirstSizeField = SlotCount + 1;
inline constexpr int FieldCount = FirstSizeField + SizeSlotCount;
inline constexpr ThemeFields Field(int field) { return ThemeFields{1} << field; }

// Calls visit(field) for each field in fields, in order.
template <typename Visit>
void ForEachField(ThemeFields fields, Visit visit)
{
    for (int field = 0; field < FieldCount; ++field) {
        if (fields & Field(field))
            visit(field);
    }
}

// The text of the name or a size field in a state.
QString& TextOf(ThemeState& state, int field);
const QString& TextOf(const ThemeState& state, int field);

// The fields in which a and b differ.
ThemeFields ChangedFields(const ThemeState& a, const ThemeState& b);

// What a new window shows, and what New leaves in the controls.
ThemeState NewThemeState();

// The given fields of state in a compact form (UTF-8 texts), and back into
// state. A history of many steps holds these, so they are kept small.
QByteArray PackFields(const ThemeState& state, ThemeFields fields);
void UnpackFields(const QByteArray& packed, ThemeFields fields, ThemeState& state);

} // namespace ovex
