#pragma once
// What a folder holds, to show that nothing was written, created or removed
// there. Follows no link and opens only regular files.
#include <QCryptographicHash>
#include <QDirIterator>

inline QStringList TreeSnapshot(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        const QFileInfo info = it.fileInfo();
        const bool regular = info.isFile() && !info.isSymLink() && file.open(QIODevice::ReadOnly);
        const QByteArray sha1 = regular ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1) : "";
        entries << QStringLiteral("%1 %2 %3 %4 %5").arg(file.fileName(), info.symLinkTarget()).arg(info.size())
                       .arg(int(info.permissions())).arg(QString::fromLatin1(sha1.toHex()));
    }
    return entries.sort(), entries;
}
