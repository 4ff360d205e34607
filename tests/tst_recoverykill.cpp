// Editors killed (SIGKILL) while a user works: before their first copy, while
// a change waits for its write, and in the middle of a write. Each time, the
// next editor lists the killed one's current work as "editor ended
// unexpectedly", a state it showed at most a second before the kill (or its
// latest unsaved state, when it showed none since), and each piece of work
// it replaced earlier; nothing only when that work was saved.
//
// The child (--drive) is an offscreen editor making random edits through the
// window, reporting on stdout each state it shows, with the time and whether
// it is unsaved work, each replacement of its work (New, an Import that
// changed it) and each copy it hands over to be written.
#include "EditActions.h"

#include "recovery/RecoveryKeeper.h"
#include "recovery/KeptCopies.h"
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

// OVEX_RECOVERY_KILLS: tools/test kills 24 times, CI 120 in a step of its own.
const int Rounds = qEnvironmentVariableIsSet("OVEX_RECOVERY_KILLS") ? qEnvironmentVariableIntValue("OVEX_RECOVERY_KILLS") : 120;
constexpr int AtOnce = 6;

qint64 now() { return QDateTime::currentMSecsSinceEpoch(); }

void report(const char* what, const QByteArray& rest = {})
{
    std::printf("%s %lld %s\n", what, now(), rest.constData());
    std::fflush(stdout);
}

// Work is unsaved unless it is a new window's or the state last saved or read.
void reportState(const ThemeState& state, const ThemeState& saved)
{
    const QByteArray packed = EncodeRecoveryCopy({state, 0, CopyEnding::Open}).value_or(QByteArray());
    report("state", packed.toBase64() + (state != NewThemeState() && state != saved ? " work" : " kept"));
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
    ed->recovery()->LookUp();
    ed->recovery()->Settle();
    QObject::connect(ed->recovery(), &RecoveryKeeper::WriteQueued, [] { report("write"); });
    ThemeState saved = NewThemeState();
    reportState(CaptureTheme(ed.editor()), saved);
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
            const ThemeState before = CaptureTheme(ed.editor());
            if (!Perform(ed, line, dir))
                return 4;
            const ThemeState after = CaptureTheme(ed.editor());
            if (line == u"new" || (line.startsWith(u"import") && after != before))
                report("replaced");
            // A Save that wrote, an Import that applied the file: the history is clean.
            if ((line.startsWith(u"save") || line.startsWith(u"import")) && ed->undoStack().isClean())
                saved = after;
            if (line.startsWith(u"save") && ed->undoStack().isClean())
                report("saved");
            reportState(after, saved);
        }
        if (n == edits) {
            report("idle");
            for (;;)
                QTest::qWait(1000);
        }
    }
}

// What the child showed: a state (work or not) from since on, a replacement
// of its work, or a Save.
struct Shown
{
    enum Kind { State, Replaced, Saved };
    qint64 since;
    Kind kind = State;
    bool work = false;
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
    int changes = 0;
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
    qsizetype m_pieces = 0;

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
                round.shown.append({at, Shown::State, part.value(3) == "work", copy->state});
                if (round.aim == Aim::AfterChange && ++round.changes == round.changesToWait + 1)
                    round.killAt = at + qint64(m_random.bounded(RecoveryDelayMs));
            } else if (part[0] == "replaced" || part[0] == "saved") {
                round.shown.append({at, part[0] == "saved" ? Shown::Saved : Shown::Replaced, false, {}});
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

    // The work states of one piece, each with when it was shown; whether its
    // work needs no copy: none lasted long enough to be written, or the
    // latest was saved after it.
    struct Piece
    {
        QList<std::pair<ThemeState, std::pair<qint64, qint64>>> work;  // state, [since, until)
        bool savedAfterLasting = true;
        std::optional<ThemeState> atEnd;  // the work shown when it was replaced, if any
        qint64 endedAt = -1;
    };

    QList<Piece> pieces(const Round& round) const
    {
        QList<Piece> found(1);
        bool lastWasWork = false;
        qint64 runStart = 0;
        for (qsizetype i = 0; i < round.shown.size(); ++i) {
            const Shown& s = round.shown[i];
            Piece& piece = found.last();
            if (s.kind == Shown::Replaced) {
                piece.endedAt = s.since;
                if (lastWasWork)
                    piece.atEnd = piece.work.last().first;
                found.append(Piece{});
                lastWasWork = false;
                continue;
            }
            if (s.kind == Shown::Saved) {
                // The latest work saved: its copy goes.
                if (lastWasWork)
                    piece.savedAfterLasting = true;
                continue;
            }
            qsizetype next = i + 1;
            while (next < round.shown.size() && round.shown[next].kind == Shown::Saved)
                ++next;
            const qint64 until = next < round.shown.size() ? round.shown[next].since : round.killedAt;
            // Unsaved work shown for a while, however fast it changed, has
            // been written.
            runStart = lastWasWork ? runStart : s.since;
            lastWasWork = s.work;
            if (s.work) {
                piece.work.append({s.state, {s.since, until}});
                if (until - runStart >= AllowedAgeMs + LoadMarginMs)
                    piece.savedAfterLasting = false;
            }
        }
        return found;
    }

    // The next editor must list the killed one's current work as it was at
    // most a second before the kill, or its latest unsaved state; and each
    // piece it replaced that had work still unsaved.
    void check(const Round& round)
    {
        QVERIFY2(!round.shown.isEmpty(), qPrintable(round.child->readAllStandardError()));
        const qint64 oldestAllowed = round.killedAt - AllowedAgeMs - LoadMarginMs;
        if (round.writes == 0)
            ++m_beforeFirstWrite;

        TestEditor next(round.folder);
        next->show();
        QVERIFY(QTest::qWaitForWindowExposed(next.window.get()));
        next->recovery()->LookUp();
        next->recovery()->Settle();
        const QList<KeptCopy> entries = next->recovery()->Entries();
        const QString where = QStringLiteral("round %1, killed %2 ms after ready, %3 reports, %4 writes, %5 entries")
                                  .arg(round.index)
                                  .arg(round.killedAt - round.readyAt)
                                  .arg(round.shown.size())
                                  .arg(round.writes)
                                  .arg(entries.size());
        const auto listed = [&entries](const ThemeState& state) {
            return std::any_of(entries.begin(), entries.end(), [&state](const KeptCopy& e) { return e.copy.state == state; });
        };
        const QList<Piece> all = pieces(round);
        const Piece& current = all.last();
        std::optional<ThemeState> live;
        for (const KeptCopy& entry : entries) {
            if (entry.copy.ending == CopyEnding::Open) {
                QVERIFY2(!live, qPrintable(where + QStringLiteral(": two copies of the current work")));
                live = entry.copy.state;
            }
        }
        // Work shown within the last second (and the margin) must be what is
        // listed, when there is any; else any of the piece's work may be.
        // A piece replaced just before the kill may not have been kept yet:
        // its live copy still stands for it.
        bool recent = false;
        bool matches = false;
        bool matchesRecent = false;
        for (qsizetype p = all.size() - 1; p >= 0 && (p == all.size() - 1 || all[p].endedAt >= oldestAllowed); --p) {
            for (const auto& [state, shown] : all[p].work) {
                const bool isRecent = shown.second >= oldestAllowed;
                recent = recent || (isRecent && p == all.size() - 1);
                matches = matches || (live && state == *live);
                matchesRecent = matchesRecent || (isRecent && live && state == *live);
            }
        }
        if (live) {
            QVERIFY2(matches, qPrintable(where + QStringLiteral(": listed a state never shown as work")));
            QVERIFY2(!recent || matchesRecent, qPrintable(where + QStringLiteral(": listed work older than a second")));
            for (const auto& [state, shown] : current.work) {
                if (state == *live && recent)
                    m_oldest = std::max(m_oldest, round.killedAt - std::min(shown.second, round.killedAt));
            }
            ++m_offered;
        } else {
            QVERIFY2(current.savedAfterLasting, qPrintable(where + QStringLiteral(": the current work is not listed")));
        }
        // Earlier pieces: their copies were written as they were replaced.
        for (qsizetype p = 0; p + 1 < all.size(); ++p) {
            const Piece& piece = all[p];
            if (piece.endedAt > round.killedAt - LoadMarginMs)
                continue;
            if (piece.atEnd) {
                QVERIFY2(listed(*piece.atEnd), qPrintable(where + QStringLiteral(": piece %1 is not listed").arg(p)));
            } else if (!piece.savedAfterLasting) {
                QVERIFY2(std::any_of(piece.work.begin(), piece.work.end(), [&](const auto& w) { return listed(w.first); }),
                         qPrintable(where + QStringLiteral(": no work of piece %1 is listed").arg(p)));
            }
        }
        m_pieces += all.size() - 1;
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
        qInfo("%d of %d rounds listed the current work, at most %lld ms older than the kill; %d killed before "
              "their first write; %lld pieces replaced before the kills",
              m_offered, Rounds, m_oldest, m_beforeFirstWrite, qlonglong(m_pieces));
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
