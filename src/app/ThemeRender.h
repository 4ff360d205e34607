#pragma once

#include "app/OutputBatch.h"

#include <QSize>
#include <QString>
#include <QStringList>

class QTextStream;

namespace ovex {

// --render: the picture of each theme, the chat window as the preview draws
// it, written as a PNG file, with no window and no display.

// Renders the themes into outputDir (RunBatch), several at a time. Needs a
// QGuiApplication, for the fonts.
int RunThemeRender(const QString& program, const QStringList& themes, const QString& outputDir, Overwrite overwrite,
                   const QSize& size, QTextStream& out, QTextStream& err);

} // namespace ovex
