#pragma once
// Files a test writes and reads back whole.
#include <QFile>

namespace ovex::test {

inline bool WriteTestFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The bytes, or "(missing)" when the file cannot be read.
inline QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace ovex::test
