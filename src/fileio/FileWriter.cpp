#include "fileio/FileWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

// OVEX_PORTABLE_SAVE builds the writer that Windows uses, QSaveFile behind
// QFileInfo's writability check, on any system, so that it is tested too.
#if defined(Q_OS_UNIX) && !defined(OVEX_PORTABLE_SAVE)
#define OVEX_UNIX_SAVE 1
#endif
#if defined(Q_OS_LINUX) && !defined(OVEX_PORTABLE_SAVE)
#define OVEX_UNNAMED_SAVE 1
#endif

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/ClosesOnExit.h"
#endif

namespace ovex {

namespace {

// Replacing a file needs only the folder's permission, so a theme its owner
// made read-only would be swapped out silently; the file's own permission
// decides instead. On Unix it is asked without opening the file.
std::optional<QString> refusedTarget(const QString& path)
{
    const QFileInfo target(path);  // a symbolic link stands for the file it points to
    if (!target.isFile())
        return std::nullopt;
#ifdef OVEX_UNIX_SAVE
    if (::faccessat(AT_FDCWD, QFile::encodeName(target.absoluteFilePath()).constData(), W_OK, AT_EACCESS) != 0
        && errno != ENOENT)
        return qt_error_string(errno);
#else
    QFile file(path);
    if (!target.isWritable() && !file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
#endif
    return std::nullopt;
}

// A writable file in a folder we cannot write to (a shared program folder)
// can only be rewritten in place; that is the one case for a direct write.
bool needsDirectWrite(const QString& path)
{
    const QFileInfo target(path);
    return target.isFile() && target.isWritable() && !QFileInfo(target.absolutePath()).isWritable();
}

// The file a save replaces. Like QSaveFile: a symbolic link stays, the file
// it points to is replaced.
QString replacedFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// One fixed hidden name beside each target for the new bytes to wait under,
// so that a killed save can leave only names the next save knows to clear.
QString tempNameFor(const QString& target)
{
    const QByteArray id = QCryptographicHash::hash(QFile::encodeName(target), QCryptographicHash::Sha1);
    return QStringLiteral(".ovex-save-%1.tmp").arg(QString::fromLatin1(id.left(8).toHex()));
}

#ifdef OVEX_UNNAMED_SAVE

mode_t modeOf(QFileDevice::Permissions permissions)
{
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR}, {QFileDevice::ExeOwner, S_IXUSR},
        {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH}, {QFileDevice::ExeOther, S_IXOTH}};
    mode_t mode = 0;
    for (const auto& [permission, bit] : bits)
        mode |= permissions.testFlag(permission) ? bit : 0;
    return mode;
}

// QSaveFile gives its unnamed temporary file a random name before renaming
// it over an existing target, so a save killed between the two leaves a new
// stray file each time. Here that name is the fixed one of tempNameFor,
// cleared by the next save, so at most one can ever be left, and none for a
// target that did not exist yet: linking the unnamed file in is one step.
enum class Outcome { Written, Failed, Unsupported };

Outcome writeUnnamedThenLink(const QString& path, const QByteArray& bytes, const WriteOptions& options,
                             QString* reason)
{
    const auto failed = [reason](int error) {
        *reason = qt_error_string(error);
        return Outcome::Failed;
    };
    const QString dir = QFileInfo(path).absolutePath();
    const QByteArray target = QFile::encodeName(path);

    const int fd = ::open(QFile::encodeName(dir).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return Outcome::Unsupported;
        return failed(errno);
    }
    const ClosesOnExit closer{fd};

    // An existing file keeps its permissions; a new one gets those asked for.
    struct stat old {};
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    } else if (options.newFilePermissions && ::fchmod(fd, modeOf(*options.newFilePermissions)) != 0) {
        return failed(errno);
    }

    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed(errno);
        done += n;
    }
    if (::fdatasync(fd) != 0)
        return failed(errno);

    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return Outcome::Written;
    const int linkError = errno;
    if (linkError == ENOENT && !QFileInfo::exists(QStringLiteral("/proc/self/fd")))
        return Outcome::Unsupported;
    if (linkError != EEXIST || options.existing == ExistingFile::Keep)
        return failed(linkError);

    const QByteArray temp = QFile::encodeName(QDir(dir).filePath(tempNameFor(path)));
    ::unlink(temp.constData());
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW) != 0)
        return failed(errno);
    if (::rename(temp.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return failed(error);
    }
    return Outcome::Written;
}

#endif

std::optional<QString> writeWithSaveFile(const QString& path, const QByteArray& bytes, bool directWrite)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(directWrite);
    // Unbuffered: QSaveFile (Qt 6.4) ignores a write error that shows only
    // when commit() flushes its buffer, and commits the short file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A short write carries no reason; writing on brings out the system's.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        done += n;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

// Without an unnamed file, QSaveFile writes a temporary file with a random
// name beside its target, which a killed save leaves behind, a new one each
// time. So QSaveFile writes the fixed name of tempNameFor instead, and that
// replaces the target: whatever a killed save leaves starts with that name,
// and the next save of the same target clears it first.
std::optional<QString> writeFixedThenRename(const QString& path, const QByteArray& bytes, const WriteOptions& options)
{
    const QFileInfo target(path);
    const QString tempName = tempNameFor(path);
    QDir dir = target.absoluteDir();
    const QStringList left = dir.entryList({tempName, tempName + QStringLiteral(".*")},
                                           QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : left)
        dir.remove(name);
    const QString temp = dir.filePath(tempName);

    if (auto failure = writeWithSaveFile(temp, bytes, false))
        return failure;
    const QFileInfo written(temp);
    // An existing file keeps its permissions; a new one gets those asked for.
    if (target.isFile())
        QFile::setPermissions(temp, target.permissions());
    else if (options.newFilePermissions && !QFile::setPermissions(temp, *options.newFilePermissions))
        return QStringLiteral("could not set the permissions of %1").arg(temp);
    // Keep: a rename that never replaces, which Qt makes in one step where
    // the system allows it.
    if (options.existing == ExistingFile::Keep) {
        QFile tempFile(temp);
        if (tempFile.rename(path))
            return std::nullopt;
        const QString reason = QFileInfo::exists(path) ? qt_error_string(EEXIST) : tempFile.errorString();
        QFile::remove(temp);
        return reason;
    }
    std::error_code error;
    std::filesystem::rename(written.filesystemAbsoluteFilePath(), target.filesystemAbsoluteFilePath(), error);
    if (!error)
        return std::nullopt;
    QFile::remove(temp);
    return QString::fromLocal8Bit(error.message());
}

// The folder of a file just linked in or renamed, synced.
std::optional<QString> syncedIn(const QString& path)
{
    return SyncFolder(QFileInfo(path).absolutePath());
}

} // namespace

std::optional<QString> SyncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    const ClosesOnExit closer{fd};
    // Some file systems cannot sync a folder, and need not.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        return qt_error_string(errno);
#else
    Q_UNUSED(folder);
#endif
    return std::nullopt;
}

std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes, const WriteOptions& options)
{
    if (options.existing == ExistingFile::Keep) {
        const QFileInfo target(path);
        if (target.exists() || target.isSymLink())
            return qt_error_string(EEXIST);
    }
    if (const auto refused = refusedTarget(path))
        return refused;
    if (needsDirectWrite(path))
        return writeWithSaveFile(path, bytes, true);
    const QString file = replacedFile(path);
#ifdef OVEX_UNNAMED_SAVE
    QString reason;
    switch (writeUnnamedThenLink(file, bytes, options, &reason)) {
    case Outcome::Written: return syncedIn(file);
    case Outcome::Failed: return reason;
    case Outcome::Unsupported: break;
    }
#endif
    if (auto failure = writeFixedThenRename(file, bytes, options))
        return failure;
    return syncedIn(file);
}

} // namespace ovex
