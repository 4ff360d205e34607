#include "app/AppIcon.h"

#include "app/DeferredIcon.h"

#include <QDirIterator>
#include <QImageReader>
#include <QMap>

namespace ovex {

namespace {

QIcon readIcon(const QMap<int, QString>& files)
{
    QIcon icon;
    for (const QString& file : files) {
        // Read as PNG outright: left to find the format itself, the reader
        // loads every image-format plug-in to ask each whether it knows it.
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace

QIcon AppIcon()
{
    // The resource holds one "<size>.png" per rendered size. The sizes above
    // 64 are for the launcher only and cost 330 KiB as a window icon.
    QMap<int, QString> files;
    // Listed without a name filter, which would build a regular expression.
    QDirIterator it(QStringLiteral(":/appicon"), QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        const int size = it.fileName().endsWith(u".png") ? it.fileName().chopped(4).toInt() : 0;
        if (size > 0 && size <= MaxWindowIconSize)
            files.insert(size, path);
    }
    QList<QSize> sizes;
    for (const int size : files.keys())
        sizes << QSize(size, size);
    // X11 asks for every size when the window is created; Wayland and
    // offscreen never ask, and start up sooner.
    return DeferredIcon([files] { return readIcon(files); }, sizes);
}

} // namespace ovex
