#pragma once

#include "theme/Editor.h"
#include "theme/ThemeState.h"

namespace ovex {

// The text box of the name or a size field.
QLineEdit* TextBox(const Editor& editor, int field);

ThemeState CaptureTheme(const Editor& editor);

// Writes the given fields of state back into the controls exactly: tick state,
// value text (but a font-size slot's) and colour of each slot, the text of
// each box. The caller keeps the check-box handling from running meanwhile.
void RestoreTheme(const Editor& editor, const ThemeState& state, ThemeFields fields);

} // namespace ovex
