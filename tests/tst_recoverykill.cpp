// Editors killed (SIGKILL) while a user works: before their first copy, while
// a change waits for its write, and in the middle of a write. Each time, the
// next editor on the folder offers exactly a state the killed one showed, at
// most a second old, or nothing when its work was saved or unchanged then.
//
// The child (--drive) is an offscreen editor making random edits through the
// window, reporting on stdout each state it shows, with the time and whether
// the work was saved, and each copy it hands over to be written.
#include "EditActions.h"

#include "recovery/RecoveryKeeper.h"
#include "theme/NewTheme.h"
#include "theme/ThemeCapture.h"
#include "recovery/RecoveryCopy.h"

#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

#include <csignal>
#include <cstdio>
#include <thread>

using namespace ovex;
using namespace ovex::test;

namespace {

// A copy may be older than the kill by the delay before its write and the
// write itself; on a loaded machine both the timer and the write can run
// late, which this margin allows for.
constexpr qint64 AllowedAgeMs = 1000;
constexpr qint64 LoadMarginMs = 1000;

constexpr int Rounds = 120;
constexpr int AtOnce = 6;

qint64 now() { return QDateTime::currentMSecsSinceEpoch(); }

void report(const char* what, const QByteArray& rest = {})
{
    std::printf("%s %lld %s\n", what, now(), rest.constData());
    std::fflush(stdout);
}

void reportState(const TestEditor& ed)
{
    const bool clean = ed->undoStack().isClean();
    const QByteArray packed = EncodeRecoveryCopy({CaptureTheme(ed.editor()), 0, clean}).value_or(QByteArray());
    report("state", packed.toBase64());
}

// A random edit, mostly small ones, as a user makes them.
QString randomEdit(QRandomGenerator& random)
{
    const int r = int(random.bounded(100));
    const auto text = [&random] {
        static const QString letters = QStringLiteral("abcXYZ09 \u00E9\u20AC");
        QString typed;
        for (int n = 1 + int(random.bounded(3)); n > 0; --n)
            typed += letters[int(random.bounded(letters.size()))];
        return typed;
    };
    if (r < 25)
        return QStringLiteral("click %1").arg(random.bounded(SlotCount));
    if (r < 45)
        return QStringLiteral("pick %1 %2").arg(random.bounded(ColorSlotCount)).arg(random.bounded(0x1000000), 6, 16, QChar(u'0'));
    if (r < 65)
        return QStringLiteral("type %1 %2").arg(random.bounded(6)).arg(text());
    if (r < 70)
        return QStringLiteral("leave");
    if (r < 77) {
        const int file = int(random.bounded(4));
        return file == 3 ? QStringLiteral("import part.theme") : QStringLiteral("import full%1.theme").arg(file);
    }
    if (r < 80)
        return QStringLiteral("new");
    if (r < 88)
        return QStringLiteral("undo");
    if (r < 93)
        return QStringLiteral("redo");
    return QStringLiteral("save saved-%1.theme").arg(random.bounded(1000));
}

// The child: edits until killed. Pauses are mostly short, so that changes
// come in bursts, and now and then longer than the write's delay. Given a
// number of edits, it stops after them, often with a Save or an Import.
int drive(const QString& folder, const QString& dir, quint32 seed, int edits)
{
    TestEditor ed(folder);
    ed->show();
    if (!QTest::qWaitForWindowExposed(ed.window.get()))
        return 3;
    ed->recovery()->LookUpNow();
    QObject::connect(ed->recovery(), &RecoveryKeeper::WriteQueued, [] { report("write"); });
    reportState(ed);
    report("ready");
    QRandomGenerator random(seed);
    for (int n = 1;; ++n) {
        const int kind = int(random.bounded(10));
        QTest::qWait(int(kind < 6 ? random.bounded(60) : kind < 9 ? 100 + random.bounded(400) : 900 + random.bounded(600)));
        QStringList edit{randomEdit(random)};
        if (n == edits && random.bounded(3) == 0)
            edit = {QStringLiteral("import full%1.theme").arg(random.bounded(3))};
        else if (n == edits && random.bounded(2) == 0)
            edit = {QStringLiteral("type 0 s"), QStringLiteral("save last.theme")};
        for (const QString& line : edit) {
            if (!Perform(ed, line, dir))
                return 4;
            reportState(ed);
        }
        if (n == edits) {
            report("idle");
            for (;;)
                QTest::qWait(1000);
        }
    }
}

struct Shown
{
    qint64 since;
    bool clean;
    ThemeState state;
};

// When the kill comes: at a random moment; within the delay after a change,
// before its write; in the middle of a write; or once the child has stopped
// editing for longer than a copy may be old.
enum class Aim { Anytime, AfterChange, AtWrite, Idle };

struct Round
{
    int index = 0;
    Aim aim = Aim::Anytime;
    QString folder;
    std::unique_ptr<QProcess> child;
    QList<Shown> shown;
    qint64 readyAt = -1;
    qint64 killAt = -1;
    qint64 killedAt = -1;
    int changesToWait = 0;  // AfterChange: the change after which the kill is timed
    int writesToWait = 0;   // AtWrite: the write in which the kill lands
    int edits = 0;          // Idle: the edits before the child stops
    int writes = 0;
    QByteArray pending;

    Round() = default;
    Round(Round&&) = default;
    ~Round()
    {
        // A failed check leaves no child behind.
        if (child && child->state() != QProcess::NotRunning) {
            child->kill();
            child->waitForFinished(30000);
        }
    }
};

} // namespace

class RecoveryKillTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_base;
    QRandomGenerator m_random{20240811};
    qint64 m_oldest = 0;
    int m_offered = 0;
    int m_beforeFirstWrite = 0;

    // Reads what the child has reported; false when it said something unknown.
    bool readReports(Round& round)
    {
        round.pending += round.child->readAllStandardOutput();
        for (qsizetype end; (end = round.pending.indexOf('\n')) >= 0; round.pending.remove(0, end + 1)) {
            const QList<QByteArray> part = round.pending.left(end).split(' ');
            const qint64 at = part.value(1).toLongLong();
            if (part[0] == "state") {
                const auto decoded = DecodeRecoveryCopy(QByteArray::fromBase64(part.value(2)));
                const RecoveryCopy* copy = std::get_if<RecoveryCopy>(&decoded);
                if (!copy)
                    return false;
                round.shown.append({at, copy->clean, copy->state});
                if (round.aim == Aim::AfterChange && round.shown.size() == round.changesToWait + 1)
                    round.killAt = at + qint64(m_random.bounded(RecoveryDelayMs));
            } else if (part[0] == "ready") {
                round.readyAt = at;
                // Other aims set their moment later; this one is the latest.
                round.killAt = round.aim == Aim::Anytime ? at + qint64(m_random.bounded(2500)) : at + 12000;
            } else if (part[0] == "idle") {
                round.killAt = at + AllowedAgeMs + LoadMarginMs + qint64(m_random.bounded(1000));
            } else if (part[0] == "write") {
                if (++round.writes == round.writesToWait && round.aim == Aim::AtWrite) {
                    // Into the write that has just begun: it takes a millisecond or more.
                    std::this_thread::sleep_for(std::chrono::microseconds(m_random.bounded(1500)));
                    round.killAt = 0;
                }
            } else {
                return false;
            }
        }
        return true;
    }

    void kill(Round& round)
    {
        round.killedAt = now();
        QCOMPARE(::kill(pid_t(round.child->processId()), SIGKILL), 0);
        QVERIFY(round.child->waitForFinished(30000));
        QVERIFY(readReports(round));
        round.killAt = -1;
    }

    // What the next editor offers must be a state the child showed, not older
    // than allowed; nothing only when its work was saved or unchanged then.
    void check(const Round& round)
    {
        QVERIFY2(!round.shown.isEmpty(), qPrintable(round.child->readAllStandardError()));
        const qint64 oldestAllowed = round.killedAt - AllowedAgeMs - LoadMarginMs;
        const auto shownUntil = [&](qsizetype i) {
            return i + 1 < round.shown.size() ? round.shown[i + 1].since : round.killedAt;
        };
        if (round.writes == 0)
            ++m_beforeFirstWrite;

        TestEditor next(round.folder);
        next->show();
        QVERIFY(QTest::qWaitForWindowExposed(next.window.get()));
        next->recovery()->LookUpNow();
        QAction* recover = next.action(QStringLiteral("mnuRecover"));
        const QString where = QStringLiteral("round %1, killed %2 ms after ready, %3 states, %4 writes")
                                  .arg(round.index)
                                  .arg(round.killedAt - round.readyAt)
                                  .arg(round.shown.size())
                                  .arg(round.writes);
        if (!recover->isEnabled()) {
            bool allowed = false;
            for (qsizetype i = 0; i < round.shown.size(); ++i) {
                const Shown& s = round.shown[i];
                allowed = allowed || ((s.clean || s.state == NewThemeState()) && shownUntil(i) >= oldestAllowed);
            }
            QVERIFY2(allowed, qPrintable(where + QStringLiteral(": nothing offered")));
            return;
        }
        recover->trigger();
        const ThemeState recovered = CaptureTheme(next.editor());
        qint64 latest = -1;
        for (qsizetype i = 0; i < round.shown.size(); ++i) {
            if (round.shown[i].state == recovered && !round.shown[i].clean)
                latest = std::max(latest, shownUntil(i));
        }
        QVERIFY2(latest >= 0, qPrintable(where + QStringLiteral(": offered a state never shown")));
        QVERIFY2(recovered != NewThemeState(), qPrintable(where));
        QVERIFY2(latest >= oldestAllowed,
                 qPrintable(where + QStringLiteral(": offered a state %1 ms old").arg(round.killedAt - latest)));
        m_oldest = std::max(m_oldest, round.killedAt - latest);
        ++m_offered;
    }

private Q_SLOTS:
    void killedWhileEditing()
    {
        const QString dir = m_base.filePath(QStringLiteral("themes"));
        QVERIFY(QDir().mkpath(dir) && WriteImportFiles(dir));
        for (int first = 0; first < Rounds; first += AtOnce) {
            std::vector<Round> rounds(AtOnce);
            for (int k = 0; k < AtOnce; ++k) {
                Round& round = rounds[k];
                round.index = first + k;
                round.aim = Aim(round.index % 4);
                round.edits = round.aim == Aim::Idle ? 1 + int(m_random.bounded(8)) : 0;
                round.changesToWait = 1 + int(m_random.bounded(8));
                round.writesToWait = 1 + int(m_random.bounded(2));
                round.folder = m_base.filePath(QStringLiteral("round-%1").arg(round.index));
                round.child = std::make_unique<QProcess>();
                round.child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
                round.child->start(QCoreApplication::applicationFilePath(),
                                   {QStringLiteral("--drive"), round.folder, dir, QString::number(m_random.generate()),
                                    QString::number(round.edits)});
            }
            for (bool running = true; running;) {
                running = false;
                for (Round& round : rounds) {
                    if (round.killedAt >= 0)
                        continue;
                    running = true;
                    QVERIFY2(round.child->state() != QProcess::NotRunning, "the child ended by itself");
                    QVERIFY(readReports(round));
                    if (round.killAt >= 0 && now() >= round.killAt)
                        kill(round);
                }
                if (running)
                    QTest::qWait(1);
            }
            for (const Round& round : rounds) {
                check(round);
                if (QTest::currentTestFailed())
                    return;
            }
        }
        qInfo("%d of %d rounds offered a copy, at most %lld ms older than the kill; %d killed before their first write",
              m_offered, Rounds, m_oldest, m_beforeFirstWrite);
        QVERIFY(m_offered > Rounds / 4 && m_offered < Rounds);  // or the kills did not land at varied moments
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ConfigureApplication(app);
    if (argc == 6 && qstrcmp(argv[1], "--drive") == 0) {
        return drive(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]).toUInt(),
                     QByteArray(argv[5]).toInt());
    }
    RecoveryKillTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recoverykill.moc"
