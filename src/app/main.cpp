#include "app/AppSetup.h"
#include "app/frmMain.h"
#include "AppInfo.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovex Theme Editor"));
    // Lets the desktop match the windows to the launcher and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ovex::appinfo::AppId));
    ovex::ConfigureApplication(app);

    ovex::frmMain window(ovex::DesktopServices::Real());
    window.show();
    return QApplication::exec();
}
