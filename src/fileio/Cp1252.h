#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ovex {

// Theme files are 8-bit Windows-1252 text. A table of our own keeps the
// mapping identical on every Qt build and lets bytes that the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) round-trip as C1 controls,
// the way Windows itself maps them.
QString Cp1252_Decode(QByteArrayView bytes);

// Whether the code page holds the code point c.
bool Cp1252_Holds(char32_t c);

// The bytes of text, or nothing when it holds a character the code page
// cannot (a lone surrogate among them): a theme file never gets a "?" or any
// other stand-in for a character it could not hold.
std::optional<QByteArray> Cp1252_Encode(QStringView text);

} // namespace ovex
