#include "recovery/RecoveryStore.h"

#include "fileio/FileWriter.h"
#include "recovery/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace ovex {

namespace {

const QString LockSuffix = QStringLiteral(".lock");
// What a writer or a lock killed half-way may leave: WriteWholeFile's
// temporary name and QLockFile's lock for removing a stale lock.
const QString SaveTempPrefix = QStringLiteral(".ovex-save-");
const QString RemoveLockSuffix = QStringLiteral(".rmlock");
// Long past any write or lock removal still under way.
constexpr qint64 LeftoverAgeMs = 10 * 60 * 1000;
const QFileDevice::Permissions Private = QFile::ReadOwner | QFile::WriteOwner;

// A lock that is stale only when its process is gone: Qt would otherwise
// take any lock older than 30 s, so a long-running editor's copy would be
// taken in by the next one.
std::unique_ptr<QLockFile> lockFor(const QString& copyPath)
{
    auto lock = std::make_unique<QLockFile>(copyPath + LockSuffix);
    lock->setStaleLockTime(0);
    return lock;
}

// Qt makes the lock file as the umask says; it tells which program runs
// where, so it is made private as the copies are.
bool tryLock(QLockFile& lock)
{
    if (!lock.tryLock(0))
        return false;
    QFile::setPermissions(lock.fileName(), Private);
    return true;
}

// The lock of the copy at copyPath if no running editor holds it. Qt never
// judges an empty lock file stale; one is left only by a power cut in the
// instant after it was made, when there was no copy yet to protect.
std::unique_ptr<QLockFile> takeLock(const QString& copyPath, qint64 nowMs)
{
    auto lock = lockFor(copyPath);
    const QFileInfo file(lock->fileName());
    if (file.isFile() && file.size() == 0 && nowMs - file.lastModified().toMSecsSinceEpoch() > LeftoverAgeMs)
        QFile::remove(file.filePath());
    return tryLock(*lock) ? std::move(lock) : nullptr;
}

// Why a lock could not be made in folder, in the user's words: Qt keeps
// only its kind.
QString lockFailure(const QString& folder, QLockFile::LockError error)
{
#ifdef Q_OS_UNIX
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(folder).constData(), &fs) == 0) {
        if (fs.f_flag & ST_RDONLY)
            return QStringLiteral("the disk is read-only");
        if (fs.f_bavail == 0)
            return QStringLiteral("the disk is full");
    }
#endif
    if (error == QLockFile::PermissionError)
        return QStringLiteral("you are not allowed to write there");
    return QStringLiteral("its lock file cannot be made");
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
}

bool isOwnFile(const QFileInfo& info)
{
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::geteuid())
        return false;
#endif
    return !info.isSymLink() && info.isFile();
}

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

bool rename(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return !error;
}

} // namespace

RecoveryStore::RecoveryStore(const QString& folder) : m_folder(folder), m_problem(MakePrivateFolder(folder))
{
    if (m_problem)
        return;
    const QString id = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::system()->generate(), 8, 16, QChar(u'0'));
    m_livePath = QDir(folder).filePath(id + CopySuffix);
}

RecoveryStore::~RecoveryStore() = default;

std::optional<QString> RecoveryStore::lock() const
{
    if (m_lock)
        return std::nullopt;
    auto lock = lockFor(m_livePath);
    if (!tryLock(*lock))
        return lockFailure(m_folder, lock->error());
    m_lock = std::move(lock);
    return std::nullopt;
}

std::optional<QString> RecoveryStore::Keep(const RecoveryCopy& copy) const
{
    if (m_problem)
        return m_problem;
    std::optional<QString> failure;
    if (const std::optional<QByteArray> bytes = EncodeRecoveryCopy(copy); !bytes)
        failure = QStringLiteral("the theme is too large to keep (a copy holds at most 1 MiB)");
    else if (!(failure = lock()))
        failure = WriteWholeFile(m_livePath, *bytes, WriteOptions::NewFileMode(Private));
    if (!failure)
        return std::nullopt;
    RemoveLive();
    return PlainReason(*failure);
}

bool RecoveryStore::keptAlready(const ThemeState& state, qint64 changedAtMs) const
{
    const auto read = ReadRecoveryCopy(QDir(m_folder).filePath(KeptCopyName(state)));
    const RecoveryCopy* kept = std::get_if<RecoveryCopy>(&read);
    return kept && kept->state == state && kept->changedAtMs >= changedAtMs;
}

std::optional<QString> RecoveryStore::End(const RecoveryCopy& copy) const
{
    if (m_problem)
        return m_problem;
    if (keptAlready(copy.state, copy.changedAtMs)) {
        RemoveLive();
        return std::nullopt;
    }
    const QString kept = QDir(m_folder).filePath(KeptCopyName(copy.state));
    const std::optional<QByteArray> bytes = EncodeRecoveryCopy(copy);
    if (!bytes) {
        RemoveLive();
        return QStringLiteral("the theme is too large to keep (a copy holds at most 1 MiB)");
    }
    const auto failure = WriteWholeFile(kept, *bytes, WriteOptions::NewFileMode(Private));
    if (!failure) {
        RemoveLive();
        return std::nullopt;
    }
    // No room for the ended copy: the live one, if it holds this work, is
    // kept as it is, which needs none.
    const auto live = ReadRecoveryCopy(m_livePath);
    if (const RecoveryCopy* held = std::get_if<RecoveryCopy>(&live); held && held->state == copy.state)
        settle(m_livePath, *held);
    return PlainReason(*failure);
}

void RecoveryStore::RemoveLive() const
{
    if (!m_problem)
        QFile::remove(m_livePath);
}

void RecoveryStore::RemoveSaved(const ThemeState& state) const
{
    if (m_problem)
        return;
    const QString path = QDir(m_folder).filePath(KeptCopyName(state));
    const auto read = ReadRecoveryCopy(path);
    if (const RecoveryCopy* kept = std::get_if<RecoveryCopy>(&read); kept && kept->state == state)
        QFile::remove(path);
}

void RecoveryStore::Discard(const QString& path) const
{
    const QFileInfo info(path);
    if (!m_problem && info.absolutePath() == QFileInfo(m_folder).absoluteFilePath() && IsKeptCopyName(info.fileName()))
        QFile::remove(path);
}

void RecoveryStore::settle(const QString& path, const RecoveryCopy& copy) const
{
    const QString kept = QDir(m_folder).filePath(KeptCopyName(copy.state));
    if (keptAlready(copy.state, copy.changedAtMs))
        QFile::remove(path);
    else if (rename(path, kept))
        SyncFolder(m_folder);
}

int RecoveryStore::TakeInLeftCopies() const
{
    if (m_problem)
        return 0;
    int taken = 0;
    const QDir dir(m_folder);
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    for (const QString& name : entries(m_folder)) {
        const QString path = dir.filePath(name);
        if (!name.endsWith(CopySuffix) || IsKeptCopyName(name) || path == m_livePath || !isOwnFile(QFileInfo(path)))
            continue;
        // The lock is held while the copy moves, so that no other editor
        // moves it at once; a running editor's is never taken.
        const auto lock = takeLock(path, nowMs);
        if (!lock)
            continue;
        auto read = ReadRecoveryCopy(path);
        if (const RecoveryCopy* copy = std::get_if<RecoveryCopy>(&read)) {
            settle(path, *copy);
            ++taken;
        }
    }
    return taken;
}

int RecoveryStore::RemoveStale(qint64 nowMs) const
{
    if (m_problem)
        return 0;
    int removed = 0;
    const QDir dir(m_folder);
    const QString ownLock = m_livePath + LockSuffix;
    for (const QString& name : entries(m_folder)) {
        const QString path = dir.filePath(name);
        const QFileInfo info(path);
        if (path == m_livePath || path == ownLock || !isOwnFile(info))
            continue;
        const qint64 ageMs = nowMs - info.lastModified().toMSecsSinceEpoch();
        if (name.endsWith(CopySuffix)) {
            if (ageMs <= RecoveryKeepMs)
                continue;
            if (IsKeptCopyName(name)) {
                removed += QFile::remove(path);
                continue;
            }
            // Judged again under the lock, as its editor may have written it
            // meanwhile; the lock is held while the copy goes.
            const auto lock = takeLock(path, nowMs);
            if (lock && nowMs - QFileInfo(path).lastModified().toMSecsSinceEpoch() > RecoveryKeepMs)
                removed += QFile::remove(path);
        } else if (name.endsWith(CopySuffix + LockSuffix)) {
            // A lock without its copy; a running editor's is held.
            const QFileInfo copy(path.chopped(LockSuffix.size()));
            if (!copy.exists() && !copy.isSymLink() && QFile::exists(path) && takeLock(copy.filePath(), nowMs))
                ++removed;
        } else if ((name.startsWith(SaveTempPrefix) || name.endsWith(RemoveLockSuffix)) && ageMs > LeftoverAgeMs) {
            removed += QFile::remove(path);
        }
    }
    return removed;
}

} // namespace ovex
