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
    NoSettings,     // read, but no line began with "name=" or a theme key (an
                    // icon theme's index.theme): Import leaves a new theme
};

struct ThemeFileReading
{
    ThemeFileStatus status = ThemeFileStatus::Missing;
    // What Import leaves in the controls: the file's theme when Read, a new
    // window's state otherwise.
    ThemeState state = NewThemeState();
    // The lines as Import leaves them (each cut past its last key), for
    // Read, NoSettings and PaletteWord.
    StringArray lines;
};

// Reads the theme file at path exactly as Import does, without a window:
// what Import shows for a file, and what lists of themes and the command
// line read.
ThemeFileReading ReadThemeFile(const FileSystemObject& fs, const QString& path);

// Why a reading holds no theme, in a few words for a script's log or a tool
// tip ("file not found", "no theme settings found", ...); empty when it
// holds one.
QString ThemeFileRefusal(const ThemeFileReading& reading);

// Why Import refuses a file it read with status, in a sentence for a tip;
// empty for Read.
QString RefusalReason(ThemeFileStatus status);

} // namespace ovex
