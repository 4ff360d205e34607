#include "theme/ThemeFolder.h"

#include "fileio/MRW_File_IO.h"
#include "theme/DefaultFolder.h"

#include <QDir>
#include <QDirIterator>

#include <algorithm>

namespace ovex {

QList<ThemeFolderFile> ListThemeFolder(const QString& folder)
{
    QList<ThemeFolderFile> files;
    // System: FIFOs, devices and broken links, which reading refuses without
    // opening them.
    QDirIterator it(folder, {QLatin1Char('*') + ThemeExtension}, QDir::Files | QDir::System | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        // A folder named like a theme, or a link to one.
        if (info.isDir())
            continue;
        files.append({info.filePath(), info.fileName(),
                      info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0, info.exists() ? info.size() : 0});
    }
    std::sort(files.begin(), files.end(), [](const ThemeFolderFile& a, const ThemeFolderFile& b) {
        return a.fileName < b.fileName;
    });
    return files;
}

QString RefusalReason(ThemeFileStatus status)
{
    switch (status) {
    case ThemeFileStatus::Read:
        return {};
    case ThemeFileStatus::Missing:
        return QStringLiteral("Not a regular file, or no longer there.");
    case ThemeFileStatus::NotTheme:
        return QStringLiteral("Import takes only names ending in \".theme\", in small letters.");
    case ThemeFileStatus::Unreadable:
        return QStringLiteral("Cannot be read, or larger than %1 MiB.").arg(MaxReadBytes / (1024 * 1024));
    case ThemeFileStatus::NoLines:
        return QStringLiteral("Holds no setting: it is empty, starts with an empty line, or has more than 10000 lines.");
    case ThemeFileStatus::NoSettings:
        return QStringLiteral("Holds no theme setting: no line starts with a theme key or \"name=\".");
    case ThemeFileStatus::PaletteWord:
        return QStringLiteral("Uses the Primary/Secondary syntax, which the editor does not support.");
    }
    Q_UNREACHABLE();
}

} // namespace ovex
