// Where the one history is reached from: its keys on every key scheme, every
// window that shows the theme, and the text boxes' context menus.
#include "TestSupport.h"

#include "preview/PairsDialog.h"
#include "preview/ReadabilityPanel.h"
#include "theme/HistoryActions.h"

#include <QMenu>
#include <QUndoStack>

using namespace ovex;
using ovex::test::OpenPreview;
using ovex::test::ShowActive;
using ovex::test::TestEditor;

Q_DECLARE_METATYPE(HistoryKey)

namespace {

using Keys = QList<QKeySequence>;

const QKeySequence CtrlZ(Qt::CTRL | Qt::Key_Z);
const QKeySequence CtrlShiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
const QKeySequence CtrlY(Qt::CTRL | Qt::Key_Y);

// Presses key as the keyboard would, with the focus where it is.
void press(QWidget* window, const QKeySequence& key)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    const QKeyCombination combination = key[0];
    QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
}

} // namespace

class UndoKeysTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whatever a platform's key scheme binds, Ctrl+Z undoes and Ctrl+Shift+Z
    // and Ctrl+Y redo; the scheme's own keys keep working, and no key does both.
    void keySchemes_data()
    {
        QTest::addColumn<Keys>("platformUndo");
        QTest::addColumn<Keys>("platformRedo");
        const QKeySequence f14(Qt::Key_F14);
        const QKeySequence altBackspace(Qt::ALT | Qt::Key_Backspace);
        const QKeySequence altShiftBackspace(Qt::ALT | Qt::SHIFT | Qt::Key_Backspace);
        QTest::newRow("X11, GNOME, KDE") << Keys{CtrlZ, f14} << Keys{CtrlShiftZ};
        QTest::newRow("Windows") << Keys{CtrlZ, altBackspace} << Keys{CtrlY, altShiftBackspace, CtrlShiftZ};
        QTest::newRow("macOS") << Keys{CtrlZ} << Keys{CtrlShiftZ};
        QTest::newRow("none bound") << Keys{} << Keys{};
    }
    void keySchemes()
    {
        QFETCH(Keys, platformUndo);
        QFETCH(Keys, platformRedo);
        const Keys undo = HistoryShortcuts(HistoryKey::Undo, platformUndo);
        const Keys redo = HistoryShortcuts(HistoryKey::Redo, platformRedo);
        // The first is the one the menus show.
        QCOMPARE(undo.first(), CtrlZ);
        QCOMPARE(redo.first(), CtrlShiftZ);
        QVERIFY(redo.contains(CtrlY));
        const auto meaning = [&](const QKeySequence& key, Qt::KeyboardModifiers extra = {}) {
            const QKeyCombination combination = key[0];
            const QKeyEvent event(QEvent::KeyPress, combination.key(), combination.keyboardModifiers() | extra);
            return HistoryKeyOf(event, undo, redo);
        };
        for (const QKeySequence& key : Keys{CtrlZ} + platformUndo)
            QCOMPARE(meaning(key), HistoryKey::Undo);
        for (const QKeySequence& key : Keys{CtrlShiftZ, CtrlY} + platformRedo)
            QCOMPARE(meaning(key), HistoryKey::Redo);
        QCOMPARE(meaning(CtrlZ, Qt::KeypadModifier), HistoryKey::Undo);
        QCOMPARE(meaning(QKeySequence(Qt::Key_Z)), HistoryKey::None);
        QCOMPARE(meaning(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)), HistoryKey::None);
        QCOMPARE(meaning(QKeySequence(Qt::SHIFT | Qt::Key_Y)), HistoryKey::None);
    }

    // The Edit menu shows and binds these keys, not only what this platform
    // binds: the key handling alone would hide a menu without them.
    void editMenuKeys()
    {
        const TestEditor ed;
        QCOMPARE(ed.action("mnuUndo")->shortcuts(), HistoryShortcuts(HistoryKey::Undo));
        QCOMPARE(ed.action("mnuRedo")->shortcuts(), HistoryShortcuts(HistoryKey::Redo));
    }

    // Each key, pressed in each window that shows the theme and in each kind
    // of control, moves the one history by one step.
    void keysEverywhere_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<HistoryKey>("meaning");
        for (const char* where : {"name box", "size box", "check box", "preview", "pairs table"}) {
            QTest::addRow("Ctrl+Z in %s", where) << where << CtrlZ << HistoryKey::Undo;
            QTest::addRow("Ctrl+Shift+Z in %s", where) << where << CtrlShiftZ << HistoryKey::Redo;
            QTest::addRow("Ctrl+Y in %s", where) << where << CtrlY << HistoryKey::Redo;
        }
    }
    void keysEverywhere()
    {
        QFETCH(QString, where);
        QFETCH(QKeySequence, key);
        QFETCH(HistoryKey, meaning);
        TestEditor ed;
        QVERIFY(ShowActive(ed.window.get()));
        QUndoStack& stack = ed->undoStack();
        Swatch* swatch = ed.slots().s[19];
        for (const ColorValue color : {0x0000FF, 0x00FF00}) {
            ed.cd->AnswerColor(color);
            QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        }
        stack.undo();   // one step to undo, one to redo
        QCOMPARE(swatch->BackColor(), 0x0000FF);

        QWidget* window = ed.window.get();
        if (where == "name box") {
            ed.editor().txtThemeName->setFocus();
        } else if (where == "size box") {
            ed.slots().SizeBox(30)->setFocus();
        } else if (where == "check box") {
            ed.slots().chk[4]->setFocus();
        } else {
            PreviewWindow* preview = OpenPreview(ed);
            QVERIFY(preview);
            window = preview;
            if (where == "pairs table") {
                QTest::mouseClick(preview->Panel()->ShowAllButton(), Qt::LeftButton);
                window = preview->Panel()->Table();
                QVERIFY(window);
                window->setFocus();
            }
            QVERIFY(ShowActive(window));
        }
        press(window, key);
        QCOMPARE(stack.index(), meaning == HistoryKey::Undo ? 0 : 2);
        QCOMPARE(swatch->BackColor(), meaning == HistoryKey::Undo ? UnsetColor : 0x00FF00);
        // The Edit menu follows.
        QCOMPARE(ed.action("mnuUndo")->isEnabled(), meaning == HistoryKey::Redo);
        QCOMPARE(ed.action("mnuRedo")->isEnabled(), meaning == HistoryKey::Undo);
    }

    // The text boxes' menus keep the box's own items, but Undo and Redo are
    // the Edit menu's: the same history, text and state.
    void contextMenu_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("caption");
        QTest::newRow("name box") << "txtThemeName" << "Theme Name";
        QTest::newRow("size box") << "txtMenu" << "Menu Text";
    }
    void contextMenu()
    {
        QFETCH(QString, box);
        QFETCH(QString, caption);
        TestEditor ed;
        QVERIFY(ShowActive(ed.window.get()));
        auto* text = ed.find<QLineEdit>(box);
        const QString start = text->text();
        text->setFocus();
        QTest::keyClicks(text, "Night");
        const QString typed = text->text();
        QAction* editUndo = ed.action("mnuUndo");
        QAction* editRedo = ed.action("mnuRedo");

        const auto openMenu = [&]() -> QMenu* {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), text->mapToGlobal(QPoint(4, 4)));
            QCoreApplication::sendEvent(text, &event);
            return qobject_cast<QMenu*>(QApplication::activePopupWidget());
        };
        const auto item = [](QMenu* menu, const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };

        QMenu* menu = openMenu();
        QVERIFY(menu);
        QAction* undo = item(menu, "edit-undo");
        QAction* redo = item(menu, "edit-redo");
        QVERIFY(undo && redo);
        QStringList items;
        for (const QAction* action : menu->actions())
            items << action->text().section(u'\t', 0, 0);
        const QString undoText = QStringLiteral("&Undo Typing: %1").arg(caption);
        QCOMPARE(items, (QStringList{undoText, "&Redo", "", "Cu&t", "&Copy", "&Paste", "Delete", "", "Select All"}));
        QCOMPARE(menu->actions().mid(0, 2), (QList<QAction*>{undo, redo}));
        QCOMPARE(editUndo->text(), undoText);
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QCOMPARE(undo->shortcut(), CtrlZ);

        undo->trigger();
        menu->close();
        QCOMPARE(text->text(), start);
        QCOMPARE(ed->undoStack().count(), 1);   // undone, not a new step
        QVERIFY(editRedo->isEnabled());
        QCOMPARE(editRedo->text(), QStringLiteral("&Redo Typing: %1").arg(caption));

        menu = openMenu();
        QVERIFY(menu);
        QCOMPARE(item(menu, "edit-redo")->text(), editRedo->text());
        QVERIFY(item(menu, "edit-redo")->isEnabled());
        QVERIFY(!item(menu, "edit-undo")->isEnabled());
        menu->close();
        editRedo->trigger();
        QCOMPARE(text->text(), typed);
    }
};

OVEX_TEST_MAIN(UndoKeysTest)
#include "tst_undokeys.moc"
