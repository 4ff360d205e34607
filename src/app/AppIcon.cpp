#include "app/AppIcon.h"

#include <QDir>

namespace ovex {

QIcon AppIcon()
{
    // The resource holds one "<size>.png" per rendered size. QIcon decodes
    // each file as it is added; the sizes above 64, for the launcher only,
    // took a third of the start-up time and 330 KiB for a window icon.
    QIcon icon;
    const QDir dir(QStringLiteral(":/appicon"));
    for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        const int size = name.chopped(4).toInt();
        if (size <= MaxWindowIconSize)
            icon.addFile(dir.filePath(name), QSize(size, size));
    }
    return icon;
}

} // namespace ovex
