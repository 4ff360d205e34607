// Unsaved work through the window, as a user drives it: every piece of work
// replaced or closed unsaved is listed by the next editor and brought back
// exactly, as one undo step; saved work leaves nothing; identical work is
// one entry; running editors keep their work apart. Every folder also holds
// a damaged, a foreign and a newer editor's copy, which are never listed.
#include "EditActions.h"
#include "SampleCopy.h"

#include "app/RecoverDialog.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryKeeper.h"
#include "theme/NewTheme.h"
#include "theme/ThemeCapture.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;
using namespace ovex::test;
Q_DECLARE_METATYPE(ovex::CopyEnding)

namespace {

// Copies no editor may list, each under a name ended work could have.
QStringList putBadCopies(const QString& folder)
{
    QByteArray damaged = Encoded(SampleCopy(1));
    damaged[RecoveryHeaderBytes] = char(damaged[RecoveryHeaderBytes] ^ 4);
    const QList<QByteArray> bad = {damaged, "name=Foreign\r\n", WithVersion(Encoded(SampleCopy(2)), RecoveryFormatVersion + 1)};
    QStringList paths;
    for (int i = 0; i < bad.size(); ++i) {
        const QString path = QDir(folder).filePath(KeptCopyName(SampleCopy(i + 1).state));
        if (!QDir().mkpath(folder) || !WriteTestFile(path, bad[i]) || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
            return {};
        paths << path;
    }
    return paths;
}

// Shows the editor and has it look at the folder, as opening the Edit menu does.
bool started(TestEditor& ed)
{
    ed->show();
    if (!QTest::qWaitForWindowExposed(ed.window.get()))
        return false;
    ed->recovery()->LookUp();
    ed->recovery()->Settle();
    return ed->recovery()->LookedUp();
}

QAction* recoverItem(const TestEditor& ed) { return ed.action(QStringLiteral("mnuRecover")); }

// Edit, Recover Unsaved Themes...: the dialog, its list filled.
RecoverDialog* openList(const TestEditor& ed)
{
    recoverItem(ed)->trigger();
    ed->recovery()->Settle();
    return ed.window->findChild<RecoverDialog*>();
}

QListWidget* listOf(RecoverDialog* dialog) { return dialog->findChild<QListWidget*>(QStringLiteral("lstUnsaved")); }

QList<ThemeState> listedStates(const TestEditor& ed)
{
    QList<ThemeState> states;
    for (const KeptCopy& entry : ed->recovery()->Entries())
        states << entry.copy.state;
    return states;
}

// Runs work in a new editor on folder, waits as long as its copy may take,
// runs then, and closes the editor; the theme as work left it.
struct Ended
{
    bool ran = false;
    ThemeState before;
};
// With writeMidway, the write's timer fires at each change then makes, as it
// may while a command shows a message.
Ended endEditor(const QString& folder, const QString& work, const QString& then, const QString& dir, bool writeMidway = false)
{
    TestEditor ed(folder);
    if (!started(ed) || !PerformAll(ed, work, dir))
        return {};
    Ended ended{true, CaptureTheme(ed.editor())};
    ed->recovery()->WriteNow();
    if (writeMidway)
        QObject::connect(ed.window.get(), &frmMain::themeChanged, ed->recovery(), &RecoveryKeeper::WriteNow);
    ended.ran = PerformAll(ed, then, dir);
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
        QVERIFY(WriteTestFile(m_dir + QStringLiteral("/palette.theme"), "name=P\r\ncontrol=primary1\r\n"));
    }

    // The folder is not even looked at before the first paint; a while
    // after it the look comes by itself.
    void nothingBeforeFirstPaint()
    {
        const QString folder = rowFolder();
        TestEditor ed(folder);
        QTest::qWait(50);
        QVERIFY(!QFileInfo::exists(folder));
        QSignalSpy listed(ed->recovery(), &RecoveryKeeper::EntriesChanged);
        ed->show();
        QVERIFY(listed.wait(10 * LookUpDelayMs));
        QVERIFY(QFileInfo(folder).isDir());
    }

    // The Edit menu's last item, with no keys.
    void menuItem()
    {
        const TestEditor ed;
        QCOMPARE(ed.find<QMenu>(QStringLiteral("mnuEdit"))->actions().last(), recoverItem(ed));
        QCOMPARE(recoverItem(ed)->text(), QStringLiteral("Re&cover Unsaved Themes..."));
        QVERIFY(recoverItem(ed)->shortcuts().isEmpty());
    }

    // Work replaced or closed unsaved is listed by the next editor with how
    // it ended, comes back exactly with Return as one undo step, and is
    // still listed after that step is undone and the editor closed.
    void unsavedWorkKept_data()
    {
        QTest::addColumn<QString>("work");
        QTest::addColumn<QString>("then");  // the command that ends it, before the window closes
        QTest::addColumn<CopyEnding>("ending");
        QTest::newRow("closed") << "click 0; pick 0 ff0000; click 19; type 0 Night; leave; pick 5 00ff00" << "" << CopyEnding::Closed;
        QTest::newRow("sizes and a name beyond Latin-1") << "type 0 Nacht \u20AC\u591C; type 1 14; click 27" << "" << CopyEnding::Closed;
        QTest::newRow("New") << "type 0 Before; click 3" << "new" << CopyEnding::ReplacedByNew;
        QTest::newRow("a refused Import") << "click 3; click 4; type 0 Mine" << "import palette.theme" << CopyEnding::ReplacedByImport;
        QTest::newRow("a refused Import, written midway") << "click 3; type 0 Mine" << "import palette.theme" << CopyEnding::ReplacedByImport;
        QTest::newRow("an Import") << "click 3; type 0 Mine" << "import full1.theme" << CopyEnding::ReplacedByImport;
        QTest::newRow("saved, then changed") << "type 0 Dawn; click 1; save dawn.theme; pick 1 112233" << "" << CopyEnding::Closed;
        QTest::newRow("undone to the start") << "click 0; pick 0 ff0000" << "undo; undo" << CopyEnding::Closed;
        QTest::newRow("an import changed, New, undone, New")
            << "import full2.theme; click 0" << "new; undo; new" << CopyEnding::ReplacedByNew;
        QTest::newRow("a missing file: not replaced") << "click 3" << "import missing.theme" << CopyEnding::Closed;
    }
    void unsavedWorkKept()
    {
        QFETCH(QString, work);
        QFETCH(QString, then);
        QFETCH(CopyEnding, ending);
        const QString folder = rowFolder();
        const QStringList bad = putBadCopies(folder);
        QVERIFY(!bad.isEmpty());
        const Ended ended = endEditor(folder, work, then, m_dir, QByteArray(QTest::currentDataTag()).endsWith("midway"));
        QVERIFY(ended.ran && ended.before != NewThemeState());

        TestEditor ed(folder);
        QVERIFY(started(ed));
        QVERIFY(recoverItem(ed)->isEnabled());
        RecoverDialog* dialog = openList(ed);
        QVERIFY(dialog && dialog->isVisible() && dialog->windowTitle() == QStringLiteral("Recover Unsaved Themes"));
        QListWidget* list = listOf(dialog);
        QCOMPARE(list->count(), 1);
        QCOMPARE(ed->recovery()->Entries()[0].copy.state, ended.before);
        QCOMPARE(ed->recovery()->Entries()[0].copy.ending, ending);
        const QString name = list->item(0)->data(Qt::AccessibleTextRole).toString();
        QVERIFY2(name.startsWith(EntryName(ended.before.name) + u',') && name.endsWith(EndingText(ending)), qPrintable(name));
        QTRY_VERIFY(dialog->PicturesDrawn());
        QVERIFY(!list->item(0)->icon().isNull());

        QVERIFY(ShowActive(dialog));
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!ed.window->findChild<RecoverDialog*>() || !dialog->isVisible());
        QVERIFY(ed.messages->Shown().isEmpty());
        QCOMPARE(CaptureTheme(ed.editor()), ended.before);
        QCOMPARE(ed->undoStack().count(), 1);
        QCOMPARE(ed->undoStack().undoText(), QStringLiteral("Recover Unsaved Theme"));
        QVERIFY(!recoverItem(ed)->isEnabled());
        ed->undoStack().undo();
        QCOMPARE(CaptureTheme(ed.editor()), NewThemeState());
        ed.window.reset();

        TestEditor next(folder);
        QVERIFY(started(next));
        QCOMPARE(listedStates(next), QList<ThemeState>{ended.before});
        for (const QString& path : bad)
            QVERIFY(QFile::exists(path));
    }

    // Saved work and what an Import read leave nothing to list.
    void nothingToRecover_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("saved") << "click 0; pick 0 ff0000; type 0 Night; save night.theme";
        QTest::newRow("saved while its copy was waiting") << "click 0; type 0 Noon; save noon.theme";
        QTest::newRow("imported") << "import full0.theme";
        QTest::newRow("nothing done") << "";
        QTest::newRow("imported, changed, saved") << "import part.theme; click 9; save part2.theme";
    }
    void nothingToRecover()
    {
        QFETCH(QString, script);
        const QString folder = rowFolder();
        QVERIFY(!putBadCopies(folder).isEmpty());
        {
            TestEditor ed(folder);
            QVERIFY(started(ed));
            QVERIFY(PerformAll(ed, script, m_dir));
        }
        TestEditor next(folder);
        QVERIFY(started(next));
        QVERIFY(!recoverItem(next)->isEnabled());
        QCOMPARE(QDir(folder).entryList({"*.recovery"}, QDir::Files).size(), 3);
    }

    // Three identical sessions make one entry; Discard removes an entry and
    // Recover takes one, the item staying enabled while more remain; saving
    // exactly a listed state removes it, saving another state does not.
    void identicalWorkOnceSavedOrDiscarded()
    {
        const QString folder = rowFolder();
        QVERIFY(!putBadCopies(folder).isEmpty());
        for (int i = 0; i < 3; ++i)
            QVERIFY(endEditor(folder, QStringLiteral("click 3; type 0 Same"), {}, m_dir).ran);
        QVERIFY(endEditor(folder, QStringLiteral("click 5; type 0 Third"), {}, m_dir).ran);
        QVERIFY(endEditor(folder, QStringLiteral("click 4; type 0 Other"), {}, m_dir).ran);
        TestEditor ed(folder);
        QVERIFY(started(ed));
        RecoverDialog* dialog = openList(ed);
        QListWidget* list = listOf(dialog);
        const auto names = [list] {
            QStringList shown;
            for (int row = 0; row < list->count(); ++row)
                shown << list->item(row)->data(Qt::AccessibleTextRole).toString().section(u',', 0, 0);
            return shown;
        };
        QCOMPARE(names(), QStringList({"Theme NameOther", "Theme NameThird", "Theme NameSame"}));
        QCOMPARE(list->currentRow(), 0);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdDiscard"))->click();
        ed->recovery()->Settle();
        QCOMPARE(names(), QStringList({"Theme NameThird", "Theme NameSame"}));
        list->setCurrentRow(1);
        const ThemeState third = ed->recovery()->Entries()[0].copy.state;
        const QString same = ed->recovery()->Entries()[1].path;
        dialog->findChild<QPushButton*>(QStringLiteral("cmdRecover"))->click();
        QCOMPARE(ed->undoStack().undoText(), QStringLiteral("Recover Unsaved Theme"));
        QVERIFY(recoverItem(ed)->isEnabled());
        QVERIFY(PerformAll(ed, QStringLiteral("type 0 !; save same.theme"), m_dir));
        ed->recovery()->Settle();
        QVERIFY(QFile::exists(same));
        QVERIFY(PerformAll(ed, QStringLiteral("undo; save same.theme"), m_dir));
        ed->recovery()->Settle();
        QVERIFY(!QFile::exists(same));
        ed.window.reset();
        TestEditor next(folder);
        QVERIFY(started(next));
        QCOMPARE(listedStates(next), QList<ThemeState>{third});
    }

    // A running editor lists work left by one closed beside it, when its
    // Edit menu opens; neither lists the other's work while both run.
    void editorsSideBySide()
    {
        const QString folder = rowFolder();
        QVERIFY(!putBadCopies(folder).isEmpty());
        TestEditor a(folder);
        QVERIFY(started(a) && PerformAll(a, QStringLiteral("click 0; type 0 A"), m_dir));
        auto b = std::make_unique<TestEditor>(folder);
        QVERIFY(started(*b) && PerformAll(*b, QStringLiteral("click 1; type 0 B"), m_dir));
        const ThemeState stateB = CaptureTheme(b->editor());
        for (TestEditor* ed : {&a, b.get()}) {
            ed->window->recovery()->WriteNow();
            ed->window->recovery()->Settle();
        }
        auto* edit = a.find<QMenu>(QStringLiteral("mnuEdit"));
        Q_EMIT edit->aboutToShow();
        a->recovery()->Settle();
        QVERIFY(!recoverItem(a)->isEnabled() && !recoverItem(*b)->isEnabled());

        b.reset();
        Q_EMIT edit->aboutToShow();
        a->recovery()->Settle();
        QVERIFY(recoverItem(a)->isEnabled());
        QCOMPARE(listedStates(a), QList<ThemeState>{stateB});
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
        const auto read = ReadRecoveryCopy(QDir(folder).filePath(QDir(folder).entryList({"*-*.recovery"}).value(0)));
        QVERIFY(std::holds_alternative<RecoveryCopy>(read));
        QVERIFY(std::get<RecoveryCopy>(read).state.name.startsWith(QStringLiteral("Theme Namea")));
    }

    // A listed copy damaged or gone by the time it is chosen: a message says
    // so, nothing changes, and the entry goes from the list.
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
        const QString path = EndedCopy(folder, SampleCopy(QDateTime::currentMSecsSinceEpoch()));
        QVERIFY(!path.isEmpty());
        TestEditor ed(folder);
        QVERIFY(started(ed));
        QVERIFY(PerformAll(ed, QStringLiteral("click 4; type 0 Mine"), m_dir));
        const ThemeState mine = CaptureTheme(ed.editor());
        RecoverDialog* dialog = openList(ed);
        QCOMPARE(listOf(dialog)->count(), 1);

        if (damage == u"flip") {
            QByteArray bytes = ReadTestFile(path);
            bytes[RecoveryHeaderBytes] = char(bytes[RecoveryHeaderBytes] ^ 1);
            QVERIFY(WriteTestFile(path, bytes));
        } else if (damage == u"remove") {
            QVERIFY(QFile::remove(path));
        } else {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        }
        const int steps = ed->undoStack().count();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdRecover"))->click();
        const FakeMessageBox::Message refusal{QStringLiteral("Sorry! The unsaved theme could not be read, so it cannot be recovered."),
                                              QStringLiteral("Recover Unsaved Themes"), MessageStyle::Information};
        QCOMPARE(ed.messages->Shown(), QList<FakeMessageBox::Message>{refusal});
        QVERIFY(dialog->isVisible());
        QCOMPARE(listOf(dialog)->count(), 0);
        QVERIFY(!recoverItem(ed)->isEnabled());
        QCOMPARE(CaptureTheme(ed.editor()), mine);
        QCOMPARE(ed->undoStack().count(), steps);
    }

    // Work of an editor killed is listed as ended unexpectedly; work older
    // than 30 days goes at the first look.
    void killedAndOld()
    {
        const QString folder = rowFolder();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const QString killed = KilledEditorCopy(folder, SampleCopy(now - 1000, CopyEnding::Open));
        const QString old = EndedCopy(folder, SampleCopy(now - 2000));
        QVERIFY(!killed.isEmpty() && !old.isEmpty() && Age(old, 31LL * 24 * 60 * 60 * 1000));
        TestEditor ed(folder);
        QVERIFY(started(ed));
        QVERIFY(!QFile::exists(old) && !QFile::exists(killed));
        QCOMPARE(ed->recovery()->Entries().size(), 1);
        QCOMPARE(ed->recovery()->Entries()[0].copy, SampleCopy(now - 1000, CopyEnding::Open));
        RecoverDialog* dialog = openList(ed);
        QVERIFY(listOf(dialog)->item(0)->text().endsWith(QStringLiteral("editor ended unexpectedly")));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }
};

OVEX_TEST_MAIN(RecoveryWindowTest)

#include "tst_recoverywindow.moc"
