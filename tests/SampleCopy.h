#pragma once
// Recovery copies of a full theme, a different one for each n, holding what
// a theme file cannot: unticked slots with colours and texts, lone
// surrogates, NUL and characters beyond the BMP. And copies made as a
// closed editor, a killed one or a newer one leaves them.
#include "recovery/RecoveryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtEndian>

namespace ovex::test {

inline RecoveryCopy SampleCopy(qint64 n, CopyEnding ending = CopyEnding::Closed)
{
    RecoveryCopy copy;
    copy.changedAtMs = n;
    copy.ending = ending;
    for (int i = 0; i < SlotCount; ++i) {
        SlotState& slot = copy.state.slots[i];
        slot.ticked = (i + n) % 3 != 0;
        const auto color = ColorValue((i * 0x030507 + n * 0x010101) & 0xFFFFFF);
        slot.color = i < ColorSlotCount ? color : UnsetColor;
        slot.tag = i < ColorSlotCount ? QStringLiteral("%1,%2,%3").arg(color & 0xFF).arg((color >> 8) & 0xFF).arg(color >> 16)
                                      : QString::number(8 + (i + n) % 9);
    }
    copy.state.name = QStringLiteral("Night %1 ").arg(n) + QChar(0xD800) + QChar(0) + QStringLiteral("é€\U0001F600");
    for (int k = 0; k < SizeSlotCount; ++k)
        copy.state.sizes[k] = QString::number(10 + k) + (k == 2 ? QString(QChar(0xDC00)) : QString());
    return copy;
}

inline QByteArray Encoded(const RecoveryCopy& copy) { return EncodeRecoveryCopy(copy).value(); }

// The bytes with another format version, checksum and all.
inline QByteArray WithVersion(QByteArray bytes, quint16 version)
{
    qToLittleEndian(version, bytes.data() + 8);
    SealRecoveryCopy(bytes);
    return bytes;
}

// The path of a copy as an editor whose work ended (copy.ending) leaves it.
inline QString EndedCopy(const QString& folder, const RecoveryCopy& copy)
{
    const RecoveryStore store(folder);
    return store.End(copy) ? QString() : QDir(folder).filePath(KeptCopyName(copy.state));
}

// The path of the live copy of an editor killed while it worked on copy.
inline QString KilledEditorCopy(const QString& folder, const RecoveryCopy& copy)
{
    const RecoveryStore store(folder);
    return store.Keep(copy) ? QString() : store.LivePath();
}

// The bytes with another ending field, checksum and all.
inline QByteArray WithEnding(QByteArray bytes, quint16 ending)
{
    qToLittleEndian(ending, bytes.data() + 10);
    SealRecoveryCopy(bytes);
    return bytes;
}

// Makes the file look last written ms ago.
inline bool Age(const QString& path, qint64 ms)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite)
           && file.setFileTime(QDateTime::currentDateTimeUtc().addMSecs(-ms), QFileDevice::FileModificationTime);
}

} // namespace ovex::test
