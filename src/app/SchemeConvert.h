#pragma once

#include "schemes/SchemeTheme.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace ovex {

// --convert: schemes of other programs written as theme files, with no
// window and nothing kept but the files written.

// Exit status when any scheme was not written.
inline constexpr int ConvertRefusedStatus = 2;

struct ConvertResult
{
    QString line;   // "ashes.yml: wrote out/ashes.theme (2 colours adjusted for readability)"
    bool written = false;
};

// The lines of the theme file: the name, then all 27 colours in slot order.
QStringList SchemeThemeLines(const SchemeTheme& theme);

// Reads scheme, maps it, and writes outputDir/<its base name>.theme as Save
// writes a theme; a file already there is never replaced.
ConvertResult ConvertScheme(const QString& scheme, const QString& outputDir);

// Converts the schemes, several at a time but with the outcome of converting
// them in turn, and prints one line for each on out in the order given; 0
// when every one was written, ConvertRefusedStatus otherwise.
int RunSchemeConvert(const QStringList& schemes, const QString& outputDir, QTextStream& out);

} // namespace ovex
