#include "RecoveryChecks.h"

#include "recovery/KeptCopies.h"
#include "recovery/RecoveryFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace ovex::fuzz {

namespace {

struct Made
{
    QString name;
    std::optional<RecoveryCopy> copy;  // what it reads as, if it reads whole
};

// The file's name by the low two bits of kind: ended work named for the
// state it holds, an editor's live copy, ended work under a name of its
// bytes, or a name no copy has. Bit 2 makes it readable by others.
QString nameFor(quint8 kind, QByteArrayView bytes, const std::optional<RecoveryCopy>& copy, int index)
{
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(16).toHex());
    switch (kind & 3) {
    case 0: return copy ? KeptCopyName(copy->state) : hash + CopySuffix;
    case 1: return QStringLiteral("%1-live.recovery").arg(index);
    case 2: return hash + CopySuffix;
    default: return QStringLiteral("notes-%1.txt").arg(index);
    }
}

} // namespace

Failure CheckCopyFolder(QByteArrayView bytes)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return QStringLiteral("no temporary folder");
    QList<Made> made;
    for (qsizetype at = 0; at + 3 <= bytes.size() && made.size() < 16;) {
        const auto kind = quint8(bytes[at]);
        const qsizetype length = std::min<qsizetype>(qFromLittleEndian<quint16>(bytes.data() + at + 1), bytes.size() - at - 3);
        const QByteArrayView file = bytes.sliced(at + 3, length);
        at += 3 + length;
        auto decoded = DecodeRecoveryCopy(file);
        std::optional<RecoveryCopy> copy;
        if (RecoveryCopy* c = std::get_if<RecoveryCopy>(&decoded); c && !(kind & 4))
            copy = std::move(*c);
        const QString name = nameFor(kind, file, copy, int(made.size()));
        QFile out(dir.filePath(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.data(), file.size()) != file.size()
            || !out.setPermissions(kind & 4 ? QFile::Permissions(0x6644) : QFile::ReadOwner | QFile::WriteOwner))
            return QStringLiteral("cannot write %1").arg(name);
        made.removeIf([&name](const Made& m) { return m.name == name; });  // written over
        made.append({name, (kind & 3) == 3 ? std::nullopt : copy});
    }

    const QList<KeptCopy> listed = ListKeptCopies(dir.path());
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const KeptCopy& entry = listed[i];
        const QFileInfo file(entry.path);
        if (file.absolutePath() != QFileInfo(dir.path()).absoluteFilePath() || !IsKeptCopyName(file.fileName()))
            return QStringLiteral("listed %1, which is no ended work's name").arg(entry.path);
        const auto again = ReadRecoveryCopy(entry.path);
        if (!std::holds_alternative<RecoveryCopy>(again) || std::get<RecoveryCopy>(again) != entry.copy)
            return QStringLiteral("listed %1 as it does not read").arg(file.fileName());
        if (i > 0 && listed[i - 1].copy.changedAtMs < entry.copy.changedAtMs)
            return QStringLiteral("not newest first");
        for (qsizetype j = 0; j < i; ++j) {
            if (listed[j].copy.state == entry.copy.state)
                return QStringLiteral("one state listed twice");
        }
    }
    for (const Made& m : std::as_const(made)) {
        if (!m.copy)
            continue;
        const bool live = !IsKeptCopyName(m.name);
        for (const KeptCopy& entry : listed) {
            if (live && entry.copy.state == m.copy->state)
                return QStringLiteral("listed a state a live copy holds");
        }
        const auto held = [&](const Made& other) { return !IsKeptCopyName(other.name) && other.copy && other.copy->state == m.copy->state; };
        if (live || std::any_of(made.begin(), made.end(), held))
            continue;
        const auto shown = [&](const KeptCopy& e) { return e.copy.state == m.copy->state && e.copy.changedAtMs >= m.copy->changedAtMs; };
        if (std::none_of(listed.begin(), listed.end(), shown))
            return QStringLiteral("ended work in %1 is not listed").arg(m.name);
    }
    return {};
}

} // namespace ovex::fuzz
