#include "schemes/SchemeFile.h"

#include "fileio/MRW_File_IO.h"
#include "schemes/KdeScheme.h"
#include "schemes/YamlScheme.h"

#include <QFileInfo>

namespace ovex {

SchemeReading ReadScheme(QByteArrayView bytes, const QString& fallbackName)
{
    return LooksLikeIni(bytes) ? ReadKdeScheme(bytes, fallbackName) : ReadYamlScheme(bytes, fallbackName);
}

SchemeReading ReadSchemeFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return SchemeRefused(QStringLiteral("file not found"));
    // A FIFO or a device is refused before it is opened.
    if (!info.isFile())
        return SchemeRefused(QStringLiteral("not a regular file"));
    if (info.size() > MaxReadBytes)
        return SchemeRefused(QStringLiteral("larger than %1 MiB").arg(MaxReadBytes / (1024 * 1024)));
    const std::optional<QByteArray> bytes = FileSystemObject().ReadAllBytes(path);
    if (!bytes)
        return SchemeRefused(QStringLiteral("could not be read"));
    return ReadScheme(*bytes, SchemeBaseName(path));
}

QString SchemeBaseName(const QString& path)
{
    // Never a hidden file: ".night.yaml" gives "night".
    const auto visible = [](QString name) {
        while (name.startsWith(u'.'))
            name.remove(0, 1);
        return name;
    };
    const QFileInfo info(path);
    QString base = visible(info.completeBaseName());
    if (base.isEmpty())
        base = visible(info.fileName());
    return base.isEmpty() ? QStringLiteral("Untitled") : base;
}

} // namespace ovex
