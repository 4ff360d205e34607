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
    const char* kde;      // KDE: "Window/BackgroundNormal", BackgroundNormal in [Colors:Window]
};

// Index = slot.
extern const std::array<SlotSource, ColorSlotCount> SlotSources;

// The key a slot starts from in a scheme of this format.
QString SourceKey(int slot, SchemeFormat format);

// Every colour the mapping reads from a scheme of this format, each once, in
// the order a refusal looks for them: base00 before base0D; for KDE [Colors:View]
// before [Colors:Window], [Colors:Button], [Colors:Selection], [Colors:Tooltip].
QStringList NeededColors(SchemeFormat format);

// The KDE groups the mapping reads, without "Colors:", in that order.
inline constexpr std::array<const char*, 5> KdeGroups = {"View", "Window", "Button", "Selection", "Tooltip"};

// How a refusal names a colour: "base0D", or "BackgroundNormal in [Colors:View]".
QString ColorLabel(const QString& key, SchemeFormat format);

} // namespace ovex
