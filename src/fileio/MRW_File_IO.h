#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace ovex {

// No theme comes near this; it stops a device or a huge file from eating memory.
inline constexpr qint64 MaxReadBytes = 16 * 1024 * 1024;

// A text stream over text already in memory, read line by line from its start.
// CR LF, a lone LF and a lone CR each end a line.
class TextStream
{
public:
    explicit TextStream(QString text) : m_text(std::move(text)) {}

    // True when the next character ends a line, and when no text is left.
    bool AtEndOfLine() const;
    // The text up to the next line end, without it; moves past the line end.
    QString ReadLine();
    void Close() { m_closed = true; }
    bool IsClosed() const { return m_closed; }

private:
    QString m_text;
    qsizetype m_pos = 0;
    bool m_closed = false;
};

// A whole file read into memory and decoded from Windows-1252, so that every
// later pass reads the same text even if the file changes meanwhile.
struct LoadedFile
{
    QString text;
    std::unique_ptr<TextStream> OpenTextStream() const { return std::make_unique<TextStream>(text); }
};

// Stands in for the scripting file-system object. Reading never creates,
// changes or blocks on a file: only regular files are opened.
class FileSystemObject
{
public:
    // True only for a regular file, following symbolic links.
    bool FileExists(const QString& path) const;

    // The raw bytes of a regular file, or nothing when it is missing, is not a
    // regular file, cannot be read, or holds more than MaxReadBytes.
    std::optional<QByteArray> ReadAllBytes(const QString& path) const;

    std::optional<LoadedFile> Load(const QString& path) const;

    // A stream over the file's text, or null when it cannot be read. A
    // missing file is not created: reading never leaves a file behind.
    std::unique_ptr<TextStream> OpenTextFile(const QString& path) const;
};

using FileSystemRef = std::shared_ptr<const FileSystemObject>;

FileSystemRef IO_CreateFileSystem();

template <typename ObjectSlot>
bool IO_IsUnset(const ObjectSlot& slot)
{
    return !slot;
}

// The next line, or empty text at an empty line or at the end of the text;
// it does not move past an empty line, so every later call answers empty too.
QString IO_ReadNextLine(TextStream* stream);

} // namespace ovex
