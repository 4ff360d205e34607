#pragma once

#include "preview/Readability.h"

#include <QList>

#include <optional>

namespace ovex {

// Fixing a pair that reads badly by changing its front (text) colour as
// little as possible.

// color's hue and chroma at another OKLab lightness, with the chroma reduced
// where sRGB cannot hold it: the colours Fix chooses from.
QColor WithLightness(const QColor& color, double lightness);

// The colour nearest in lightness to the pair's front colour that brings the
// pair to its threshold, for normal vision and for vision if that is another,
// without taking any other pair that uses the slot below its threshold (or,
// where it is below already, lower still). Nothing when no such colour
// exists; the colour as it is when it already reads well.
std::optional<QColor> FixPair(const SlotColors& colors, qsizetype pair, VisionType vision = VisionType::Normal);

struct FixAllResult
{
    SlotColors colors;
    QList<qsizetype> fixed;     // indices in CheckedPairs
    QList<qsizetype> unfixed;
};

// FixPair for every warning in the order of CheckedPairs, each seeing the
// fixes before it.
FixAllResult FixAll(const SlotColors& colors, VisionType vision = VisionType::Normal);

} // namespace ovex
