#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace ovex {

// Exit statuses of a check, worst last: the worst file decides the run's.
enum class CheckStatus { Readable = 0, PairFails = 1, NotChecked = 2 };

struct ThemeCheckResult
{
    QStringList lines;
    CheckStatus status = CheckStatus::Readable;
};

// Reads file exactly as Import does (ReadThemeFile, no window) and judges
// the theme's readability as the preview does. One line per failing pair,
// or one line saying why the file could not be read or holds no theme
// settings, or one "ok" line.
ThemeCheckResult CheckThemeFile(const QString& file);

// Checks each file in turn and writes its lines to out; returns the exit
// status of the worst file.
int RunThemeCheck(const QStringList& files, QTextStream& out);

} // namespace ovex
