#include "app/AppIcon.h"

#include <QDir>

namespace ovex {

QIcon AppIcon()
{
    // The resource holds one "<size>.png" per rendered size.
    QIcon icon;
    const QDir dir(QStringLiteral(":/appicon"));
    for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        const int size = name.chopped(4).toInt();
        icon.addFile(dir.filePath(name), QSize(size, size));
    }
    return icon;
}

} // namespace ovex
