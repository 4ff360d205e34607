#include "app/AppSetup.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovex Theme Editor"));
    ovex::ConfigureApplication(app);

    ovex::frmMain window(ovex::DesktopServices::Real());
    window.show();
    return QApplication::exec();
}
