#include "theme/ThemeFolder.h"

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

} // namespace ovex
