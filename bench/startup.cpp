// Starts, shows one window, waits until it has been painted, and exits.
//   ovex_startup editor   the editor's main window, set up as the program does
//   ovex_startup bare     a plain QMainWindow holding one label
// With OVEX_STARTUP_PHASES set it prints how long each phase took.
// Timed as whole processes by bench/run.sh (hyperfine, /usr/bin/time).
#include "app/AppSetup.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

QElapsedTimer g_clock;

void phase(const char* name)
{
    static const bool wanted = qEnvironmentVariableIsSet("OVEX_STARTUP_PHASES");
    static qint64 last = 0;
    if (!wanted)
        return;
    const qint64 now = g_clock.nsecsElapsed();
    std::fprintf(stderr, "%-22s %7.2f ms\n", name, double(now - last) / 1e6);
    last = now;
}

// Quits once the window's first paint is done: the paint of the children
// follows in the same pass, before the event loop runs the queued quit.
class QuitAfterPaint final : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, qApp, [] {
                phase("show, first paint");
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode != "editor" && mode != "bare") {
        std::fprintf(stderr, "usage: %s editor|bare\n", argv[0]);
        return 2;
    }

    g_clock.start();
    QApplication app(argc, argv);
    phase("QApplication");
    std::unique_ptr<QMainWindow> window;
    if (mode == "editor") {
        QApplication::setApplicationName(QStringLiteral("Ovex Theme Editor"));
        ovex::ConfigureApplication(app);
        phase("style and fonts");
        window = std::make_unique<ovex::frmMain>(ovex::DesktopServices::Real());
    } else {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("Ovex Theme Editor")));
    }
    phase("window built");

    QuitAfterPaint watcher;
    window->installEventFilter(&watcher);
    window->show();
    // Never paints: fail rather than hang the benchmark.
    QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(1); });
    const int status = QApplication::exec();
    window.reset();
    phase("window closed");
    return status;
}
