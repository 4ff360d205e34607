// Recovery through the window: unsaved work of an editor that has ended is
// offered by the next and brought back exactly, as one undo step; saved or
// unchanged work leaves nothing; running editors keep their copies apart.
#include "EditActions.h"
#include "SampleCopy.h"

#include "app/RecoveryKeeper.h"
#include "theme/NewTheme.h"
#include "slots/ThemeText.h"
#include "theme/ThemeCapture.h"
#include "theme/RecoveryFolder.h"

#include <QDateTime>
#include <QLocale>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;
using namespace ovex::test;

namespace {

constexpr qint64 Day = 24 * 60 * 60 * 1000;

QStringList copiesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.recovery")}, QDir::Files | QDir::Hidden | QDir::System);
}

// Shows the editor and has it look for a copy, as opening the Edit menu does.
bool started(TestEditor& ed)
{
    ed->show();
    if (!QTest::qWaitForWindowExposed(ed.window.get()))
        return false;
    ed->recovery()->LookUpNow();
    return true;
}

QAction* recoverItem(const TestEditor& ed) { return ed.action(QStringLiteral("mnuRecover")); }

// Runs the script in a new editor on folder, which then ends with its work.
// The theme as it ended, and the file Save would have written then.
struct Ended
{
    bool ran = false;
    ThemeState state;
    QByteArray saved;
};
Ended endEditor(const QString& folder, const QString& script, const QString& dir)
{
    TestEditor ed(folder);
    if (!started(ed) || !PerformAll(ed, script, dir))
        return {};
    Ended ended{true, CaptureTheme(ed.editor()), {}};
    // The window's own writer: it writes the file without the Save command
    // marking the work as saved.
    const QString path = dir + QStringLiteral("/before-end.theme");
    QFile::remove(path);
    ed->IO_CreateFile2(path, ed.editor().SaveKeys);
    ended.saved = ReadTestFile(path);
    return ended;
}

} // namespace

class RecoveryWindowTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_base;
    QString m_dir;  // theme files to import, and saves

    QString rowFolder() const
    {
        return m_base.filePath(QStringLiteral("%1-%2").arg(QTest::currentTestFunction(), QTest::currentDataTag()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_dir = m_base.filePath(QStringLiteral("themes"));
        QVERIFY(QDir().mkpath(m_dir) && WriteImportFiles(m_dir));
    }

    // New and a new window agree on the empty theme, which is never kept.
    void newThemeState()
    {
        TestEditor ed;
        QCOMPARE(CaptureTheme(ed.editor()), NewThemeState());
        QVERIFY(PerformAll(ed, QStringLiteral("import full1.theme; type 0 x; new"), m_dir));
        QCOMPARE(CaptureTheme(ed.editor()), NewThemeState());
    }

    // The folder is not even looked at before the first paint.
    void nothingBeforeFirstPaint()
    {
        const QString folder = rowFolder();
        TestEditor ed(folder);
        QTest::qWait(50);
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(started(ed));
        QVERIFY(QFileInfo(folder).isDir());
    }

    // The look-up comes by itself a while after the first paint, or at once
    // when the Edit menu opens before that.
    void lookUpByItselfOrForTheMenu_data()
    {
        QTest::addColumn<bool>("openMenu");
        QTest::newRow("by itself") << false;
        QTest::newRow("menu opened first") << true;
    }
    void lookUpByItselfOrForTheMenu()
    {
        QFETCH(bool, openMenu);
        const QString folder = rowFolder();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!ClosedEditorCopy(folder, SampleCopy(QDateTime::currentMSecsSinceEpoch() - 1000)).isEmpty());
        TestEditor ed(folder);
        QSignalSpy lookedUp(ed->recovery(), &RecoveryKeeper::LookedUp);
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        QVERIFY(!recoverItem(ed)->isEnabled());
        if (openMenu) {
            auto* edit = ed.find<QMenu>(QStringLiteral("mnuEdit"));
            Q_EMIT edit->aboutToShow();
            QVERIFY(recoverItem(ed)->isEnabled());
        } else {
            QVERIFY(lookedUp.wait(10 * LookUpDelayMs));
            QVERIFY(recoverItem(ed)->isEnabled());
        }
        QCOMPARE(lookedUp.count(), 1);
    }

    // The Edit menu's last item, with no keys.
    void menuItem()
    {
        const TestEditor ed;
        QCOMPARE(ed.find<QMenu>(QStringLiteral("mnuEdit"))->actions().last(), recoverItem(ed));
        QCOMPARE(recoverItem(ed)->text(), QStringLiteral("Re&cover Unsaved Theme"));
        QVERIFY(recoverItem(ed)->shortcuts().isEmpty());
    }

    // Work left unsaved comes back exactly, as one undo step.
    void unsavedWorkRecovered_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("ticks, colours and a name")
            << "click 0; pick 0 ff0000; click 19; pick 19 102030; type 0 Night; leave; pick 5 00ff00";
        QTest::newRow("sizes and a name beyond Latin-1")
            << "type 0 Nacht \u20AC\u591C; type 1 14; type 5 x; click 27; click 31";
        QTest::newRow("saved, then changed") << "type 0 Dawn; click 1; save dawn.theme; pick 1 112233";
        QTest::newRow("undone past the save") << "type 0 Dusk; click 1; leave; save dusk.theme; undo";
        QTest::newRow("import, change, new, undo") << "import full2.theme; click 0; new; undo";
        QTest::newRow("import refused after a change") << "click 3; import missing.theme";
    }
    void unsavedWorkRecovered()
    {
        QFETCH(QString, script);
        const QString folder = rowFolder();
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        const Ended ended = endEditor(folder, script, m_dir);
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        QVERIFY(ended.ran && ended.state != NewThemeState());
        QCOMPARE(copiesIn(folder).size(), 1);

        TestEditor ed(folder);
        QVERIFY(started(ed));
        QCOMPARE(CaptureTheme(ed.editor()), NewThemeState());
        QAction* recover = recoverItem(ed);
        QVERIFY(recover->isEnabled());
        const std::optional<qint64> changedAt = ed->recovery()->OfferChangedAt();
        QVERIFY(changedAt && *changedAt >= before && *changedAt <= after);
        const QString when = QLocale().toString(QDateTime::fromMSecsSinceEpoch(*changedAt), QLocale::ShortFormat);
        QVERIFY2(recover->statusTip().endsWith(when) && recover->toolTip() == recover->statusTip(),
                 qPrintable(recover->statusTip()));

        recover->trigger();
        QVERIFY(ed.messages->Shown().isEmpty());
        QCOMPARE(CaptureTheme(ed.editor()), ended.state);
        QVERIFY(!recover->isEnabled());
        QCOMPARE(ed->undoStack().count(), 1);
        QCOMPARE(ed->undoStack().undoText(), QStringLiteral("Recover Unsaved Theme"));

        // Save writes what it would have written before the editor ended.
        if (ended.state.name != NewThemeState().name) {
            const QString path = m_dir + QStringLiteral("/recovered.theme");
            QFile::remove(path);
            ed.cd->AnswerFile(path);
            ed.action(QStringLiteral("mnuSave"))->trigger();
            QCOMPARE(ReadTestFile(path), ended.saved);
        }

        // The copy is this editor's own now: no other editor offers it.
        {
            TestEditor other(folder);
            QVERIFY(started(other));
            QVERIFY(!recoverItem(other)->isEnabled());
        }

        ed->undoStack().undo();
        QCOMPARE(CaptureTheme(ed.editor()), NewThemeState());
    }

    // Saved work, work that an Import left unchanged and work undone to the
    // start leave no copy, and nothing is offered.
    void nothingToRecover_data()
    {
        // "written", "cleared": the timer's work done at once, leaving a copy or none
        QTest::addColumn<QString>("script");
        QTest::newRow("saved") << "click 0; pick 0 ff0000; type 0 Night; save night.theme";
        QTest::newRow("saved after a copy") << "click 0; written; type 0 Noon; save noon.theme; cleared";
        QTest::newRow("imported") << "import full0.theme";
        QTest::newRow("imported after changes") << "click 3; written; import part.theme";
        QTest::newRow("undone to the start") << "click 0; pick 0 ff0000; written; undo; undo";
        QTest::newRow("new after changes") << "type 0 Gone; written; new";
        QTest::newRow("undone to the save") << "type 0 Eve; save eve.theme; click 9; written; undo";
    }
    void nothingToRecover()
    {
        QFETCH(QString, script);
        const QString folder = rowFolder();
        {
            TestEditor ed(folder);
            QVERIFY(started(ed));
            for (const QString& line : script.split(u';', Qt::SkipEmptyParts)) {
                const bool written = line.trimmed() == u"written";
                if (!written && line.trimmed() != u"cleared") {
                    QVERIFY(Perform(ed, line.trimmed(), m_dir));
                    continue;
                }
                ed->recovery()->WriteNow();
                ed->recovery()->Settle();
                QCOMPARE(copiesIn(folder).size(), written ? 1 : 0);
            }
        }
        QCOMPARE(copiesIn(folder), QStringList());
        TestEditor next(folder);
        QVERIFY(started(next));
        QVERIFY(!recoverItem(next)->isEnabled());
    }

    // A change reaches the disk while typing goes on: later changes never put
    // the write off.
    void steadyTypingWritten()
    {
        const QString folder = rowFolder();
        TestEditor ed(folder);
        QVERIFY(started(ed));
        QSignalSpy queued(ed->recovery(), &RecoveryKeeper::WriteQueued);
        QLineEdit* name = ed.find<QLineEdit>(QStringLiteral("txtThemeName"));
        QElapsedTimer typing;
        typing.start();
        // A key every 100 ms for up to twice the delay; a timer started
        // again by each key would not fire before the typing stops.
        while (queued.isEmpty() && typing.elapsed() < 2 * RecoveryDelayMs) {
            TypeInto(name, QStringLiteral("a"));
            QTest::qWait(100);
        }
        QVERIFY(!queued.isEmpty());
        ed->recovery()->Settle();
        const QStringList copies = copiesIn(folder);
        QCOMPARE(copies.size(), 1);
        const auto read = ReadRecoveryCopy(folder + u'/' + copies[0]);
        QVERIFY(std::holds_alternative<RecoveryCopy>(read));
        QVERIFY(std::get<RecoveryCopy>(read).state.name.startsWith(QStringLiteral("Theme Namea")));
    }

    // Editors that run at the same time keep their copies apart, and none
    // offers the copy of one still running.
    void editorsSideBySide()
    {
        const QString folder = rowFolder();
        const auto edited = [&](TestEditor& ed, const QString& script) {
            if (!started(ed) || !PerformAll(ed, script, m_dir))
                return false;
            ed->recovery()->WriteNow();
            ed->recovery()->Settle();
            return true;
        };
        auto a = std::make_unique<TestEditor>(folder);
        QVERIFY(edited(*a, QStringLiteral("click 0; type 0 A")));
        const ThemeState stateA = CaptureTheme(a->editor());
        auto b = std::make_unique<TestEditor>(folder);
        QVERIFY(edited(*b, QStringLiteral("click 1; type 0 B")));
        const ThemeState stateB = CaptureTheme(b->editor());
        QVERIFY(!recoverItem(*a)->isEnabled() && !recoverItem(*b)->isEnabled());
        QCOMPARE(copiesIn(folder).size(), 2);
        {
            TestEditor c(folder);
            QVERIFY(started(c));
            QVERIFY(!recoverItem(c)->isEnabled());
        }

        a.reset();  // A ends, unsaved; B still runs
        TestEditor d(folder);
        QVERIFY(started(d));
        QVERIFY(recoverItem(d)->isEnabled());
        b.reset();  // B ends too; its copy is newer, but D offers A's already
        {
            TestEditor e(folder);
            QVERIFY(started(e));
            recoverItem(e)->trigger();
            QCOMPARE(CaptureTheme(e.editor()), stateB);
        }
        recoverItem(d)->trigger();
        QCOMPARE(CaptureTheme(d.editor()), stateA);
    }

    // Of several copies the newest readable one is offered; a damaged one is
    // passed over and left for a newer editor; those not written for 30 days
    // go at start.
    void newestOfferedOldRemoved()
    {
        const QString folder = rowFolder();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        QVERIFY(QDir().mkpath(folder));
        const QString expired = ClosedEditorCopy(folder, SampleCopy(now));
        const QString older = ClosedEditorCopy(folder, SampleCopy(now - 3 * Day));
        const QString newest = ClosedEditorCopy(folder, SampleCopy(now - 2 * Day));
        const QString damaged = ClosedEditorCopy(folder, SampleCopy(now - Day));
        QVERIFY(!expired.isEmpty() && !older.isEmpty() && !newest.isEmpty() && !damaged.isEmpty());
        QVERIFY(Age(expired, 31 * Day) && Age(older, 29 * Day));
        QFile flip(damaged);
        QVERIFY(flip.open(QIODevice::ReadWrite) && flip.seek(RecoveryHeaderBytes));
        QVERIFY(flip.putChar(char(flip.peek(1).at(0) ^ 1)));
        flip.close();

        TestEditor ed(folder);
        QVERIFY(started(ed));
        QVERIFY(!QFileInfo::exists(expired));
        QVERIFY(QFileInfo::exists(older) && QFileInfo::exists(damaged));
        QCOMPARE(ed->recovery()->OfferChangedAt(), std::optional(now - 2 * Day));
        recoverItem(ed)->trigger();
        // A size slot's value text is never part of the editor's state: Save
        // takes it from the size box.
        ThemeState want = SampleCopy(now - 2 * Day).state;
        for (int i = FirstSizeSlot; i < SlotCount; ++i)
            want.slots[i].tag.clear();
        // The boxes leave out what a theme file cannot hold.
        for (int field = NameField; field < FieldCount; ++field)
            TextOf(want, field) = ThemeLineText(TextOf(want, field));
        QCOMPARE(CaptureTheme(ed.editor()), want);
        QVERIFY(!QFileInfo::exists(newest));
    }

    // The offered copy is damaged or gone by the time it is chosen: a
    // message says so, nothing changes and the item is disabled.
    void unreadableWhenChosen_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a byte changed") << "flip";
        QTest::newRow("removed") << "remove";
        QTest::newRow("made readable by others") << "chmod";
    }
    void unreadableWhenChosen()
    {
        QFETCH(QString, damage);
        const QString folder = rowFolder();
        QVERIFY(QDir().mkpath(folder));
        const QString path = ClosedEditorCopy(folder, SampleCopy(QDateTime::currentMSecsSinceEpoch()));
        QVERIFY(!path.isEmpty());
        TestEditor ed(folder);
        QVERIFY(started(ed));
        QVERIFY(PerformAll(ed, QStringLiteral("click 4; type 0 Mine"), m_dir));
        const ThemeState mine = CaptureTheme(ed.editor());
        QAction* recover = recoverItem(ed);
        QVERIFY(recover->isEnabled());

        if (damage == u"flip") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(RecoveryHeaderBytes));
            const char byte = file.peek(1).at(0);
            QVERIFY(file.putChar(char(byte ^ 1)));
        } else if (damage == u"remove") {
            QVERIFY(QFile::remove(path));
        } else {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        }
        const int steps = ed->undoStack().count();
        recover->trigger();
        const FakeMessageBox::Message refusal{QStringLiteral("Sorry! The unsaved theme could not be read, so it cannot be recovered."),
                                              QStringLiteral("Recover Unsaved Theme"), MessageStyle::Information};
        QCOMPARE(ed.messages->Shown(), QList<FakeMessageBox::Message>{refusal});
        QVERIFY(!recover->isEnabled());
        QCOMPARE(CaptureTheme(ed.editor()), mine);
        QCOMPARE(ed->undoStack().count(), steps);
    }
};

OVEX_TEST_MAIN(RecoveryWindowTest)

#include "tst_recoverywindow.moc"
