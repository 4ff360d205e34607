#include "fileio/MRW_File_IO.h"

#include "fileio/Cp1252.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/ClosesOnExit.h"
#endif

namespace ovex {

bool TextStream::AtEndOfLine() const
{
    if (m_pos >= m_text.size())
        return true;
    const QChar c = m_text.at(m_pos);
    return c == u'\r' || c == u'\n';
}

QString TextStream::ReadLine()
{
    const qsizetype start = m_pos;
    qsizetype end = start;
    while (end < m_text.size() && m_text.at(end) != u'\r' && m_text.at(end) != u'\n')
        ++end;
    m_pos = end;
    if (m_pos < m_text.size()) {
        const bool cr = m_text.at(m_pos) == u'\r';
        ++m_pos;
        if (cr && m_pos < m_text.size() && m_text.at(m_pos) == u'\n')
            ++m_pos;
    }
    return m_text.mid(start, end - start);
}

bool FileSystemObject::FileExists(const QString& path) const
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

#ifdef Q_OS_UNIX
namespace {

// Opens without blocking (a FIFO would otherwise wait for a writer) and checks
// the opened object itself, so a file swapped after the check is caught too.
std::optional<QByteArray> readRegularFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    const ClosesOnExit closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;

    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(std::min<qint64>(st.st_size, MaxReadBytes) + 1));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        bytes.append(buffer, n);
        // Count what was read: pseudo-files report a size of 0.
        if (bytes.size() > MaxReadBytes)
            return std::nullopt;
    }
    return bytes;
}

} // namespace
#endif

std::optional<QByteArray> FileSystemObject::ReadAllBytes(const QString& path) const
{
    if (!FileExists(path))
        return std::nullopt;
#ifdef Q_OS_UNIX
    return readRegularFile(path);
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(MaxReadBytes + 1);
    if (bytes.size() > MaxReadBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
#endif
}

std::optional<LoadedFile> FileSystemObject::Load(const QString& path) const
{
    auto bytes = ReadAllBytes(path);
    if (!bytes)
        return std::nullopt;
    return LoadedFile{Cp1252_Decode(*bytes)};
}

std::unique_ptr<TextStream> FileSystemObject::OpenTextFile(const QString& path) const
{
    auto file = Load(path);
    if (!file)
        return nullptr;
    return file->OpenTextStream();
}

FileSystemRef IO_CreateFileSystem()
{
    return std::make_shared<const FileSystemObject>();
}

QString IO_ReadNextLine(TextStream* stream)
{
    if (IO_IsUnset(stream))
        return {};
    if (stream->AtEndOfLine())
        return {};
    return stream->ReadLine();
}

} // namespace ovex
