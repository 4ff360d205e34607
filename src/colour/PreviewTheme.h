#pragma once

#include "colour/Readability.h"
#include "theme/ThemeState.h"

#include <QColor>
#include <QString>

#include <array>
#include <optional>

namespace ovex {

// The theme as Save would write it, with a neutral default standing in for
// every setting that is not in it: what the preview draws.
struct PreviewTheme
{
    QString name;
    SlotColors colors{};
    std::array<double, SizeSlotCount> pointSizes{};
    // False where the default is shown.
    std::array<bool, SlotCount> inTheme{};

    QColor Color(int slot) const { return colors[slot]; }
    double PointSize(int slot) const { return pointSizes[slot - FirstSizeSlot]; }
};

inline constexpr double DefaultPointSize = 12;
// Anything outside would only break the picture, not tell the user more.
inline constexpr double MinPointSize = 6;
inline constexpr double MaxPointSize = 28;

// The most characters of a text the picture lays out. Far more than the
// widest line can show, and short enough that a theme name of megabytes
// costs nothing to draw.
inline constexpr qsizetype MaxPreviewText = 300;

// text cut to MaxPreviewText characters, never inside a surrogate pair.
QString PreviewText(const QString& text);

// The neutral light grey the preview shows for a colour slot not in the theme.
QColor DefaultSlotColor(int slot);

// The theme with its colours as seen with vision.
PreviewTheme SimulatedTheme(const PreviewTheme& theme, VisionType vision);

// Every setting at its default, under the name the editor starts with.
PreviewTheme DefaultPreviewTheme();

// A size box's text as a point size within the sane range, or nothing when
// it is not a number.
std::optional<double> PreviewPointSize(const QString& text);

// The theme a state holds, as Save would write it. A colour slot counts when
// ticked with a value text and shows its colour (shownUnset for a system
// colour); a ticked font-size slot counts when its size box holds a number.
// The name is cut by PreviewText; the state keeps all of it.
PreviewTheme PreviewThemeOf(const ThemeState& state, const QColor& shownUnset = QColor(Qt::white));

// Which settings the picture shows as defaults, naming the shorter of the two
// lists (what is in the theme, or what is not) by key.
QString DefaultsNote(const PreviewTheme& theme);

} // namespace ovex
