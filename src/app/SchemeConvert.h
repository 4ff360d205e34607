#pragma once

#include "app/OutputBatch.h"
#include "schemes/SchemeTheme.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace ovex {

// --convert: schemes of other programs written as theme files, with no
// window and nothing kept but the files written.

// The lines of the theme file: the name, then all 27 colours in slot order.
QStringList SchemeThemeLines(const SchemeTheme& theme);

// "ashes.theme" for ".../ashes.yml".
QString SchemeThemeFileName(const QString& scheme);

// Reads scheme, maps it, and writes target as Save writes a theme, keeping or
// replacing a file already there. Its line says how many colours were moved
// and, where the theme's name is not the scheme's own (a theme file cannot
// hold it), both names.
BatchOutcome ConvertScheme(const QString& scheme, const QString& target, Overwrite overwrite);

// Converts the schemes into outputDir (RunBatch): several at a time but with
// the outcome of converting them in turn.
int RunSchemeConvert(const QString& program, const QStringList& schemes, const QString& outputDir, Overwrite overwrite,
                     QTextStream& out, QTextStream& err);

} // namespace ovex
