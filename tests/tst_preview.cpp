// The preview window: what it draws and where, and that it follows the editor.
#include "TestSupport.h"

#include "app/PreviewWindow.h"
#include "app/ThemePreview.h"
#include "theme/ImportTheme.h"
#include "theme/ThemeKeys.h"

#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolTip>

using namespace ovex;
using ovex::test::TestEditor;

namespace {

// One colour per slot, all different, every checked pair readable.
const std::array<QColor, ColorSlotCount> Known = {
    QColor(230, 220, 200), QColor(180, 170, 150), QColor(90, 60, 30),    QColor(120, 0, 0),
    QColor(250, 250, 240), QColor(200, 200, 220), QColor(255, 250, 200), QColor(60, 40, 0),
    QColor(100, 150, 200), QColor(20, 40, 80),    QColor(240, 200, 255), QColor(0, 60, 0),
    QColor(0, 0, 90),      QColor(130, 130, 160), QColor(150, 120, 110), QColor(10, 10, 10),
    QColor(0, 90, 160),    QColor(255, 255, 210), QColor(245, 255, 245), QColor(220, 235, 250),
    QColor(30, 0, 60),     QColor(140, 0, 70),    QColor(255, 240, 255), QColor(80, 80, 100),
    QColor(255, 255, 255), QColor(170, 190, 210), QColor(255, 0, 255)};

const QColor MarkColor(0xFF, 0xC4, 0x00);

// Places in the mock at the default font sizes.
const QPoint MenuBarPlace(540, 45);
const QPoint FormPlace(555, 300);
const QPoint ChatLogPlace(300, 200);

QByteArray colorLine(int slot, const QColor& c)
{
    return QStringLiteral("%1%2,%3,%4\r\n").arg(SlotTable[slot].key).arg(c.red()).arg(c.green()).arg(c.blue()).toLatin1();
}

QByteArray knownTheme()
{
    QByteArray text = "name=Known\r\n";
    for (int i = 0; i < ColorSlotCount; ++i)
        text += colorLine(i, Known[i]);
    return text;
}

PreviewWindow* openPreview(TestEditor& ed)
{
    ed.action("mnuPreview")->trigger();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<PreviewWindow*>(w); p && p->isVisible())
            return p;
    }
    return nullptr;
}

int countColor(const QImage& image, const QRect& rect, const QColor& color)
{
    int n = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y) == color;
    return n;
}

// A point where the first item showing slot is the one on top.
QPoint visiblePoint(const Mock& mock, int slot)
{
    const MockItem* item = mock.FirstItemFor(slot);
    for (int y = item->rect.top() - 1; y <= item->rect.bottom() + 1; ++y)
        for (int x = item->rect.left() - 1; x <= item->rect.right() + 1; ++x)
            if (mock.ItemAt({x, y}) == item)
                return {x, y};
    return {-1, -1};
}

// Rows inked by the first text set in sizeSlot.
int inkHeight(ThemePreview* preview, int sizeSlot)
{
    const QImage image = preview->grab().toImage();
    for (const MockItem& item : preview->CurrentMock().items) {
        if (item.kind != MockItem::Kind::Text || item.fontSlot != sizeSlot)
            continue;
        int rows = 0;
        for (int y = item.rect.top(); y <= item.rect.bottom(); ++y)
            rows += countColor(image, QRect(item.rect.left(), y, item.rect.width(), 1), ItemColor(preview->Theme(), item)) > 0;
        return rows;
    }
    return -1;
}

} // namespace

class PreviewTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void viewMenuSitsBetweenFileAndHelp()
    {
        TestEditor ed;
        QStringList titles;
        for (QAction* a : ed->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({"&File", "&View", "&Help"}));
        QCOMPARE(ed.find<QMenu>("mnuView")->actions(), QList<QAction*>{ed.action("mnuPreview")});
        QCOMPARE(ed.action("mnuPreview")->text(), QStringLiteral("&Preview"));
    }

    void oneFreeStandingWindowAtMost()
    {
        TestEditor ed;
        ed->show();
        QPointer<PreviewWindow> first = openPreview(ed);
        QVERIFY(first);
        QCOMPARE(first->windowTitle(), QStringLiteral("Theme Preview"));
        QVERIFY(!first->parentWidget() && !first->isModal());
        QCOMPARE(openPreview(ed), first.data());
        first->close();
        QTRY_VERIFY(!first);
        QPointer<PreviewWindow> second = openPreview(ed);
        QVERIFY(second);
        // Closing the main window closes the preview; destroying it, too.
        QVERIFY(ed->close());
        QTRY_VERIFY(!second);
        {
            TestEditor other;
            second = openPreview(other);
        }
        QVERIFY(!second);
    }

    // Each colour is drawn where the mock says its element is, and a few
    // elements are checked at fixed places.
    void drawsEachColourAtItsElement()
    {
        TestEditor ed;
        import(ed, knownTheme());
        ThemePreview* preview = openPreview(ed)->Preview();
        QVERIFY(preview->Warnings().isEmpty());
        const QImage image = preview->grab().toImage();
        for (int i = 0; i < ColorSlotCount; ++i) {
            const MockItem* item = preview->CurrentMock().FirstItemFor(i);
            QVERIFY2(item && countColor(image, item->rect, Known[i]) >= 3, qPrintable(QString::number(i)));
        }
        QCOMPARE(image.pixelColor(MenuBarPlace), Known[19]);
        QCOMPARE(image.pixelColor(FormPlace), Known[0]);
        QCOMPARE(image.pixelColor(ChatLogPlace), Known[18]);
        QCOMPARE(countColor(image, QRect(QPoint(), MockSize), MarkColor), 0);
    }

    // Text follows its size box, clamped, while the slot is ticked.
    void fontSizes_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("pixels");
        for (int slot = FirstSizeSlot; slot < SlotCount; ++slot)
            QTest::addRow("%s 20", SlotTable[slot].key) << slot << true << "20" << 27;
        QTest::newRow("unticked") << FirstSizeSlot << false << "20" << 16;
        QTest::newRow("not a number") << 28 << true << "large" << 16;
        QTest::newRow("too large") << 29 << true << "500" << 37;
        QTest::newRow("too small") << 30 << true << "2" << 8;
    }

    void fontSizes()
    {
        QFETCH(int, slot);
        QFETCH(bool, ticked);
        QFETCH(QString, box);
        QFETCH(int, pixels);
        TestEditor ed;
        ThemePreview* preview = openPreview(ed)->Preview();
        const int before = inkHeight(preview, slot);
        ed.slots().SetValue(slot, ticked ? 1 : 0);
        ed.slots().SizeBox(slot)->setText(box);
        QCOMPARE(PreviewFont(preview->Theme(), slot).pixelSize(), pixels);
        const int after = inkHeight(preview, slot);
        QVERIFY2(pixels > 16 ? after > before : pixels < 16 ? after < before : after == before,
                 qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
    }

    // Each change reaches a preview that was already drawn.
    void followsTheEditor_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QColor>("menuBar");
        QTest::addColumn<QString>("title");
        QTest::newRow("pick") << "pick" << QColor(1, 2, 3) << "Known";
        QTest::newRow("untick") << "untick" << DefaultSlotColor(19) << "Known";
        QTest::newRow("name") << "name" << Known[19] << "Night";
        QTest::newRow("new") << "new" << DefaultSlotColor(19) << "Theme Name";
        QTest::newRow("import") << "import" << QColor(9, 8, 7) << "Other";
    }

    void followsTheEditor()
    {
        QFETCH(QString, change);
        QFETCH(QColor, menuBar);
        QFETCH(QString, title);
        TestEditor ed;
        import(ed, knownTheme());
        ThemePreview* preview = openPreview(ed)->Preview();
        QCOMPARE(preview->grab().toImage().pixelColor(MenuBarPlace), Known[19]);
        if (change == "pick") {
            ed.cd->AnswerColor(QColorToPacked(menuBar));
            QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        } else if (change == "untick") {
            QTest::mouseClick(ed.slots().chk[19], Qt::LeftButton);
        } else if (change == "name") {
            ed.editor().txtThemeName->setText("Night");
        } else if (change == "new") {
            ed.action("mnuNew")->trigger();
        } else {
            import(ed, "name=Other\r\nmenubackground=9,8,7\r\n");
        }
        QCOMPARE(preview->grab().toImage().pixelColor(MenuBarPlace), menuBar);
        const QList<MockItem>& items = preview->CurrentMock().items;
        const auto titleText = std::find_if(items.begin(), items.end(), [](const MockItem& item) {
            return item.kind == MockItem::Kind::Text && item.fontSlot == 30;
        });
        QVERIFY2(titleText->text.startsWith(title + QStringLiteral(" \u2013")), qPrintable(titleText->text));
    }

    // A burst of changes is read once, at the next paint; a preview that
    // is not shown reads nothing.
    void readsOncePerPaint()
    {
        int reads = 0;
        ThemePreview hidden([&reads] { ++reads; return DefaultPreviewTheme(); });
        for (int k = 0; k < 100; ++k)
            hidden.Invalidate();
        QCoreApplication::processEvents();
        QCOMPARE(reads, 0);

        TestEditor ed;
        PreviewWindow* window = openPreview(ed);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(window->Preview()->Readings() > 0);
        QCoreApplication::processEvents();
        const int before = window->Preview()->Readings();
        // Nearly the largest file Import reads, each line a change.
        QByteArray text;
        for (int k = 0; k < 9970; ++k)
            text += colorLine(8, QColor(k % 256, k / 256, 7));
        const QString file = m_dir.filePath("large.theme");
        writeFile(file, text + knownTheme());
        ImportThemeFile(ed.editor(), file);
        QCOMPARE(window->Preview()->Readings(), before);
        QTRY_COMPARE(window->Preview()->Readings(), before + 1);
        QTest::qWait(50);
        QCOMPARE(window->Preview()->Readings(), before + 1);
        QCOMPARE(window->Preview()->Theme().Color(19), Known[19]);
    }

    // Pointing at an element names its setting; clicking it goes there.
    void hoverAndClickFindTheSlot()
    {
        TestEditor ed;
        ed->show();
        PreviewWindow* window = openPreview(ed);
        ThemePreview* preview = window->Preview();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QPoint at = visiblePoint(preview->CurrentMock(), 19);
        QHelpEvent help(QEvent::ToolTip, at, preview->mapToGlobal(at));
        QCoreApplication::sendEvent(preview, &help);
        QCOMPARE(QToolTip::text(), QStringLiteral("Menu background color.\nnot in the theme: neutral default shown"));
        ed.slots().SetValue(19, 1);
        ed.cd->AnswerColor(QColorToPacked(QColor(1, 2, 3)));
        QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        QCOMPARE(preview->ToolTipAt(at), QStringLiteral("Menu background color.\n1,2,3, from the theme"));
        // Text names its size too.
        const QString tip = preview->ToolTipAt(visiblePoint(preview->CurrentMock(), 20));
        QVERIFY2(tip.startsWith("Menu text color.\n") && tip.contains("\n\nMenu Text:\n"), qPrintable(tip));

        for (int slot : {0, 3, 9, 24, 25, 26, 30, 31}) {
            at = visiblePoint(preview->CurrentMock(), slot);
            QCOMPARE(preview->SlotAt(at), slot);
            QVERIFY(preview->ToolTipAt(at).startsWith(QString::fromLatin1(SlotTable[slot].caption) + u'\n'));
            ed.slots().cmd[0]->setFocus();
            window->activateWindow();
            QTest::mouseClick(preview, Qt::LeftButton, {}, at);
            QCOMPARE(ed->focusWidget(), ed.slots().chk[slot]);
        }
        QTRY_COMPARE(QApplication::activeWindow(), ed.window.get());
    }

    // A hard-to-read pair is listed with its ratio and marked in the mock.
    void warningsAreListedAndMarked()
    {
        TestEditor ed;
        import(ed, knownTheme() + colorLine(20, QColor(200, 215, 230)) + colorLine(7, Known[6]));
        ThemePreview* preview = openPreview(ed)->Preview();
        const QList<ContrastWarning> warnings = preview->Warnings();
        QCOMPARE(warnings.size(), 2);
        QCOMPARE(warnings[0].pair.text, 20);
        QCOMPARE(warnings[1].pair.text, 7);
        QCOMPARE(warnings[1].ratio, 1.0);

        // Outlined: the menu text (pair 0) and the tool tip (pair 7), not the rest.
        const QImage image = preview->grab().toImage();
        for (int k = 0; k < int(CheckedTextPairs.size()); ++k) {
            const QRect place = preview->CurrentMock().pairPlaces[k];
            const int mark = countColor(image, place.adjusted(-4, -4, 3, 3), MarkColor)
                             - countColor(image, place.adjusted(-1, -1, 0, 0), MarkColor);
            QCOMPARE(mark > 10, k == 0 || k == 7);
        }
        const QString tip = preview->ToolTipAt(preview->WarningLine(1).center());
        QVERIFY2(tip.contains("ToolTipText foreground color.") && tip.contains("1.00:1"), qPrintable(tip));
        QCOMPARE(preview->SlotAt(preview->WarningLine(0).center()), 20);
        QCOMPARE(preview->SlotAt(preview->WarningLine(2).center()), -1);
    }

private:
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    void import(TestEditor& ed, const QByteArray& text)
    {
        writeFile(m_dir.filePath("known.theme"), text);
        ImportThemeFile(ed.editor(), m_dir.filePath("known.theme"));
        QVERIFY(ed.messages->Shown().isEmpty());
    }

    QTemporaryDir m_dir;
};

OVEX_TEST_MAIN(PreviewTest)
#include "tst_preview.moc"
