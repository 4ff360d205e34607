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

// A name for a theme's single "name=" line: control characters (a line break
// in a quoted YAML name) become spaces; fallback where nothing is left.
QString SchemeName(const QString& raw, const QString& fallback);

} // namespace ovex
