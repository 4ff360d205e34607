#pragma once

#include <QColor>
#include <QtGlobal>

namespace ovex {

// The program's colour value: red in bits 0-7, green 8-15, blue 16-23, no
// alpha; a negative value names a system colour. QColor::rgb() is 0xAARRGGBB,
// the other way round, so every crossing between the two goes through here.
using ColorValue = qint32;

// System colour 5, the window background: the colour of a slot without one.
inline constexpr ColorValue UnsetColor = static_cast<ColorValue>(0x80000005u);

inline constexpr bool IsSystemColor(ColorValue value) { return value < 0; }

// Only the low 24 bits count; meaningless for a system colour.
QColor PackedToQColor(ColorValue value);
ColorValue QColorToPacked(const QColor& color);

} // namespace ovex
