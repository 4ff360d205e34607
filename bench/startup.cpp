// Starts, shows one window, waits until it has been painted, and exits.
//   ovex_startup editor   the editor's main window, set up as the program does
//   ovex_startup bare     a plain QMainWindow holding one label
//   ovex_startup copies DIR   leaves in DIR the copies of 100 editors that
//                         ended with unsaved work, for OVEX_STARTUP_RECOVERY
// With OVEX_STARTUP_PHASES set it prints how long each phase took.
// The editor keeps its recovery copies in ovex-startup-recovery in the
// temporary folder, kept from run to run as a user's folder is, never in
// the user's; OVEX_STARTUP_RECOVERY names another folder, or "off". With
// OVEX_STARTUP_LOOKUP set, the editor looks for a copy to recover right
// after the first paint, as opening the Edit menu makes it do, and exits
// once that is done.
// Timed as whole processes by bench/run.sh (hyperfine, /usr/bin/time).
#include "app/AppSetup.h"
#include "recovery/RecoveryKeeper.h"
#include "app/frmMain.h"
#include "SampleCopy.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
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
// With a keeper of recovery copies, once its look-up, started at once, is
// done too.
class QuitAfterPaint final : public QObject
{
public:
    explicit QuitAfterPaint(ovex::RecoveryKeeper* keeper) : m_keeper(keeper)
    {
        if (m_keeper)
            connect(m_keeper, &ovex::RecoveryKeeper::EntriesChanged, this, [this] { m_lookedUp = true; quitWhenDone(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            QTimer::singleShot(0, qApp, [this] {
                phase("show, first paint");
                m_painted = true;
                if (m_keeper)
                    m_keeper->LookUp();
                quitWhenDone();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void quitWhenDone()
    {
        if (!m_painted || (m_keeper && !m_lookedUp))
            return;
        if (m_keeper)
            phase("recovery look-up");
        QCoreApplication::quit();
    }

    ovex::RecoveryKeeper* m_keeper;
    bool m_painted = false;
    bool m_lookedUp = false;
};

// 100 copies left by editors that ended with unsaved work, changed over the
// last 100 minutes.
int leaveCopies(const QString& folder)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0; i < 100; ++i) {
        if (ovex::test::EndedCopy(folder, ovex::test::SampleCopy(now - i * 60000)).isEmpty()) {
            std::fprintf(stderr, "cannot write a copy in %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "copies" && argc == 3)
        return leaveCopies(QString::fromLocal8Bit(argv[2]));
    if (mode != "editor" && mode != "bare") {
        std::fprintf(stderr, "usage: %s editor|bare|copies DIR\n", argv[0]);
        return 2;
    }
    const QByteArray chosen = qgetenv("OVEX_STARTUP_RECOVERY");
    const QString recoveryFolder = chosen == "off"   ? QString()
                                   : chosen.isEmpty() ? QDir::temp().filePath(QStringLiteral("ovex-startup-recovery"))
                                                      : QString::fromLocal8Bit(chosen);

    g_clock.start();
    QApplication app(argc, argv);
    phase("QApplication");
    std::unique_ptr<QMainWindow> window;
    if (mode == "editor") {
        QApplication::setApplicationName(QStringLiteral("Ovex Theme Editor"));
        ovex::ConfigureApplication(app);
        phase("style and fonts");
        window = std::make_unique<ovex::frmMain>(ovex::DesktopServices::Real(recoveryFolder));
    } else {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("Ovex Theme Editor")));
    }
    phase("window built");

    auto* editor = qobject_cast<ovex::frmMain*>(window.get());
    QuitAfterPaint watcher(editor && qEnvironmentVariableIsSet("OVEX_STARTUP_LOOKUP") ? editor->recovery() : nullptr);
    window->installEventFilter(&watcher);
    window->show();
    // Never paints: fail rather than hang the benchmark.
    QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(1); });
    const int status = QApplication::exec();
    window.reset();
    phase("window closed");
    return status;
}
