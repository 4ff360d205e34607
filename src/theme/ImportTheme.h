#pragma once

#include "theme/Editor.h"

namespace ovex {

// File, Import: asks for a file in the open dialog, then imports it.
void ImportTheme(Editor& editor);

// Imports the file at path from the existence check on: refuses a missing,
// misnamed or unreadable file with a message and leaves the editor as it
// was; otherwise starts a new theme and applies every line it knows.
void ImportThemeFile(Editor& editor, const QString& path);

} // namespace ovex
