#include "app/AppSetup.h"
#include "app/CommandLine.h"
#include "app/SchemeConvert.h"
#include "app/ThemeCheck.h"
#include "app/frmMain.h"
#include "recovery/RecoveryFolder.h"
#include "AppInfo.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

// Decided before QApplication exists, so that --help, --version, --check and
// --convert need no display.
QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A script reads --check's stderr for its own failures: Qt's notes about
// the session it runs in (no XDG_RUNTIME_DIR from cron, CI or root) are no
// concern of it. Critical and fatal messages still go out.
void quietCheckMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
}

int check(int argc, char* argv[], const QStringList& files)
{
    // The editor is built but never shown: no display is needed or used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietCheckMessages);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    return ovex::RunThemeCheck(files, out);
}

} // namespace

int main(int argc, char* argv[])
{
    const ovex::CommandLine commandLine = ovex::ParseCommandLine(argumentsOf(argc, argv), QDir::currentPath());
    switch (commandLine.action) {
    case ovex::CommandLine::Action::Exit:
        std::fputs(commandLine.text.toLocal8Bit().constData(), commandLine.toStderr ? stderr : stdout);
        return commandLine.exitStatus;
    case ovex::CommandLine::Action::Check:
        return check(argc, argv, commandLine.checkFiles);
    case ovex::CommandLine::Action::Convert: {
        // Files in, files out: no application object, no display.
        QTextStream out(stdout);
        return ovex::RunSchemeConvert(commandLine.schemeFiles, commandLine.outputDir, out);
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
