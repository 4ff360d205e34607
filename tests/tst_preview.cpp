// The preview window: what it draws, how it follows the editor, its contrast warnings.
#include "TestSupport.h"

#include "app/PreviewWindow.h"
#include "app/ThemePreview.h"
#include "slots/Contrast.h"
#include "theme/ImportTheme.h"
#include "theme/ThemeKeys.h"

#include <QTemporaryDir>
#include <QToolTip>

using namespace ovex;
using ovex::test::TestEditor;

namespace {

// A colour per slot, all different and unlike the defaults.
QColor known(int slot) { return QColor(13 + 9 * slot, 251 - 7 * slot, (41 * slot + 5) % 256); }

QByteArray knownTheme()
{
    QByteArray text = "name=Known\r\n";
    for (int i = 0; i < ColorSlotCount; ++i)
        text += QStringLiteral("%1%2,%3,%4\r\n").arg(SlotTable[i].key).arg(known(i).red()).arg(known(i).green()).arg(known(i).blue()).toLatin1();
    return text;
}

PreviewWindow* openPreview(TestEditor& ed)
{
    ed.action("mnuPreview")->trigger();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<PreviewWindow*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

// Pixels of colour inside the first element drawn for slot.
int pixelsAt(ThemePreview* preview, int slot, const QColor& color)
{
    const QImage image = preview->grab().toImage();
    const QRect r = preview->CurrentMock().FirstItemFor(slot)->rect & image.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y) == color;
    return n;
}

// A point where the first element showing slot is the one on top.
QPoint visiblePoint(const Mock& mock, int slot)
{
    const MockItem* item = mock.FirstItemFor(slot);
    for (int y = item->rect.top(); y <= item->rect.bottom(); ++y)
        for (int x = item->rect.left(); x <= item->rect.right(); ++x)
            if (mock.ItemAt({x, y}) == item)
                return {x, y};
    return {-1, -1};
}

} // namespace

class PreviewTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneWindowAtMostClosingWithTheMainWindow()
    {
        TestEditor ed;
        ed->show();
        QPointer<PreviewWindow> first = openPreview(ed);
        QVERIFY(first);
        QCOMPARE(openPreview(ed), first.data());
        QVERIFY(ed->close());
        QTRY_VERIFY(!first);
    }

    // A handful of elements of the known theme, drawn in their colours; each
    // change then reaches the menu bar of a preview already drawn.
    void drawsAndFollowsTheEditor_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QColor>("color");
        for (int slot : {0, 12, 16, 18, 24})
            QTest::addRow("slot %d", slot) << "" << slot << known(slot);
        QTest::newRow("pick") << "pick" << 19 << QColor(1, 2, 3);
        QTest::newRow("untick") << "untick" << 19 << DefaultSlotColor(19);
        QTest::newRow("new") << "new" << 19 << DefaultSlotColor(19);
        QTest::newRow("import") << "import" << 19 << QColor(9, 8, 7);
    }

    void drawsAndFollowsTheEditor()
    {
        QFETCH(QString, change);
        QFETCH(int, slot);
        QFETCH(QColor, color);
        TestEditor ed;
        import(ed, knownTheme());
        ThemePreview* preview = openPreview(ed)->Preview();
        QVERIFY(pixelsAt(preview, 19, known(19)) >= 3);
        if (change == "pick") {
            ed.cd->AnswerColor(QColorToPacked(color));
            QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        } else if (change == "untick") {
            QTest::mouseClick(ed.slots().chk[19], Qt::LeftButton);
        } else if (change == "new") {
            ed.action("mnuNew")->trigger();
        } else if (change == "import") {
            import(ed, "name=Other\r\nmenubackground=9,8,7\r\n");
        }
        QVERIFY(pixelsAt(preview, slot, color) >= 3);
        QCOMPARE(pixelsAt(preview, 19, known(19)) > 0, change.isEmpty());
    }

    // Pointing at an element names its setting; clicking it goes there.
    void hoverAndClickFindTheSlot()
    {
        TestEditor ed;
        ed->show();
        PreviewWindow* window = openPreview(ed);
        ThemePreview* preview = window->Preview();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        ed.slots().SetValue(19, 1);
        ed.cd->AnswerColor(QColorToPacked(QColor(1, 2, 3)));
        QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        QPoint at = visiblePoint(preview->CurrentMock(), 19);
        QHelpEvent help(QEvent::ToolTip, at, preview->mapToGlobal(at));
        QCoreApplication::sendEvent(preview, &help);
        const QString tip = QToolTip::text();
        QVERIFY2(tip.startsWith(QString::fromLatin1(SlotTable[19].caption) + u'\n') && tip.contains("1,2,3"), qPrintable(tip));

        at = visiblePoint(preview->CurrentMock(), 24);
        ed.slots().cmd[0]->setFocus();
        window->activateWindow();
        QTest::mouseClick(preview, Qt::LeftButton, {}, at);
        QCOMPARE(ed->focusWidget(), ed.slots().chk[24]);
    }

    // Known ratios, and the warnings when a dark menu background spoils both texts on it.
    void contrast()
    {
        QCOMPARE(ContrastText(ContrastRatio(Qt::black, Qt::white)), QStringLiteral("21.00:1"));
        QCOMPARE(ContrastText(ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white)), QStringLiteral("4.48:1"));
        auto colors = DefaultPreviewTheme().colors;
        QVERIFY(ContrastWarnings(colors).isEmpty());
        colors[19] = QColor(0x30, 0x30, 0x30);
        QList<int> texts;
        for (const ContrastWarning& w : ContrastWarnings(colors))
            texts << w.pair.text;
        QCOMPARE(ContrastWarnings(colors).first().ratio, ContrastRatio(colors[20], colors[19]));
        QCOMPARE(texts, QList<int>({20, 23}));
    }

private:
    void import(TestEditor& ed, const QByteArray& text)
    {
        QFile f(m_dir.filePath("known.theme"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
        f.close();
        ImportThemeFile(ed.editor(), f.fileName());
        QVERIFY(ed.messages->Shown().isEmpty());
    }

    QTemporaryDir m_dir;
};

OVEX_TEST_MAIN(PreviewTest)
#include "tst_preview.moc"
