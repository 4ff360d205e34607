#pragma once

// What a folder holds, to show that a command wrote, created or removed
// nothing there. Follows no symbolic link and opens only regular files, so
// taking it never blocks on a FIFO or reads a device.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>

namespace ovex::test {

inline QStringList TreeSnapshot(const QString& root)
{
    QStringList entries;
    const QDir dir(root);
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                            QDir::Name);
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
            entries << name + QStringLiteral(" (gone)");
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            entries << name + QStringLiteral("/");
            for (const QString& inner : TreeSnapshot(path))
                entries << name + u'/' + inner;
        } else if (S_ISLNK(st.st_mode)) {
            entries << name + QStringLiteral(" -> ") + QFile::symLinkTarget(path);
        } else if (S_ISREG(st.st_mode)) {
            QFile file(path);
            QByteArray hash = "<unreadable>";
            if (st.st_mode & 0444 && file.open(QIODevice::ReadOnly))
                hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
            entries << QStringLiteral("%1 %2 bytes mode %3 %4")
                           .arg(name).arg(st.st_size).arg(st.st_mode & 07777, 0, 8)
                           .arg(QString::fromLatin1(hash));
        } else {
            entries << QStringLiteral("%1 type %2").arg(name).arg(st.st_mode & S_IFMT, 0, 8);
        }
    }
    return entries;
}

} // namespace ovex::test
