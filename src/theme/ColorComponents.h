#pragma once

#include "platform/PackedColor.h"

#include <QString>

#include <optional>

namespace ovex {

// The red, green and blue an import has read so far. They carry over from
// one colour line to the next: a component that cannot be read keeps the
// value an earlier line gave it.
struct ColorComponents
{
    qint16 red = 0;
    qint16 green = 0;
    qint16 blue = 0;
};

// A component as the file gives it: decimal digits with an optional sign and
// blanks around them, within -32768..32767; anything else is unreadable.
std::optional<qint16> ReadComponent(QStringView text);

// Reads red, green and blue in turn from entry, each from the text before
// the entry's first comma, cutting up to and including that comma. Returns
// what is left of the entry (empty for a well-formed value).
QString ParseColorEntry(QString entry, ColorComponents& components);

// Components above 255 count as 255, below 0 as 0.
ColorValue ComposeColor(const ColorComponents& components);

} // namespace ovex
