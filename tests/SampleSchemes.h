#pragma once

// Colour schemes of our own, one in each layout, and schemes of random
// colours: for the scheme tests and benchmarks.
#include "schemes/SchemeSources.h"

#include <QByteArray>
#include <QColor>
#include <QRandomGenerator>

namespace ovex::test {

inline const QByteArray FlatBase16 = R"(# Ember Coast, for the tests and benchmarks
scheme: "Ember Coast"
author: "Ovex developers"
base00: "201a17" # background
base01: 2c2420
base02: '#3d322c'
base03: "7a6a5f"
base04: "a08f82"
base05: "D9C8B8"
base06: "ece0d4"
base07: "fbf4ec"
base08: "d9534f"
base09: "e8863a"
base0A: "e0b34a"
base0B: "8fae5b"
base0C: "5fb3a5"
base0d: "6f9fd8"   # the accent, its key in lower case
base0E: "b87fc4"
base0F: "a0603d"
)";

inline const QByteArray PaletteBase16 = R"(system: "base16"
name: "Moss Night"
slug: "moss-night"
author: "Ovex developers"
description: "Deep greens"
variant: "dark"
palette:
  base00: "#16201a"
  base01: "#1f2b23"
  base02: "#2b3a30"
  base03: "#5f7566"
  base04: "#8aa091"
  base05: "#c4d6c8"
  base06: "#dde9df"
  base07: "#f2f8f3"
  base08: "#d46a5f"
  base09: "#d9954a"
  base0A: "#cdb454"
  base0B: "#7fbf6a"
  base0C: "#5fb8a8"
  base0D: "#5aa0c8"
  base0E: "#a887c9"
  base0F: "#9a6a4a"
)";

inline const QByteArray PaletteBase24 = R"(system: "base24"
name: 'Paper Lantern'
author: "Ovex developers"
variant: light
palette:
  base00: "#fbf8ef"
  base01: "#efe9d9"
  base02: "#e0d8c3"
  base03: "#a39e8f"
  base04: "#7c776a"
  base05: "#4a463d"
  base06: "#2f2c26"
  base07: "#1b1915"
  base08: "#b8473a"
  base09: "#c46a2b"
  base0A: "#a88a1f"
  base0B: "#4f8a3c"
  base0C: "#2f8a7f"
  base0D: "#3b6fb0"
  base0E: "#8a56a8"
  base0F: "#7f5539"
  base10: "#f4efe0"
  base11: "#ebe4cf"
  base12: "#d8594a"
  base13: "#d9b53a"
  base14: "#5fae4a"
  base15: "#3fae9f"
  base16: "#4f8ad0"
  base17: "#a56fc4"
)";

// A real base24 scheme: Dracula from the base24 collection of the
// tinted-theming schemes (base24/dracula.yaml), its values typed in.
inline const QByteArray DraculaBase24 = R"yaml(system: "base24"
name: "Dracula"
author: "FredHappyface (https://github.com/fredHappyface)"
variant: "dark"
palette:
  base00: "#282a36"
  base01: "#363447"
  base02: "#44475a"
  base03: "#6272a4"
  base04: "#9ea8c7"
  base05: "#f8f8f2"
  base06: "#f0f1f4"
  base07: "#ffffff"
  base08: "#ff5555"
  base09: "#ffb86c"
  base0A: "#f1fa8c"
  base0B: "#50fa7b"
  base0C: "#8be9fd"
  base0D: "#80bfff"
  base0E: "#ff79c6"
  base0F: "#bd93f9"
  base10: "#1e2029"
  base11: "#16171d"
  base12: "#f28c8c"
  base13: "#eef5a3"
  base14: "#a3f5b8"
  base15: "#baedf7"
  base16: "#a3ccf5"
  base17: "#f5a3d2"
)yaml";

// With the groups real files carry besides the five that are read; the
// nested [Colors:View][Inactive] comes after [Colors:View] and must not count.
inline const QByteArray KdeColors = "\xEF\xBB\xBF# Harbour, for the tests and benchmarks\n"
                             R"([ColorEffects:Disabled]
Color=56,56,56
ColorAmount=0
ContrastAmount=0.65
IntensityEffect=2

[Colors:Button]
BackgroundNormal=226,229,222
ForegroundNormal=30,34,38
DecorationFocus=46,120,180

[Colors:Selection]
BackgroundNormal=46,120,180
ForegroundNormal=255,255,255

[Colors:Tooltip]
BackgroundNormal=245,243,230,255
ForegroundNormal=40,40,40

[Colors:View]
BackgroundNormal=250,251,247
DecorationFocus=46,120,180
ForegroundInactive=118,122,128
ForegroundNormal=30,34,38

[Colors:View][Inactive]
BackgroundNormal=10,10,10

[Colors:Window]
BackgroundNormal = 236,238,232
ForegroundInactive=118,122,128
ForegroundNormal=30,34,38

[WM]
activeBackground=236,238,232

[General]
ColorScheme=Harbour
Name=Harbour Light
)";

// A base16 scheme of random colours, flat or with a palette, as a file would hold it.
inline QByteArray RandomBase16Scheme(QRandomGenerator& random, bool flat)
{
    QByteArray bytes = flat ? "scheme: \"Random\"\n" : "system: base16\nname: Random\npalette:\n";
    for (int k = 0; k < 16; ++k) {
        const QColor c = QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256));
        bytes += (flat ? "" : "  ") + QStringLiteral("base%1: \"%2\"\n").arg(k, 2, 16, QLatin1Char('0')).arg(c.name().mid(1)).toUtf8();
    }
    return bytes;
}

inline QByteArray RandomKdeScheme(QRandomGenerator& random)
{
    QByteArray bytes = "[General]\nName=Random\n";
    for (const char* group : KdeGroups) {
        bytes += QByteArray("[Colors:") + group + "]\n";
        for (const char* key : {"BackgroundNormal", "ForegroundNormal", "ForegroundInactive", "DecorationFocus"})
            bytes += QStringLiteral("%1=%2,%3,%4\n").arg(QLatin1String(key)).arg(random.bounded(256))
                         .arg(random.bounded(256)).arg(random.bounded(256)).toUtf8();
    }
    return bytes;
}

} // namespace ovex::test
