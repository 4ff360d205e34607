#pragma once

#include "colour/Readability.h"
#include "colour/ThemeGenerator.h"
#include "schemes/Scheme.h"

#include <QList>
#include <QString>

namespace ovex {

// A scheme turned into a theme: every colour slot from the scheme's own
// colours (docs/SCHEMES.md), the surfaces exactly as they are, the colours
// drawn on them moved only as far as the readability checks need.

// A slot whose colour had to move from the scheme's to read well.
struct SlotAdjustment
{
    int slot;
    QColor fromScheme;
    QColor readable;
    double distance;   // in OKLab
};

struct SchemeTheme
{
    QString name;
    SlotColors colors;               // all 27; every checked pair passes
    QList<SlotAdjustment> adjusted;  // in slot order
    GeneratorSeed seed;              // the scheme's background and accent, for further proposals
    ThemeMode mode;                  // the scheme's variant, or what its background suggests
};

// The proposal made from the scheme itself, shown before the generator's.
inline constexpr const char* SchemeProposalName = "As in the scheme";

// scheme must hold every colour NeededColors names for its format, as
// ReadScheme guarantees.
SchemeTheme MapScheme(const Scheme& scheme);

// "Adjusted for readability: User text color by 0.08, Focus color by 0.15
// (distances in OKLab)." or "No colour needed adjusting."
QString AdjustmentNote(const SchemeTheme& theme);

// The theme as a proposal named SchemeProposalName.
ThemeProposal SchemeProposal(const SchemeTheme& theme);

} // namespace ovex
