#pragma once

#include "colour/Readability.h"

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

// A colour slot and the colour to give it.
struct SlotFix
{
    int slot;
    QColor color;
};

// Whether pair's front is drawn on another surface first (control text on
// the unselected tab, after the control colour): a further surface, which
// moves for its text where the text cannot move for it.
bool IsFurtherSurface(qsizetype pair);

// The colours that bring pair to its threshold, keeping every other pair of
// each slot moved as FixPair does; empty when there are none. FixPair's
// front where there is one. Where no front colour reads on all the front's
// surfaces (two surfaces far apart): on a further surface, that surface
// moved instead; on the first, the front moved for it alone and each
// further surface it no longer reads on moved for it.
QList<SlotFix> FixPairColors(const SlotColors& colors, qsizetype pair, VisionType vision = VisionType::Normal);

struct FixAllResult
{
    SlotColors colors;
    QList<qsizetype> fixed;     // indices in CheckedPairs
    QList<qsizetype> unfixed;
};

// FixPairColors for every warning in the order of CheckedPairs, each seeing
// the fixes before it.
FixAllResult FixAll(const SlotColors& colors, VisionType vision = VisionType::Normal);

// The slots whose colour differs between before and after, in slot order.
QList<SlotFix> ChangedSlots(const SlotColors& before, const SlotColors& after);

// Why the pairs could not be fixed: one sentence per slot, naming it by its
// caption on the main window.
QString UnfixedNote(const QList<qsizetype>& unfixed);

} // namespace ovex
