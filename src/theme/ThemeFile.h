#pragma once

#include "fileio/MRW_File_IO.h"
#include "fileio/MRW_Memory.h"
#include "theme/ThemeState.h"

namespace ovex {

// How reading a theme file ended, in the order Import checks.
enum class ThemeFileStatus {
    Read,           // every line applied
    Missing,        // not a regular file
    NotTheme,       // the name does not end in ".theme"
    Unreadable,     // cannot be read, or too large
    NoLines,        // no line before the first empty one, or too many
    PaletteWord,    // a value names the unsupported Primary/Secondary palette
};

struct ThemeFileReading
{
    ThemeFileStatus status = ThemeFileStatus::Missing;
    // What Import leaves in the controls: the file's theme when Read, a new
    // window's state otherwise.
    ThemeState state = NewThemeState();
    // The lines as Import leaves them (each cut past its last key), for
    // Read and PaletteWord.
    StringArray lines;
    // Whether a line began with "name=" or a theme key: a file Import reads
    // without finding any (an icon theme's index.theme) holds no theme.
    bool settingsFound = false;
};

// Applies lines to state as Import applies them to the controls, line by
// line; false at a palette word, with state as far as it got. found tells
// whether a line began with a key.
bool ApplyImportLines(StringArray& lines, ThemeState& state, bool& found);

// Reads the theme file at path exactly as Import does, without a window:
// what Import shows for a file, and what lists of themes and the command
// line read.
ThemeFileReading ReadThemeFile(const FileSystemObject& fs, const QString& path);

// Why a reading holds no theme, in a few words for a script's log or a tool
// tip ("file not found", "no theme settings found", ...); empty when it
// holds one.
QString ThemeFileRefusal(const ThemeFileReading& reading);

} // namespace ovex
