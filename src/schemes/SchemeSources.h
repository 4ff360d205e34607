#pragma once

#include "schemes/Scheme.h"
#include "slots/SlotCount.h"

#include <QStringList>

#include <array>

namespace ovex {

// Where each colour slot of a theme starts from in a scheme: the table of
// docs/SCHEMES.md.
struct SlotSource
{
    const char* base16;   // base16 and base24: "base01"
    const char* base24;   // base24, where the scheme has it: "base10"; or null
    const char* kde;      // KDE: "Window/BackgroundNormal", BackgroundNormal in [Colors:Window]
};

// Index = slot.
extern const std::array<SlotSource, ColorSlotCount> SlotSources;

// The key a slot starts from in this scheme: a base24 scheme's own colour
// where it has one for the slot, else base16's.
QString SourceKey(int slot, const Scheme& scheme);

// Every colour the mapping needs from a scheme of this format, each once, in
// the order a refusal looks for them: base00 before base0D; for KDE [Colors:View]
// before [Colors:Window], [Colors:Button], [Colors:Selection], [Colors:Tooltip].
QStringList NeededColors(SchemeFormat format);

// The colours the mapping reads where the scheme has them: base24's base10
// and base11. None for the other formats.
QStringList OptionalColors(SchemeFormat format);

// The KDE groups the mapping reads, without "Colors:", in that order.
inline constexpr std::array<const char*, 5> KdeGroups = {"View", "Window", "Button", "Selection", "Tooltip"};

// How a refusal names a colour: "base0D", or "BackgroundNormal in [Colors:View]".
QString ColorLabel(const QString& key, SchemeFormat format);

} // namespace ovex
