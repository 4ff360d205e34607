#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ovex {

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file beside it that is renamed over the old one at the end, so a
// failure leaves any old file as it was and no partial file behind.
// Returns the system's reason when the file could not be written.
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace ovex
