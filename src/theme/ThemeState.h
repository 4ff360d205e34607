#pragma once

#include "theme/Editor.h"

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

// Everything that makes up the theme, read from the controls: a past state
// for the history, never a second live copy.
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

// The text box of the name or a size field, and that field's text in a state.
QLineEdit* TextBox(const Editor& editor, int field);
QString& TextOf(ThemeState& state, int field);
const QString& TextOf(const ThemeState& state, int field);

ThemeState CaptureTheme(const Editor& editor);

// The fields in which a and b differ.
ThemeFields ChangedFields(const ThemeState& a, const ThemeState& b);

// Writes the given fields of state back into the controls exactly: tick state,
// value text (but a font-size slot's) and colour of each slot, the text of
// each box. The caller keeps the check-box handling from running meanwhile.
void RestoreTheme(const Editor& editor, const ThemeState& state, ThemeFields fields);

// The given fields of state in a compact form (UTF-8 texts), and back into
// state. A history of many steps holds these, so they are kept small.
QByteArray PackFields(const ThemeState& state, ThemeFields fields);
void UnpackFields(const QByteArray& packed, ThemeFields fields, ThemeState& state);

} // namespace ovex
