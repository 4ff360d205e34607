// Copy, paste and drag of colours between slots: what text counts as a
// colour, and the clipboard, menu, keys and drops on a real window.
#include "TestSupport.h"

#include "slots/ColorClipboard.h"

#include <QClipboard>
#include <QDrag>
#include <QMenu>
#include <QMimeData>

using namespace ovex;
using ovex::test::TestEditor;

namespace {

// Menu background (19) copied onto menu text (20), left empty.
constexpr int From = 19;
constexpr int To = 20;
constexpr ColorValue Red = 0x0000FF;

QMenu* openMenu(QWidget* button)
{
    QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void choose(QMenu* menu, const char* item)
{
    menu->findChild<QAction*>(QLatin1String(item))->trigger();
    menu->close();
}

} // namespace

class ColorTransferTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("color");   // packed; -1: refused
        QTest::newRow("#rrggbb") << "#FF8000" << 0x0080FF;
        QTest::newRow("#rgb") << "#f80" << 0x0088FF;
        QTest::newRow("file form, blanks around") << " \t255,128,0\n" << 0x0080FF;
        QTest::newRow("svg name") << "CornflowerBlue" << 0xED9564;
        QTest::newRow("256") << "256,0,0" << -1;
        QTest::newRow("blank inside") << "255, 0, 0" << -1;
        QTest::newRow("#aarrggbb") << "#ffff0000" << -1;
        QTest::newRow("transparent") << "transparent" << -1;
        QTest::newRow("name with blank") << "light blue" << -1;
        QTest::newRow("unknown name") << "reddish" << -1;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(int, color);
        const std::optional<ColorValue> parsed = ParseColorText(text);
        QCOMPARE(parsed.value_or(-1), color);
    }

    // Copy on one slot, paste on another, by the keys or by the menu. Copy is
    // offered only for a slot with a colour; a paste of no colour says so and
    // changes nothing.
    void copyPaste_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<bool>("hasColour");
        QTest::newRow("Ctrl+C, Ctrl+V") << false << true;
        QTest::newRow("menu") << true << true;
        QTest::newRow("no colour, keys") << false << false;
        QTest::newRow("no colour, menu") << true << false;
    }
    void copyPaste()
    {
        QFETCH(bool, byMenu);
        QFETCH(bool, hasColour);
        TestEditor ed;
        const SettingSlots& slots = ed.slots();
        if (hasColour)
            ed->SetSlotColors("Pick", {{From, Red}});
        QGuiApplication::clipboard()->setText("#80ff0000");
        if (byMenu) {
            QMenu* menu = openMenu(slots.cmd[From]);
            QVERIFY(menu);
            QCOMPARE(menu->findChild<QAction*>("mnuCopyColour")->isEnabled(), hasColour);
            choose(menu, "mnuCopyColour");
        } else {
            QTest::keyClick(slots.cmd[From], Qt::Key_C, Qt::ControlModifier);
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), hasColour ? "#ff0000" : "#80ff0000");

        if (byMenu)
            choose(openMenu(slots.cmd[To]), "mnuPasteColour");
        else
            QTest::keyClick(slots.cmd[To], Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(slots.Value(To), int(hasColour));
        QCOMPARE(slots.s[To]->BackColor(), hasColour ? Red : UnsetColor);
        const FakeMessageBox::Message refusal{"Sorry! The clipboard does not hold a colour.", "Paste Colour",
                                              MessageStyle::Information};
        QCOMPARE(ed.messages->Shown(), hasColour ? QList<FakeMessageBox::Message>{} : QList{refusal});
    }

    // What a paste takes from the clipboard: valid colour data first, else
    // the text; colour data that is no colour does not hide good text.
    void pasteFrom_data()
    {
        QTest::addColumn<QVariant>("colorData");   // none when invalid QVariant
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pasted");           // packed; -1: refused
        QTest::newRow("colour data over text") << QVariant(QColor(0, 0, 255)) << "#ff0000" << 0xFF0000;
        QTest::newRow("invalid colour data, text") << QVariant(QColor()) << "#ff0000" << int(Red);
        QTest::newRow("invalid colour data alone") << QVariant(QColor()) << "" << -1;
    }
    void pasteFrom()
    {
        QFETCH(QVariant, colorData);
        QFETCH(QString, text);
        QFETCH(int, pasted);
        TestEditor ed;
        auto* mime = new QMimeData;   // the clipboard owns it
        mime->setColorData(colorData);
        if (!text.isEmpty())
            mime->setText(text);
        QGuiApplication::clipboard()->setMimeData(mime);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasColor());
        QTest::keyClick(ed.slots().cmd[To], Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ed.slots().s[To]->BackColor(), pasted < 0 ? UnsetColor : ColorValue(pasted));
        QCOMPARE(ed.messages->Shown().size(), int(pasted < 0));
    }

    // Dragging a swatch with the left button starts a drag of its colour;
    // a swatch with no colour starts none.
    void dragStart_data()
    {
        QTest::addColumn<bool>("hasColour");
        QTest::newRow("colour") << true;
        QTest::newRow("no colour") << false;
    }
    void dragStart()
    {
        QFETCH(bool, hasColour);
        TestEditor ed;
        if (hasColour)
            ed->SetSlotColors("Pick", {{From, Red}});
        Swatch* swatch = ed.slots().s[From];
        const QPoint from = swatch->rect().center();
        const QPoint to = from + QPoint(QApplication::startDragDistance() + 2, 0);
        QMouseEvent press(QEvent::MouseButtonPress, from, swatch->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent move(QEvent::MouseMove, to, swatch->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(swatch, &press);
        // The offscreen platform ends a drag at once; Qt deletes the QDrag later.
        QCoreApplication::sendEvent(swatch, &move);
        const QDrag* drag = swatch->findChild<QDrag*>();
        QCOMPARE(drag != nullptr, hasColour);
        if (drag)
            QCOMPARE(ColorFromMimeData(drag->mimeData()), std::optional<ColorValue>(Red));
    }

    // A colour dropped on a row's swatch or button; a file
    // dropped there goes on to the window, which imports it.
    void drop_data()
    {
        QTest::addColumn<bool>("onButton");
        QTest::addColumn<bool>("file");
        QTest::newRow("on swatch") << false << false;
        QTest::newRow("on button") << true << false;
        QTest::newRow("file on swatch") << false << true;
    }
    void drop()
    {
        QFETCH(bool, onButton);
        QFETCH(bool, file);
        TestEditor ed;
        const SettingSlots& slots = ed.slots();
        QWidget* onto = onButton ? static_cast<QWidget*>(slots.cmd[To]) : slots.s[To];
        std::unique_ptr<QMimeData> mime = ColorMimeData(Red);
        if (file) {   // as a file manager drags it
            mime = std::make_unique<QMimeData>();
            mime->setUrls({QUrl::fromLocalFile("/nonexistent/x.theme")});
        }
        const QPoint at = onto->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QDropEvent dropped(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        dropped.ignore();
        QCoreApplication::sendEvent(onto, &enter);
        QCoreApplication::sendEvent(onto, &dropped);
        QVERIFY(enter.isAccepted());
        QCoreApplication::processEvents();   // the window imports a file after its drop
        QCOMPARE(slots.s[To]->BackColor(), file ? UnsetColor : Red);
        QCOMPARE(slots.Value(To), int(!file));
        QCOMPARE(ed.messages->Shown().size(), int(file));   // no such file
    }
};

OVEX_TEST_MAIN(ColorTransferTest)
#include "tst_colortransfer.moc"
