#include "app/CommandLine.h"

#include "Version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace ovex {

namespace {

CommandLine exitWith(const QString& text, bool toStderr, int status)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.text = text.endsWith(u'\n') ? text : text + u'\n';
    result.toStderr = toStderr;
    result.exitStatus = status;
    return result;
}

CommandLine usageError(const QString& program, const QString& what)
{
    return exitWith(QStringLiteral("%1: %2\nTry '%1 --help' for more information.").arg(program, what), true,
                    UsageErrorStatus);
}

// The parser names the program from QCoreApplication, which may not exist yet.
QString helpText(const QCommandLineParser& parser, const QString& program)
{
    QString text = parser.helpText();
    const qsizetype lineEnd = text.indexOf(u'\n');
    return QStringLiteral("Usage: %1 [options] [FILE]\n       %1 --check FILE...\n"
                          "       %1 --convert SCHEME... --output-dir DIR [--overwrite]").arg(program)
           + text.mid(lineEnd);
}

// --convert SCHEME... --output-dir DIR [--overwrite]. The folder itself is
// looked at, and made, when the conversion runs.
CommandLine parseConvert(const QCommandLineParser& parser, const QStringList& files, const QString& program,
                         bool alsoCheck)
{
    if (alsoCheck)
        return usageError(program, QStringLiteral("--check and --convert cannot be used together."));
    if (!parser.isSet(QStringLiteral("convert"))) {
        return usageError(program, QStringLiteral("%1 needs --convert.")
                                       .arg(parser.isSet(QStringLiteral("output-dir")) ? QStringLiteral("--output-dir")
                                                                                      : QStringLiteral("--overwrite")));
    }
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(program, QStringLiteral("--convert needs --output-dir DIR."));
    if (files.isEmpty())
        return usageError(program, QStringLiteral("--convert needs at least one SCHEME."));
    // An unset shell variable gives an empty DIR: never the current folder.
    const QString dir = parser.value(QStringLiteral("output-dir"));
    if (dir.isEmpty())
        return usageError(program, QStringLiteral("--output-dir is empty; give it a folder."));
    CommandLine result;
    result.action = CommandLine::Action::Convert;
    result.program = program;
    result.schemeFiles = files;
    result.outputDir = dir;
    result.overwrite = parser.isSet(QStringLiteral("overwrite"));
    return result;
}

} // namespace

QString VersionText()
{
    return QStringLiteral("Ovex Theme Editor %1.%2.%3")
        .arg(version::Major)
        .arg(version::Minor)
        .arg(version::Revision);
}

CommandLine ParseCommandLine(const QStringList& arguments, const QString& currentDir)
{
    const QString program = arguments.isEmpty() ? QStringLiteral("ovex-theme-editor")
                                                : QFileInfo(arguments.first()).fileName();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Build and edit theme files for Ovex Chat."));
    // Not addHelpOption(): its --help-all lists Qt's own options, which are refused here.
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Print this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Print the program's name and version."));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("Check each FILE as Import reads it and judge its readability; open no window."));
    const QCommandLineOption convertOption(
        QStringLiteral("convert"),
        QStringLiteral("Write a theme for each SCHEME (base16 or base24 YAML, KDE .colors) into DIR; open no window."));
    const QCommandLineOption outputDirOption(QStringLiteral("output-dir"),
                                             QStringLiteral("The folder --convert writes to, made when missing."),
                                             QStringLiteral("DIR"));
    const QCommandLineOption overwriteOption(QStringLiteral("overwrite"),
                                             QStringLiteral("Let --convert replace a theme already in DIR."));
    parser.addOption(versionOption);
    parser.addOption(checkOption);
    parser.addOption(convertOption);
    parser.addOption(outputDirOption);
    parser.addOption(overwriteOption);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A .theme file to open."),
                                 QStringLiteral("[FILE]"));

    QStringList args = arguments.isEmpty() ? QStringList{program} : arguments;
    if (!parser.parse(args))
        return usageError(program, parser.errorText());
    if (parser.isSet(helpOption))
        return exitWith(helpText(parser, program), false, 0);
    if (parser.isSet(versionOption))
        return exitWith(VersionText(), false, 0);

    const QStringList files = parser.positionalArguments();
    if (parser.isSet(convertOption) || parser.isSet(outputDirOption) || parser.isSet(overwriteOption))
        return parseConvert(parser, files, program, parser.isSet(checkOption));
    if (parser.isSet(checkOption)) {
        if (files.isEmpty())
            return usageError(program, QStringLiteral("--check needs at least one FILE."));
        CommandLine result;
        result.action = CommandLine::Action::Check;
        result.checkFiles = files;
        return result;
    }
    if (files.size() > 1)
        return usageError(program, QStringLiteral("Only one FILE can be opened at a time."));

    CommandLine result;
    if (!files.isEmpty() && !files.first().isEmpty())
        result.file = QDir(currentDir).absoluteFilePath(files.first());
    return result;
}

} // namespace ovex
