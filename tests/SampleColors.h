#pragma once

// Colour sets for the readability tests and benchmarks.
#include "colour/Readability.h"

namespace ovex::test {

// Every pair reads well with every vision: white everywhere, the fronts
// black (but the highlighted text, drawn on the black highlight, white).
inline SlotColors ReadableColors()
{
    SlotColors colors;
    colors.fill(Qt::white);
    for (const CheckedPair& pair : CheckedPairs)
        colors[pair.front] = Qt::black;
    colors[17] = Qt::white;
    return colors;
}

// A warning for every pair but the highlights': pale tints of different
// hues in front of white.
inline SlotColors PaleFronts()
{
    SlotColors colors = ReadableColors();
    int hue = 0;
    for (const CheckedPair& pair : CheckedPairs) {
        if (pair.kind == PairKind::DisabledHint || pair.front == 16 || pair.front == 17)
            continue;
        colors[pair.front] = QColor::fromHsv(hue, 90, 240);
        hue += 30;
    }
    return colors;
}

} // namespace ovex::test
