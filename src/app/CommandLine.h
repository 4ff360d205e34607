#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace ovex {

// What the arguments ask the program to do, decided before any window or
// display exists.
struct CommandLine
{
    enum class Action {
        OpenWindow,   // the editor, importing file once shown when one is given
        Check,        // judge files, print one line each, exit with the status
        Convert,      // write a theme for each scheme, print one line each
        Render,       // write a picture for each theme, print one line each
        Exit,         // print text (help, version or an error) and exit
    };
    Action action = Action::OpenWindow;
    // OpenWindow: the file to import, absolute; empty for none.
    QString file;
    // Check: the files as given.
    QStringList checkFiles;
    // Convert and Render: the schemes or themes as given, the folder to write
    // to, whether a file already there is replaced, and the program's name
    // for its errors; Render's picture size.
    QStringList inputFiles;
    QString outputDir;
    bool overwrite = false;
    QString program;
    QSize size;
    // Exit: what to print, and where.
    QString text;
    bool toStderr = false;
    int exitStatus = 0;
};

// Exit status for arguments the program cannot use (and for an output folder
// that cannot be used).
inline constexpr int UsageErrorStatus = 2;

// The largest picture --render draws, either way.
inline constexpr int MaxRenderSide = 4096;

// "Ovex Theme Editor 1.0.5".
QString VersionText();

// arguments as main receives them, the program's name first. A relative
// FILE is taken from currentDir.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& currentDir);

} // namespace ovex
