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
    return QStringLiteral("Usage: %1 [options] [FILE]\n       %1 --check FILE...").arg(program)
           + text.mid(lineEnd);
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
    parser.addOption(versionOption);
    parser.addOption(checkOption);
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
