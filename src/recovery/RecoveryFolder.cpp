#include "recovery/RecoveryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/ClosesOnExit.h"
#endif

namespace ovex {

QString RecoveryFolder()
{
#ifdef Q_OS_LINUX
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/ovex-theme-editor"));
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#endif
}

namespace {

#ifdef Q_OS_UNIX
QString plainReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("the disk is full");
    case EACCES:
    case EPERM: return QStringLiteral("you are not allowed to write there");
    case EROFS: return QStringLiteral("the disk is read-only");
    case ENOTDIR: return QStringLiteral("part of its path is a file, not a folder");
    case ENAMETOOLONG: return QStringLiteral("its path is too long");
    default: return qt_error_string(error);
    }
}
#endif

} // namespace

QString PlainReason(const QString& systemReason)
{
#ifdef Q_OS_UNIX
    for (const int error : {ENOSPC, EDQUOT, EACCES, EPERM, EROFS, ENOTDIR, ENAMETOOLONG}) {
        if (systemReason == qt_error_string(error))
            return plainReason(error);
    }
#endif
    return systemReason;
}

#ifdef Q_OS_UNIX

std::optional<QString> MakePrivateFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    // Each missing folder on the way is made private too, as the base
    // directory rules ask of $XDG_STATE_HOME.
    for (qsizetype slash = path.indexOf(u'/', 1);; slash = path.indexOf(u'/', slash + 1)) {
        const QByteArray part = QFile::encodeName(slash < 0 ? path : path.left(slash));
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return QStringLiteral("the folder cannot be made: %1").arg(plainReason(errno));
        if (slash < 0)
            break;
    }
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return plainReason(errno);
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("it is a file, not a folder");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("it belongs to another user");
    if ((st.st_mode & 07777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return QStringLiteral("it cannot be made private: %1").arg(plainReason(errno));
    return std::nullopt;
}

std::variant<CopyDefect, PrivateFile> ReadPrivateFile(const QString& path, qsizetype limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ELOOP ? CopyDefect::NotOurs : CopyDefect::Unreadable;
    const ClosesOnExit closer{fd};

    // The opened file itself is judged, so a file swapped meanwhile is too.
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return CopyDefect::Unreadable;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
        return CopyDefect::NotOurs;
    if (st.st_size > MaxRecoveryCopyBytes)
        return CopyDefect::Oversized;

    PrivateFile file{QByteArray(qsizetype(std::min<qint64>(st.st_size, limit)), Qt::Uninitialized), st.st_size};
    qsizetype done = 0;
    while (done < file.bytes.size()) {
        const ssize_t n = ::read(fd, file.bytes.data() + done, size_t(file.bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return CopyDefect::Unreadable;
        if (n == 0)
            break;  // cut short meanwhile: the decoding finds it truncated
        done += n;
    }
    file.bytes.truncate(done);
    return file;
}

#else

std::optional<QString> MakePrivateFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder cannot be made");
    return std::nullopt;
}

std::variant<CopyDefect, PrivateFile> ReadPrivateFile(const QString& path, qsizetype limit)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return info.exists() ? CopyDefect::NotOurs : CopyDefect::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CopyDefect::Unreadable;
    if (file.size() > MaxRecoveryCopyBytes)
        return CopyDefect::Oversized;
    return PrivateFile{file.read(limit), file.size()};
}

#endif

std::variant<CopyDefect, RecoveryCopy> ReadRecoveryCopy(const QString& path)
{
    auto file = ReadPrivateFile(path, MaxRecoveryCopyBytes);
    if (const CopyDefect* defect = std::get_if<CopyDefect>(&file))
        return *defect;
    return DecodeRecoveryCopy(std::get<PrivateFile>(file).bytes);
}

} // namespace ovex
