#pragma once

#include "schemes/Scheme.h"

#include <QByteArrayView>

namespace ovex {

// A scheme from a file's bytes, whatever its format: an INI file is read as
// a KDE colour scheme, anything else as a base16 or base24 YAML scheme.
// fallbackName names a scheme whose file gives it no name.
SchemeReading ReadScheme(QByteArrayView bytes, const QString& fallbackName);

// The file read as Import reads a theme (regular files only, never blocking,
// at most 16 MiB), then ReadScheme with the file's base name as fallback.
// Refusals name the reason: "file not found", "not a regular file", ...
SchemeReading ReadSchemeFile(const QString& path);

// "ashes" for ".../ashes.yml": the theme file a scheme converts to is named
// after it. Leading dots are dropped (".ashes.yml" gives "ashes"), so that
// the theme is never a hidden file.
QString SchemeBaseName(const QString& path);

} // namespace ovex
