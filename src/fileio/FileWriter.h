#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace ovex {

enum class ExistingFile { Replace, Keep };

struct WriteOptions
{
    // Keep never replaces a file (or a link) already at the path: that is
    // refused with the reason "File exists". On Linux the file appears under
    // its name in one step that fails if the name is taken meanwhile.
    ExistingFile existing = ExistingFile::Replace;
    // A file that does not exist yet is made with exactly these permissions
    // rather than the umask's; an existing one keeps its own.
    std::optional<QFileDevice::Permissions> newFilePermissions;

    static WriteOptions KeepExisting() { return {ExistingFile::Keep, std::nullopt}; }
    static WriteOptions NewFileMode(QFileDevice::Permissions permissions) { return {ExistingFile::Replace, permissions}; }
};

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file beside it that is renamed over the old one at the end, so a
// failure leaves any old file as it was and no partial file behind. The
// temporary file has one fixed hidden name for each target (on Linux it has
// no name until the end), so a killed save leaves at most one hidden
// ".ovex-save-*.tmp" file, which the next save of that target removes. An
// existing file that the user may not write is refused before anything is
// written, even where the folder would allow it. Returns the system's reason
// when the file could not be written. Built with OVEX_PORTABLE_SAVE, Linux
// uses the writer of Windows, so that the tests run it too.
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes, const WriteOptions& options = {});

} // namespace ovex
