#include "app/CommandLine.h"

#include "Version.h"
#include "colour/PreviewScene.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <optional>

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
                          "       %1 --convert SCHEME... --output-dir DIR [--overwrite]\n"
                          "       %1 --render THEME... --output-dir DIR [--size WIDTHxHEIGHT] [--overwrite]").arg(program)
           + text.mid(lineEnd);
}

// "1120x760", each side 1..MaxRenderSide; nothing otherwise.
std::optional<QSize> parseSize(const QString& text)
{
    const QStringList sides = text.split(u'x');
    if (sides.size() != 2)
        return std::nullopt;
    bool wide = false;
    bool high = false;
    const int width = sides[0].toInt(&wide);
    const int height = sides[1].toInt(&high);
    if (!wide || !high || width < 1 || height < 1 || width > MaxRenderSide || height > MaxRenderSide)
        return std::nullopt;
    return QSize(width, height);
}

// --convert SCHEME... or --render THEME..., --output-dir DIR [--overwrite],
// and for --render [--size WIDTHxHEIGHT]. The folder itself is looked at,
// and made, when the files are written.
CommandLine parseBatch(const QCommandLineParser& parser, const QStringList& files, const QString& program)
{
    const bool convert = parser.isSet(QStringLiteral("convert"));
    const bool render = parser.isSet(QStringLiteral("render"));
    const QString mode = render ? QStringLiteral("--render") : QStringLiteral("--convert");
    if (convert && render)
        return usageError(program, QStringLiteral("--convert and --render cannot be used together."));
    if (parser.isSet(QStringLiteral("check")) && (convert || render))
        return usageError(program, QStringLiteral("--check and %1 cannot be used together.").arg(mode));
    if (parser.isSet(QStringLiteral("size")) && !render)
        return usageError(program, QStringLiteral("--size needs --render."));
    if (!convert && !render) {
        return usageError(program, QStringLiteral("%1 needs --convert or --render.")
                                       .arg(parser.isSet(QStringLiteral("output-dir")) ? QStringLiteral("--output-dir")
                                                                                      : QStringLiteral("--overwrite")));
    }
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(program, QStringLiteral("%1 needs --output-dir DIR.").arg(mode));
    if (files.isEmpty())
        return usageError(program, QStringLiteral("%1 needs at least one %2.").arg(mode, render ? QStringLiteral("THEME") : QStringLiteral("SCHEME")));
    // An unset shell variable gives an empty DIR: never the current folder.
    const QString dir = parser.value(QStringLiteral("output-dir"));
    if (dir.isEmpty())
        return usageError(program, QStringLiteral("--output-dir is empty; give it a folder."));
    CommandLine result;
    if (render) {
        const std::optional<QSize> parsed =
            parser.isSet(QStringLiteral("size")) ? parseSize(parser.value(QStringLiteral("size"))) : std::optional(MockSize);
        if (!parsed) {
            return usageError(program, QStringLiteral("--size takes WIDTHxHEIGHT, each 1 to %1, such as 1120x760.")
                                           .arg(MaxRenderSide));
        }
        result.size = *parsed;
    }
    result.action = render ? CommandLine::Action::Render : CommandLine::Action::Convert;
    result.program = program;
    result.inputFiles = files;
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
    const QCommandLineOption renderOption(
        QStringLiteral("render"),
        QStringLiteral("Write a picture (PNG) of each THEME, the chat window as the preview draws it, into DIR; open no window."));
    const QCommandLineOption outputDirOption(QStringLiteral("output-dir"),
                                             QStringLiteral("The folder --convert and --render write to, made when missing."),
                                             QStringLiteral("DIR"));
    const QCommandLineOption overwriteOption(QStringLiteral("overwrite"),
                                             QStringLiteral("Let --convert and --render replace a file already in DIR."));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("The picture's size for --render (default %1x%2).").arg(MockSize.width()).arg(MockSize.height()),
        QStringLiteral("WIDTHxHEIGHT"));
    parser.addOption(versionOption);
    parser.addOption(checkOption);
    parser.addOption(convertOption);
    parser.addOption(renderOption);
    parser.addOption(outputDirOption);
    parser.addOption(overwriteOption);
    parser.addOption(sizeOption);
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
    if (parser.isSet(convertOption) || parser.isSet(renderOption) || parser.isSet(outputDirOption)
        || parser.isSet(overwriteOption) || parser.isSet(sizeOption))
        return parseBatch(parser, files, program);
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
