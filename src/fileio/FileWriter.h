#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ovex {

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file beside it that is renamed over the old one at the end, so a
// failure leaves any old file as it was and no partial file behind. On Linux
// the temporary file has no name until the end; a save killed in its last
// step may leave one hidden ".ovex-save-*.tmp" file, which the next save of
// that target removes. An existing file that the user may not write is
// refused before anything is written, even where the folder would allow it.
// Returns the system's reason when the file could not be written.
// ExistingFile::Keep never replaces a file (or a link) already at path: that
// is refused with the reason "File exists". On Linux the file appears under
// its name in one step that fails if the name is taken meanwhile.
enum class ExistingFile { Replace, Keep };
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes,
                                      ExistingFile existing = ExistingFile::Replace);

} // namespace ovex
