#pragma once

#include "theme/ThemeFile.h"

#include <QList>
#include <QString>

namespace ovex {

// A file of a folder that may hold a theme: its name ends in ".theme" in any
// case, so that a name Import refuses (".THEME") is shown with its reason.
// Found by its directory entry alone: nothing is opened.
struct ThemeFolderFile
{
    QString path;
    QString fileName;
    // With size, what tells a changed file from the one read before.
    qint64 modified = 0;   // ms since the epoch
    qint64 size = 0;
    friend bool operator==(const ThemeFolderFile&, const ThemeFolderFile&) = default;
};

// The candidate files directly in folder (no sub-folders, no folders named
// like themes), ordered by file name. FIFOs, devices and broken links are
// listed too, for reading to refuse. Empty for a missing folder.
QList<ThemeFolderFile> ListThemeFolder(const QString& folder);

} // namespace ovex
