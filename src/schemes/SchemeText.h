#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace ovex {

// Small text helpers the scheme readers share.

// "not a base16, base24 or KDE colour scheme": a file none of the readers knows.
QString NotASchemeReason();

// "#2b303b" or "2b303b", any letter case: six hex digits.
std::optional<QColor> HexColor(QStringView text);

// The forms a colour is expected in, as a refusal names them.
inline constexpr const char* HexColourForm = "six hex digits, such as \"#2b303b\" or \"2b303b\"";
inline constexpr const char* KdeColourForm = "r,g,b of 0 to 255, such as \"46,120,180\", or \"#2e78b4\"";

// A value as a refusal shows what it found: quoted, cut to shown characters.
QString FoundText(const QString& text, qsizetype shown = 40);

// "base00 is not a colour: found "0x2b303b", expected six hex digits, ...".
QString NotAColourReason(const QString& label, const QString& found, const char* expected);

// A name for a theme's single "name=" line, as a theme file can hold it:
// control characters (a line break in a quoted YAML name) become spaces,
// characters Windows-1252 cannot hold are left out, runs of spaces become one
// and the ends are trimmed ("海洋 Deep Sea 🌊" gives "Deep Sea"). Where
// nothing is left, fallback cleaned the same way, and where nothing is left
// of that either, "Untitled".
QString SchemeName(const QString& raw, const QString& fallback);

} // namespace ovex
