#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ovex {

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
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace ovex
