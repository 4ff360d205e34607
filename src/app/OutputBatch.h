#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

namespace ovex {

// What the command line's batch modes share (--convert): files read, one
// file written for each into an output folder made when missing, one line
// printed for each in the order given, and an exit status a script can act
// on.

// Exit statuses: every file written; some refused. A usage error or an
// output folder that cannot be used exits with UsageErrorStatus (2).
inline constexpr int BatchAllWritten = 0;
inline constexpr int BatchSomeRefused = 1;

// Whether a file already at a target is replaced (all or nothing) or kept.
enum class Overwrite { Keep, Replace };

// text for a line of output: control characters (a line break in a file
// name) and line separators escaped, "\n", "\t", "\x1B", "\u2028", so that
// each file keeps to one line.
QString PrintableText(const QString& text);

// Makes dir and its parents where missing; why it cannot be used otherwise
// ("is not a folder", "could not be made").
std::optional<QString> PrepareOutputFolder(const QString& dir);

// Writes bytes to target through WriteWholeFile: a file (or a link) already
// there is kept and refused with "TARGET already exists", or with Replace
// replaced all or nothing. The reason when nothing was written.
std::optional<QString> WriteOutputFile(const QString& target, const QByteArray& bytes, Overwrite overwrite);

// One input's line, "ashes.yml: wrote out/ashes.theme (details)" or
// "ashes.yml: error: reason", with its paths printable.
struct BatchOutcome
{
    QString line;
    bool written = false;
};
BatchOutcome BatchWritten(const QString& source, const QString& target, const QString& details);
BatchOutcome BatchRefused(const QString& source, const QString& reason);

struct BatchJob
{
    QString program;   // names the program in an error on err
    QStringList sources;
    QString outputDir;
    Overwrite overwrite = Overwrite::Keep;
    // The output file's name in the folder for a source ("ashes.theme").
    std::function<QString(const QString& source)> targetName;
    // Reads source and writes target (a path in the folder): its line.
    // Called from several threads at once, each on its own source.
    std::function<BatchOutcome(const QString& source, const QString& target, Overwrite overwrite)> write;
};

// Runs the job: the folder made (or its reason on err, and UsageErrorStatus),
// every target claimed in the order given, before any file is read, so that a
// source whose target another already claimed is refused with a reason naming
// the other (compared ignoring letter case, as Windows and macOS compare
// file names, on every platform), then the rest written several at once, and
// one line per source printed on out in the order given.
int RunBatch(const BatchJob& job, QTextStream& out, QTextStream& err);

} // namespace ovex
