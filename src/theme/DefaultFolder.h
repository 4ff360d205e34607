#pragma once

#include <QString>

namespace ovex {

// Where the chat program keeps its themes; both file dialogs start there.
inline const QString DefaultThemeFolder = QStringLiteral("\\Program Files\\ovexChat\\");
inline const QString ThemeExtension = QStringLiteral(".theme");

} // namespace ovex
