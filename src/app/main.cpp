#include "app/AppSetup.h"
#include "app/CommandLine.h"
#include "app/SchemeConvert.h"
#include "app/ThemeCheck.h"
#include "app/ThemeRender.h"
#include "app/frmMain.h"
#include "recovery/RecoveryFolder.h"
#include "AppInfo.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

// Decided before QApplication exists, so that --help, --version, --check,
// --convert and --render need no display.
QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A script reads the batch modes' stderr for their own failures: Qt's notes
// about the session it runs in (no XDG_RUNTIME_DIR from cron, CI or root)
// are no concern of it. Critical and fatal messages still go out.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
}

int render(int argc, char* argv[], const ovex::CommandLine& commandLine)
{
    // The fonts need an application; no display is needed or used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    ovex::AddEmbeddedFonts();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return ovex::RunThemeRender(commandLine.program, commandLine.inputFiles, commandLine.outputDir,
                                commandLine.overwrite ? ovex::Overwrite::Replace : ovex::Overwrite::Keep,
                                commandLine.size, out, err);
}

} // namespace

int main(int argc, char* argv[])
{
    const ovex::CommandLine commandLine = ovex::ParseCommandLine(argumentsOf(argc, argv), QDir::currentPath());
    switch (commandLine.action) {
    case ovex::CommandLine::Action::Exit:
        std::fputs(commandLine.text.toLocal8Bit().constData(), commandLine.toStderr ? stderr : stdout);
        return commandLine.exitStatus;
    case ovex::CommandLine::Action::Check: {
        // Files read and judged: no application object, no display.
        QTextStream out(stdout);
        return ovex::RunThemeCheck(commandLine.checkFiles, out);
    }
    case ovex::CommandLine::Action::Render:
        return render(argc, argv, commandLine);
    case ovex::CommandLine::Action::Convert: {
        // Files in, files out: no application object, no display.
        QTextStream out(stdout);
        QTextStream err(stderr);
        return ovex::RunSchemeConvert(commandLine.program, commandLine.inputFiles, commandLine.outputDir,
                                      commandLine.overwrite ? ovex::Overwrite::Replace : ovex::Overwrite::Keep, out, err);
    }
    case ovex::CommandLine::Action::OpenWindow:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovex Theme Editor"));
    // Lets the desktop match the windows to the launcher and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ovex::appinfo::AppId));
    ovex::ConfigureApplication(app);

    ovex::frmMain window(ovex::DesktopServices::Real(ovex::RecoveryFolder()));
    window.show();
    if (!commandLine.file.isEmpty()) {
        // Queued, so that a message about the file appears over the shown window.
        QMetaObject::invokeMethod(
            &window, [&window, file = commandLine.file] { window.OpenThemeFile(file); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}
