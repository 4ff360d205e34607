#include "fileio/FileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ovex {

namespace {

// A writable file in a folder we cannot write to (a shared program folder)
// can only be rewritten in place; that is the one case for a direct write.
bool needsDirectWrite(const QString& path)
{
    const QFileInfo target(path);
    return target.isFile() && target.isWritable() && !QFileInfo(target.absolutePath()).isWritable();
}

} // namespace

std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(needsDirectWrite(path));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace ovex
