#include "theme/RecoveryStore.h"

#include "fileio/FileWriter.h"
#include "theme/RecoveryFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>

#include <algorithm>
#include <filesystem>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ovex {

namespace {

const QString CopySuffix = QStringLiteral(".recovery");
const QString LockSuffix = QStringLiteral(".lock");
// What a writer or a lock killed half-way may leave: WriteWholeFile's
// temporary name and QLockFile's lock for removing a stale lock.
const QString SaveTempPrefix = QStringLiteral(".ovex-save-");
const QString RemoveLockSuffix = QStringLiteral(".rmlock");
// Long past any write or lock removal still under way.
constexpr qint64 LeftoverAgeMs = 10 * 60 * 1000;

// A lock that is stale only when its process is gone: Qt would otherwise
// take any lock older than 30 s, so a long-running editor's copy would be
// offered by the next one.
std::unique_ptr<QLockFile> lockFor(const QString& copyPath)
{
    auto lock = std::make_unique<QLockFile>(copyPath + LockSuffix);
    lock->setStaleLockTime(0);
    return lock;
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
    return lock->tryLock(0) ? std::move(lock) : nullptr;
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

bool isClean(const std::variant<CopyDefect, RecoveryCopy>& read)
{
    const RecoveryCopy* copy = std::get_if<RecoveryCopy>(&read);
    return copy && copy->clean;
}

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

RecoveryOffer::RecoveryOffer(RecoveryCopy copy, QString path, std::unique_ptr<QLockFile> lock)
    : m_copy(std::move(copy)), m_path(std::move(path)), m_lock(std::move(lock))
{
}

RecoveryOffer::RecoveryOffer(RecoveryOffer&&) noexcept = default;
RecoveryOffer& RecoveryOffer::operator=(RecoveryOffer&&) noexcept = default;
RecoveryOffer::~RecoveryOffer() = default;

RecoveryStore::RecoveryStore(const QString& folder) : m_folder(folder), m_problem(MakePrivateFolder(folder))
{
    if (m_problem)
        return;
    const QString id = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::system()->generate(), 8, 16, QChar(u'0'));
    m_copyPath = QDir(folder).filePath(id + CopySuffix);
}

std::optional<QString> RecoveryStore::lock() const
{
    if (m_lock)
        return std::nullopt;
    auto lock = lockFor(m_copyPath);
    if (!lock->tryLock(0))
        return QStringLiteral("cannot lock %1").arg(lock->fileName());
    m_lock = std::move(lock);
    return std::nullopt;
}

RecoveryStore::~RecoveryStore() = default;

std::optional<QString> RecoveryStore::Write(const RecoveryCopy& copy) const
{
    if (m_problem)
        return m_problem;
    const std::optional<QByteArray> bytes = EncodeRecoveryCopy(copy);
    if (!bytes)
        return QStringLiteral("the theme is too large for a recovery copy");
    if (auto failure = lock())
        return failure;
    return WriteWholeFile(m_copyPath, *bytes, WriteOptions::NewFileMode(QFile::ReadOwner | QFile::WriteOwner));
}

void RecoveryStore::Remove() const
{
    if (!m_problem)
        QFile::remove(m_copyPath);
}

std::optional<RecoveryOffer> RecoveryStore::FindOffer() const
{
    if (m_problem)
        return std::nullopt;
    // The headers alone sort the copies and pass over the clean ones; only
    // the copy to offer is read whole.
    struct Candidate
    {
        QString path;
        qint64 changedAtMs;
    };
    std::vector<Candidate> candidates;
    const QDir dir(m_folder);
    for (const QString& name : entries(m_folder)) {
        const QString path = dir.filePath(name);
        if (!name.endsWith(CopySuffix) || path == m_copyPath)
            continue;
        const auto file = ReadPrivateFile(path, RecoveryHeaderBytes);
        const PrivateFile* head = std::get_if<PrivateFile>(&file);
        const auto header = head ? PeekRecoveryHeader(head->bytes, head->size)
                                 : std::variant<CopyDefect, CopyHeader>(CopyDefect::Unreadable);
        if (const CopyHeader* h = std::get_if<CopyHeader>(&header); h && !h->clean)
            candidates.push_back({path, h->changedAtMs});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.changedAtMs != b.changedAtMs ? a.changedAtMs > b.changedAtMs : a.path > b.path;
    });
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    for (const Candidate& candidate : candidates) {
        auto lock = takeLock(candidate.path, nowMs);
        if (!lock)
            continue;  // its editor runs, or another editor offers it
        auto read = ReadRecoveryCopy(candidate.path);
        if (RecoveryCopy* copy = std::get_if<RecoveryCopy>(&read); copy && !copy->clean)
            return RecoveryOffer(std::move(*copy), candidate.path, std::move(lock));
    }
    return std::nullopt;
}

std::optional<QString> RecoveryStore::Adopt(RecoveryOffer offer) const
{
    if (m_problem)
        return m_problem;
    if (auto failure = lock())
        return failure;
    // One rename: a kill leaves the copy under one name or the other, never
    // both, so it cannot be offered twice.
    std::error_code error;
    std::filesystem::rename(nativePath(offer.m_path), nativePath(m_copyPath), error);
    if (error)
        return QString::fromStdString(error.message());
    return std::nullopt;  // the offer's lock goes with it
}

int RecoveryStore::RemoveStale(qint64 nowMs) const
{
    if (m_problem)
        return 0;
    int removed = 0;
    const QDir dir(m_folder);
    const QString ownLock = m_copyPath + LockSuffix;
    for (const QString& name : entries(m_folder)) {
        const QString path = dir.filePath(name);
        const QFileInfo info(path);
        if (path == m_copyPath || path == ownLock || !isOwnFile(info))
            continue;
        const qint64 ageMs = nowMs - info.lastModified().toMSecsSinceEpoch();
        if (name.endsWith(CopySuffix)) {
            const auto stale = [&] {
                return nowMs - QFileInfo(path).lastModified().toMSecsSinceEpoch() > RecoveryKeepMs
                       || isClean(ReadRecoveryCopy(path));
            };
            // Judged before taking the lock, so that only a copy to remove
            // costs one, and again after it, as its editor may have written
            // it meanwhile. The lock is held while the copy goes.
            if (!stale())
                continue;
            const auto lock = takeLock(path, nowMs);
            if (lock && stale())
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
