// The preview window: what it draws, how it follows the editor, its contrast warnings.
#include "TestSupport.h"
#include "app/PreviewTheme.h"
#include "app/PreviewWindow.h"
#include "app/ThemePreview.h"
#include "slots/Contrast.h"
#include "theme/ImportTheme.h"
#include "theme/ThemeKeys.h"
#include <QToolTip>

using namespace ovex;
using ovex::test::TestEditor;

// A colour per slot, all different and unlike the defaults.
static QColor known(int slot) { return QColor(13 + 9 * slot, 251 - 7 * slot, (41 * slot + 5) % 256); }

static PreviewWindow* openPreview(TestEditor& ed)
{
    ed.action("mnuPreview")->trigger();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<PreviewWindow*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

// Points of the first element drawn for slot where pred holds: how many, and the first.
template <class Pred> static std::pair<int, QPoint> scan(ThemePreview* preview, int slot, Pred pred)
{
    const QRect r = preview->CurrentMock().FirstItemFor(slot)->rect & preview->rect();
    std::pair<int, QPoint> found{0, {-1, -1}};
    for (int y = r.bottom(); y >= r.top(); --y)
        for (int x = r.right(); x >= r.left(); --x)
            if (pred(QPoint(x, y)))
                found = {found.first + 1, {x, y}};
    return found;
}

class PreviewTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Elements drawn in the known theme's colours; each change then reaches the drawn menu bar.
    void drawsAndFollowsTheEditor_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QColor>("color");
        QTest::newRow("pick") << "pick" << QColor(1, 2, 3);
        QTest::newRow("untick") << "untick" << DefaultSlotColor(19);
        QTest::newRow("new") << "new" << DefaultSlotColor(19);
        QTest::newRow("import") << "import" << QColor(9, 8, 7);
    }

    void drawsAndFollowsTheEditor()
    {
        QFETCH(QString, change);
        QFETCH(QColor, color);
        TestEditor ed;
        QTemporaryDir dir;
        const auto import = [&](QByteArray text) {
            QFile f(dir.filePath("known.theme"));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
            f.close();
            ImportThemeFile(ed.editor(), f.fileName());
        };
        QByteArray theme = "name=Known\r\n";
        for (int i = 0; i < ColorSlotCount; ++i)
            theme += QStringLiteral("%1%2,%3,%4\r\n").arg(SlotTable[i].key).arg(known(i).red()).arg(known(i).green()).arg(known(i).blue()).toLatin1();
        import(theme);
        ThemePreview* preview = openPreview(ed)->Preview();
        const auto pixelsAt = [&](int slot, const QColor& c) {
            const QImage image = preview->grab().toImage();
            return scan(preview, slot, [&](QPoint p) { return image.pixelColor(p) == c; }).first;
        };
        for (int slot : {0, 16, 19, 24})
            QVERIFY(pixelsAt(slot, known(slot)) >= 3);
        if (change == "pick")
            ed.cd->AnswerColor(QColorToPacked(color));
        if (change == "pick" || change == "untick")
            QTest::mouseClick(change == "pick" ? static_cast<QWidget*>(ed.slots().cmd[19]) : ed.slots().chk[19], Qt::LeftButton);
        else if (change == "new")
            ed.action("mnuNew")->trigger();
        else if (change == "import")
            import("name=Other\r\nmenubackground=9,8,7\r\n");
        QVERIFY(pixelsAt(19, color) >= 3);
        QCOMPARE(pixelsAt(19, known(19)), 0);
    }

    // One window at most; hovering names a setting, clicking goes there; it closes with the main window.
    void hoverClickAndClose()
    {
        TestEditor ed;
        ed->show();
        QPointer<PreviewWindow> window = openPreview(ed);
        QVERIFY(window);
        QCOMPARE(openPreview(ed), window.data());
        ThemePreview* preview = window->Preview();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto onTop = [&](int slot) {   // a point where the first element showing slot is on top
            const Mock& m = preview->CurrentMock();
            return scan(preview, slot, [&](QPoint p) { return m.ItemAt(p) == m.FirstItemFor(slot); }).second;
        };
        ed.slots().SetValue(19, 1);
        ed.cd->AnswerColor(QColorToPacked(QColor(1, 2, 3)));
        QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        const QPoint at = onTop(19);
        QHelpEvent help(QEvent::ToolTip, at, preview->mapToGlobal(at));
        QCoreApplication::sendEvent(preview, &help);
        QVERIFY2(QToolTip::text().startsWith(QString::fromLatin1(SlotTable[19].caption) + u'\n')
                 && QToolTip::text().contains("1,2,3"), qPrintable(QToolTip::text()));
        ed.slots().cmd[0]->setFocus();
        window->activateWindow();
        QTest::mouseClick(preview, Qt::LeftButton, {}, onTop(24));
        QCOMPARE(ed->focusWidget(), ed.slots().chk[24]);
        QVERIFY(ed->close());
        QTRY_VERIFY(!window);
    }

    // Two decimals; a ratio below the minimum never reads as meeting it.
    void contrastText_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("text");
        QTest::newRow("black on white") << ContrastRatio(Qt::black, Qt::white) << "21.00:1";
        QTest::newRow("#777 on white") << ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) << "4.48:1";
        QTest::newRow("just under the minimum") << 4.4999 << "4.49:1";
        QTest::newRow("the minimum") << 4.5 << "4.50:1";
    }
    void contrastText()
    {
        QFETCH(double, ratio);
        QFETCH(QString, text);
        QCOMPARE(ContrastText(ratio), text);
    }

    // The defaults warn of nothing; a menu text colour or background set per row warns of the texts below 4.5:1.
    void contrastWarnings_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QList<int>>("warned");   // text slots, in pair order
        QTest::newRow("defaults") << 19 << DefaultSlotColor(19) << QList<int>{};
        QTest::newRow("dark menu background") << 19 << QColor(0x30, 0x30, 0x30) << QList<int>{20, 23};
        QTest::newRow("menu text at 4.06:1") << 20 << QColor(0x76, 0x76, 0x76) << QList<int>{20};
        QTest::newRow("menu text at 4.55:1") << 20 << QColor(0x6E, 0x6E, 0x6E) << QList<int>{};
    }
    void contrastWarnings()
    {
        QFETCH(int, slot);
        QFETCH(QColor, color);
        QFETCH(QList<int>, warned);
        auto colors = DefaultPreviewTheme().colors;
        colors[slot] = color;
        QList<int> texts;
        for (const ContrastWarning& w : ContrastWarnings(colors)) {
            texts << w.pair.text;
            QCOMPARE(w.ratio, ContrastRatio(colors[w.pair.text], colors[w.pair.background]));
        }
        QCOMPARE(texts, warned);
    }

    // What the picture lays out of a text: at most MaxPreviewText characters, no half of a pair.
    void previewText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString a299(MaxPreviewText - 1, u'a');
        QTest::newRow("short") << "Night" << "Night";
        QTest::newRow("15 MiB") << QString(15 * 1024 * 1024, u'n') << QString(MaxPreviewText, u'n');
        QTest::newRow("pair across the cut") << a299 + QStringLiteral("\U0001F600 ") << a299;
    }
    void previewText()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(PreviewText(text), shown);
    }

    // A size counts only when its slot is ticked and its box holds a number, within 6..28 points.
    void previewSizes_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("inTheme");
        QTest::newRow("ticked") << true << "20" << 20.0 << true;
        QTest::newRow("typed, unticked") << false << "20" << DefaultPointSize << false;
        QTest::newRow("ticked, not a number") << true << "big" << DefaultPointSize << false;
        QTest::newRow("ticked, too big") << true << "99" << MaxPointSize << true;
    }
    void previewSizes()
    {
        QFETCH(bool, ticked);
        QFETCH(QString, typed);
        QFETCH(double, points);
        QFETCH(bool, inTheme);
        TestEditor ed;
        ed.slots().SetValue(29, ticked ? 1 : 0);
        ed.slots().SizeBox(29)->setText(typed);
        const PreviewTheme theme = ReadPreviewTheme(ed.editor());
        QCOMPARE(theme.PointSize(29), points);
        QCOMPARE(theme.inTheme[29], inTheme);
    }
};

OVEX_TEST_MAIN(PreviewTest)
#include "tst_preview.moc"
