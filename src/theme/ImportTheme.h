#pragma once

#include "theme/Editor.h"

namespace ovex {

// File, Import: asks for a file in the open dialog, then imports it.
// True when a file was applied, as ImportThemeFile says.
bool ImportTheme(Editor& editor);

// Imports the file at path from the existence check on: refuses a missing,
// misnamed or unreadable file with a message and leaves the editor as it
// was; otherwise starts a new theme and applies every line it knows. True
// when the file was applied whole: the editor then holds what the file says.
bool ImportThemeFile(Editor& editor, const QString& path);

} // namespace ovex
