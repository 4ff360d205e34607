#pragma once

#include "theme/Editor.h"

#include <optional>

namespace ovex {

// File, Save: asks for a file in the save dialog, then writes it with
// IO_CreateFile2. A cancel ends it silently. True when the file was written.
bool SaveTheme(Editor& editor);

// Refuses the placeholder name, copies the five size boxes into the
// font-size slots, and writes the name line and one line for each ticked
// slot with a value text, in slot order, as Windows-1252 with CR LF.
// Shows its own messages; true when the file was written.
bool IO_CreateFile2(Editor& editor, const QString& strFileLocationAndName, const StringArray& strArray);

// The bytes of a theme file holding these lines, or nothing when they hold a
// character Windows-1252 cannot.
std::optional<QByteArray> ThemeFileBytes(const QStringList& lines);

} // namespace ovex
