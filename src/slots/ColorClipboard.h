#pragma once

#include "platform/PackedColor.h"

#include <QString>

#include <memory>
#include <optional>

class QMimeData;

namespace ovex {

// "#rrggbb" in lower case, as copied to the clipboard.
QString ColorClipboardText(ColorValue color);

// What Copy Colour puts on the clipboard or a drag carries: the "#rrggbb"
// text and the colour itself.
std::unique_ptr<QMimeData> ColorMimeData(ColorValue color);

// The colour a pasted text names: "#rgb", "#rrggbb", "r,g,b" as a theme file
// writes it (three decimal numbers 0..255, no blanks), or an SVG colour name;
// blanks around the text are ignored. Nothing for any other text.
std::optional<ColorValue> ParseColorText(const QString& text);

// The colour in mime: its colour data, else its text read as above.
std::optional<ColorValue> ColorFromMimeData(const QMimeData* mime);

} // namespace ovex
