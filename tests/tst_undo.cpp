// The Edit menu's one history: every change can be undone and redone, exactly,
// and nothing that changes nothing is recorded.
#include "TestFiles.h"
#include "TestSupport.h"

#include "theme/ThemeKeys.h"
#include "theme/ThemeCapture.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;
using ovex::test::ShowActive;
using ovex::test::TestEditor;
using ovex::test::WriteTestFile;

namespace {

// What the user sees of the theme: every tick, the colour slots' swatches and
// the text boxes. (Save's bytes are compared beside it.)
struct Seen
{
    std::array<bool, SlotCount> ticks{};
    std::array<ColorValue, ColorSlotCount> colors{};
    QStringList texts;
    friend bool operator==(const Seen&, const Seen&) = default;
};

Seen seen(const Editor& editor)
{
    Seen shown;
    for (int i = 0; i < SlotCount; ++i)
        shown.ticks[i] = editor.slots.Value(i) == 1;
    for (int i = 0; i < ColorSlotCount; ++i)
        shown.colors[i] = editor.slots.s[i]->BackColor();
    for (int field = NameField; field < FieldCount; ++field)
        shown.texts << TextBox(editor, field)->text();
    return shown;
}

} // namespace

class UndoTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

    QString file(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    // What Save writes now, or "refused" for the placeholder name.
    QByteArray saved(TestEditor& ed)
    {
        const QString path = file("walk-save.theme");
        QFile::remove(path);
        ed.messages->Clear();
        ed->IO_CreateFile2(path, ed.editor().SaveKeys);
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("refused");
    }

    static void drop(TestEditor& ed, const QString& path)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = ed->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ed.window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ed.window.get(), &dropped);
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QByteArray full = "name=Full\r\n";
        for (int i = 0; i < ColorSlotCount; ++i)
            full += SlotTable[i].key + QByteArray::number(i * 9) + ',' + QByteArray::number(255 - i) + ",7\r\n";
        full += "fontsize.system=9\r\nfontsize.user=abc\r\nfontsize.menu=14\r\nfontsize.windowtitle=\r\nfontsize.subtext=11\r\n";
        QVERIFY(WriteTestFile(file("full.theme"), full)
                && WriteTestFile(file("part.theme"), "name=Part\r\ncontrol=300,0,0\r\nfontsize.user=20\r\nfocuscolor=255\r\n")
                && WriteTestFile(file("palette.theme"), "name=P\r\ncontrol=1,2,3\r\nmenubackground=primary2\r\n")
                && WriteTestFile(file("wrong.txt"), "name=Wrong\r\n"));
    }

    // Random user actions with undo and redo mixed in: after every step the
    // editor is exactly as recorded for that point of the history, and Save
    // writes exactly the bytes it wrote there. Every step recorded changed
    // something shown or saved, and Save records none.
    void randomWalk_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void randomWalk()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const auto any = [&random](const auto& list) { return list[random.bounded(int(list.size()))]; };
        TestEditor ed;
        QVERIFY(ShowActive(ed.window.get()));
        QUndoStack& stack = ed->undoStack();
        const SettingSlots& slots = ed.slots();
        QList<QLineEdit*> boxes(slots.sizeBox.begin(), slots.sizeBox.end());
        boxes << ed.editor().txtThemeName;
        // The file Save writes is imported back too.
        const QString userFile = file("walk-user.theme");
        QFile::remove(userFile);
        const QStringList files{file("full.theme"), file("part.theme"), file("palette.theme"),
                                file("missing.theme"), file("wrong.txt"), userFile};
        const QList<ColorValue> colors{0x0000FF, 0x00FF00, 0x123456, 0xFFFFFF, 0};
        // Undo and redo by the menu, or by the keys with the focus in a text box.
        const auto historyKey = [&](bool undo) {
            if (random.bounded(2) == 0)
                return ed.action(undo ? "mnuUndo" : "mnuRedo")->trigger();
            QLineEdit* box = any(boxes);
            box->setFocus();
            const bool ctrlY = !undo && random.bounded(2) == 0;
            const Qt::KeyboardModifiers shift = undo || ctrlY ? Qt::NoModifier : Qt::ShiftModifier;
            QTest::keyClick(box, ctrlY ? Qt::Key_Y : Qt::Key_Z, Qt::ControlModifier | shift);
        };
        enum Action { Tick, Pick, Type, New, Import, Drop, Undo, Redo, Leave, Save, ActionCount };
        const std::function<void()> act[ActionCount] = {
            [&] { QTest::mouseClick(any(slots.chk), Qt::LeftButton); },
            [&] {
                random.bounded(5) == 0 ? ed.cd->CancelColor() : ed.cd->AnswerColor(any(colors));
                QTest::mouseClick(any(slots.cmd), Qt::LeftButton);
            },
            [&] {
                QLineEdit* box = any(boxes);
                box->setFocus();
                if (random.bounded(3) == 0)
                    QTest::keyClick(box, Qt::Key_Backspace);
                else   // Windows-1252 beyond Latin-1 too, and a character the boxes leave out
                    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, any(QStringList{"a", "b", "\u0152", "\u03a9"}), {});
            },
            [&] { ed.action("mnuNew")->trigger(); },
            [&] {
                random.bounded(6) == 0 ? ed.cd->CancelFile() : ed.cd->AnswerFile(any(files));
                ed.action("mnuImport")->trigger();
            },
            [&] { drop(ed, any(files)); },
            [&] { historyKey(true); },
            [&] { historyKey(false); },
            [&] { any(slots.cmd)->setFocus(); },   // ends a run of typing
            [&] {
                random.bounded(6) == 0 ? ed.cd->CancelFile() : ed.cd->AnswerFile(userFile);
                ed.action("mnuSave")->trigger();
            },
        };

        struct Point { ThemeState state; Seen shown; QByteArray bytes; };
        const auto now = [&] { return Point{CaptureTheme(ed.editor()), seen(ed.editor()), saved(ed)}; };
        QList<Point> history{now()};
        const auto atRecorded = [&] {
            const Point& point = history[stack.index()];
            return CaptureTheme(ed.editor()) == point.state && saved(ed) == point.bytes;
        };
        QString log;
        for (int step = 0; step < 250; ++step) {
            const int action = random.bounded(int(ActionCount));
            const int countBefore = stack.count();
            const int indexBefore = stack.index();
            act[action]();
            log += QString::number(action);
            const QString where = QStringLiteral("step %1, actions %2").arg(step).arg(log);
            history.resize(stack.count() + 1);   // the stack drops the steps a new one replaces
            const bool recorded = stack.count() != countBefore || stack.index() != indexBefore;
            QVERIFY2(action != Save || !recorded, qPrintable(where));
            // Typing merges into its run's step; anything else that changed the theme is a step.
            if (action != Undo && action != Redo && (recorded || action == Type)) {
                history[stack.index()] = now();
                // A step changes what the user sees or what Save writes.
                if (stack.index() > 0) {
                    const Point& before = history[stack.index() - 1];
                    const Point& after = history[stack.index()];
                    QVERIFY2(before.shown != after.shown || before.bytes != after.bytes, qPrintable(where));
                }
            }
            QVERIFY2(atRecorded(), qPrintable(where));
        }
        // Back to the start and forward to the end, through every state.
        while (stack.canUndo()) {
            stack.undo();
            QVERIFY(atRecorded());
        }
        while (stack.canRedo()) {
            stack.redo();
            QVERIFY(atRecorded());
        }
    }

    // Each of these leaves the theme as it was, so the history stays as it was.
    void noStep_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("colour dialog cancelled") << "cancel colour";
        QTest::newRow("colour the slot already has") << "same colour";
        QTest::newRow("open dialog cancelled") << "cancel import";
        QTest::newRow("import of a missing file") << "missing";
        QTest::newRow("import of a .txt file") << "txt";
        QTest::newRow("new on an empty editor") << "new";
        QTest::newRow("typing back to the start") << "retype";
        QTest::newRow("typing what a theme file cannot hold") << "unencodable";
        QTest::newRow("save, then import of the file saved") << "save and import";
    }
    void noStep()
    {
        QFETCH(QString, action);
        TestEditor ed;
        if (action == "save and import") {
            ed.cd->AnswerFile(file("part.theme"));
            ed.action("mnuImport")->trigger();
        } else if (action != "new") {
            ed.cd->AnswerColor(0x0000FF);
            QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        }
        const int count = ed->undoStack().count();
        const ThemeState before = CaptureTheme(ed.editor());
        if (action == "cancel colour" || action == "same colour") {
            action == "cancel colour" ? ed.cd->CancelColor() : ed.cd->AnswerColor(0x0000FF);
            QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        } else if (action == "new") {
            ed.action("mnuNew")->trigger();
        } else if (action == "retype") {
            QLineEdit* box = ed.slots().SizeBox(29);
            box->setFocus();
            QTest::keyClicks(box, "34");
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClick(box, Qt::Key_Backspace);
        } else if (action == "unencodable") {
            QLineEdit* box = ed.editor().txtThemeName;
            box->setFocus();
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("\u6D77"), {});
        } else if (action == "save and import") {
            const QString resaved = file("resaved.theme");
            for (QAction* command : {ed.action("mnuSave"), ed.action("mnuImport")}) {
                ed.cd->AnswerFile(resaved);
                command->trigger();
            }
            QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Part"));
        } else {
            action == "cancel import" ? ed.cd->CancelFile()
                                      : ed.cd->AnswerFile(file(action == "txt" ? "wrong.txt" : "missing.theme"));
            ed.action("mnuImport")->trigger();
        }
        QCOMPARE(ed->undoStack().count(), count);
        QVERIFY(CaptureTheme(ed.editor()) == before);
    }

    // The items name the step; typing in one box is one step until the focus leaves it.
    void itemsAndTypingRuns()
    {
        TestEditor ed;
        QVERIFY(ShowActive(ed.window.get()));
        QAction* undo = ed.action("mnuUndo");
        QAction* redo = ed.action("mnuRedo");

        ed.cd->AnswerColor(0x00FF00);
        QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        QCOMPARE(undo->text(), QStringLiteral("&Undo Colour: Menu background color."));
        ed.cd->AnswerFile(file("part.theme"));
        ed.action("mnuImport")->trigger();
        QCOMPARE(undo->text(), QStringLiteral("&Undo Import"));

        QLineEdit* name = ed.editor().txtThemeName;
        name->setFocus();
        QTest::keyClicks(name, "XY");
        ed.slots().SizeBox(27)->setFocus();
        name->setFocus();
        QTest::keyClicks(name, "Z");
        QCOMPARE(ed->undoStack().count(), 4);   // pick, import, "XY", "Z"
        QCOMPARE(undo->text(), QStringLiteral("&Undo Typing: Theme Name"));

        // Ctrl+Z in the box goes through the one history: the box's own undo
        // would stop at the import's text, the history goes on past it.
        for (const char* expected : {"PartXY", "Part", "Theme Name"}) {
            QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(name->text(), QString::fromLatin1(expected));
        }
        QCOMPARE(ed.slots().s[19]->BackColor(), 0x00FF00);
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ed.slots().s[19]->BackColor(), UnsetColor);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo Colour: Menu background color."));

        // A new step after an undo drops what could have been redone.
        QTest::mouseClick(ed.slots().chk[3], Qt::LeftButton);
        QVERIFY(!redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo Tick: Control foreground text, combobox arrows, and checkmarks etc..."));
    }

    // A run of typing in one box is one step until something else happens.
    void typingRunEnds_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<QString>("firstUndo");   // the name after one undo
        QTest::newRow("nothing: one run") << "" << "Theme Name";
        QTest::newRow("the focus leaves the box") << "leave" << "Theme Nameab";
        QTest::newRow("Ctrl+Z, Ctrl+Shift+Z") << "undo redo" << "Theme Nameab";
        QTest::newRow("Ctrl+Z, Ctrl+Y") << "undo redo-y" << "Theme Nameab";
        // Text dropped into a size box, the focus staying: a step of its own.
        QTest::newRow("a drop into another box") << "drop" << "Theme Nameab";
    }
    void typingRunEnds()
    {
        QFETCH(QString, between);
        QFETCH(QString, firstUndo);
        TestEditor ed;
        QVERIFY(ShowActive(ed.window.get()));
        QLineEdit* name = ed.editor().txtThemeName;
        name->setFocus();
        QTest::keyClicks(name, "ab");
        if (between == "leave") {
            ed.slots().chk[0]->setFocus();
            name->setFocus();
        } else if (between == "drop") {
            QMimeData text;
            text.setText(QStringLiteral("7"));
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(ed.slots().SizeBox(27), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(ed.slots().SizeBox(27), &drop);
            QVERIFY(ed.slots().SizeBox(27)->text().contains(u'7'));
            QVERIFY(name->hasFocus());
        } else if (between.startsWith("undo")) {
            QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(name->text(), QStringLiteral("Theme Name"));
            if (between == "undo redo")
                QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            else
                QTest::keyClick(name, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(name->text(), QStringLiteral("Theme Nameab"));
        }
        QTest::keyClicks(name, "c");
        QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name->text(), firstUndo);
    }

    // Undo and redo give back a name exactly: one of Latin-1 letters beyond
    // ASCII, one of Windows-1252's beyond Latin-1 (the walk types others).
    void textsRestoredExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Latin-1") << QStringLiteral("Caf\u00e9 \u00ff");
        QTest::newRow("Windows-1252 beyond Latin-1") << QStringLiteral("\u0152uvre \u0160 \u017D \u0178 \u20AC");
    }
    void textsRestoredExactly()
    {
        QFETCH(QString, text);
        TestEditor ed;
        QVERIFY(ShowActive(ed.window.get()));
        QLineEdit* edit = ed.editor().txtThemeName;
        const QString start = edit->text();
        edit->setFocus();
        edit->selectAll();
        // As a keyboard layout or input method delivers it.
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text, Qt::NoModifier);
        QCOMPARE(edit->text(), text);
        ed.slots().chk[0]->setFocus();
        QTest::mouseClick(ed.slots().chk[2], Qt::LeftButton);   // a later step
        QUndoStack& stack = ed->undoStack();
        for (int round = 0; round < 2; ++round) {
            stack.undo();
            stack.undo();
            QCOMPARE(edit->text(), start);
            stack.redo();
            stack.redo();
            QCOMPARE(edit->text(), text);
        }
    }
};

OVEX_TEST_MAIN(UndoTest)
#include "tst_undo.moc"
