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
// failure leaves any old file as it was and no partial file behind; the
// folder is synced after the rename, so a file reported written stays so. The
// temporary file has one fixed hidden name for each target (on Linux it has
// no name until the end), so a killed save leaves at most one hidden
// ".ovex-save-*.tmp" file, which the next save of that target removes. An
// existing file that the user may not write is refused before anything is
// written, even where the folder would allow it. Returns the system's reason
// when the file could not be written. Built with OVEX_PORTABLE_SAVE, Linux
// uses the writer of Windows, so that the tests run it too.
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes, const WriteOptions& options = {});

// Makes the last changes to the folder's names (a file linked in, renamed or
// removed) survive a power cut. The system's reason when it cannot; nothing
// where the system has no such sync (Windows) or the file system needs none.
std::optional<QString> SyncFolder(const QString& folder);

} // namespace ovex
