#pragma once

#include <QByteArray>
#include <QString>

namespace ovex {

// Theme files are 8-bit Windows-1252 text. A table of our own keeps the
// mapping identical on every Qt build and lets bytes that the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) round-trip as C1 controls,
// the way Windows itself maps them.
QString Cp1252_Decode(QByteArrayView bytes);

// Characters the code page cannot hold become "?", one per character
// (a surrogate pair counts as one character).
QByteArray Cp1252_Encode(QStringView text);

} // namespace ovex
