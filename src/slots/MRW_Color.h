#pragma once

#include "platform/PackedColor.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace ovex {

// "red,green,blue" in decimal, e.g. 255,0,0 for pure red; the empty text for
// a system colour (a negative value). Values above 0xFFFFFF give 0,0,0.
QString Color_ToText(ColorValue value);

// Base-256 digits counted from 1, least significant first: digit i has the
// weight 256^(i-1) and is stored at digits[i - 1].
using DigitArray = std::vector<std::uint8_t>;

enum class SplitResult { Done, Overflow, OutOfRange };

// Splits value into count digits, most significant first. On a failure the
// digits written before it keep their new values, the others their old.
SplitResult Color_SplitBase256(qint32 value, std::uint8_t count, DigitArray& digits, bool resize);

} // namespace ovex
