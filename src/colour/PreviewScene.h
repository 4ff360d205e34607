#pragma once

#include "colour/PreviewTheme.h"
#include "colour/Readability.h"

#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QPainter;

namespace ovex {

// One thing drawn in the mock chat window, in the colour of a slot (or a
// fixed colour for the parts no theme setting governs).
struct MockItem
{
    enum class Kind { Fill, Frame, Text, Arrow, Check };
    Kind kind = Kind::Fill;
    QRect rect;             // for text: the box the text covers
    int color = -1;         // colour slot, or -1 for `fixed`
    QColor fixed;
    int fontSlot = -1;      // text only: the font-size slot it is set in
    QString text;
    int slot = -1;          // what hovering and clicking find, -1 for nothing
    // The checked pair whose front this is: every text in a theme colour, and
    // every mark a user must see, is one, with what is drawn under it as the
    // pair's back. -1 for surfaces, lines and the window system's parts.
    qsizetype pair = -1;
};

// The mock chat window for one theme: items in painting order, the place
// of each checked pair (where a warning is marked), and its size.
struct Mock
{
    QSize size;
    QList<MockItem> items;
    std::array<QRect, CheckedPairCount> pairPlaces{};

    // The topmost item at pos that stands for a slot, or null.
    const MockItem* ItemAt(const QPoint& pos) const;
    // The first item standing for slot, or null: where to look for it.
    const MockItem* FirstItemFor(int slot) const;
};

// The mock's size; it does not depend on the theme.
inline constexpr QSize MockSize(560, 380);

// Pixel size of a font-size slot: points at 96 dots per inch, as the main
// window is drawn, so the picture does not depend on the screen.
int PreviewPixelSize(const PreviewTheme& theme, int sizeSlot);
QFont PreviewFont(const PreviewTheme& theme, int sizeSlot);

// theme is drawn as it is; the fixed colours are simulated for vision, to
// match a theme already simulated (SimulatedTheme).
QColor ItemColor(const PreviewTheme& theme, const MockItem& item, VisionType vision = VisionType::Normal);

Mock BuildMock(const PreviewTheme& theme);
void PaintMock(QPainter& painter, const PreviewTheme& theme, const Mock& mock, VisionType vision = VisionType::Normal);

} // namespace ovex
