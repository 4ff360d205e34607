// The preview window: what it draws, how it follows the editor, its readability list.
#include "SampleColors.h"
#include "TestSupport.h"
#include "preview/PairsDialog.h"
#include "preview/PreviewTheme.h"
#include "preview/PreviewWindow.h"
#include "preview/ReadabilityPanel.h"
#include "preview/ThemePreview.h"
#include "slots/MRW_Color.h"
#include "theme/ImportTheme.h"
#include "theme/ThemeKeys.h"
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QToolTip>
#include <QUndoStack>

using namespace ovex;
using ovex::test::TestEditor;

Q_DECLARE_METATYPE(ovex::SlotColors)

// Each slot ticked and set to its colour, as one step.
static void setColors(TestEditor& ed, const QList<std::pair<int, QColor>>& colors)
{
    QList<frmMain::SlotColor> packed;
    for (const auto& [slot, color] : colors)
        packed.append({slot, QColorToPacked(color)});
    ed->SetSlotColors(QStringLiteral("Set up"), packed);
}

static QList<std::pair<int, QColor>> allSlots(const SlotColors& colors)
{
    QList<std::pair<int, QColor>> list;
    for (int i = 0; i < ColorSlotCount; ++i)
        list.append({i, colors[i]});
    return list;
}

// Tick, value text and colour of every colour slot.
static QStringList slotState(TestEditor& ed)
{
    QStringList state;
    for (int i = 0; i < ColorSlotCount; ++i)
        state << QStringLiteral("%1 %2 %3").arg(ed.slots().Value(i)).arg(ed.slots().s[i]->Tag()).arg(ed.slots().s[i]->BackColor());
    return state;
}

static QList<qsizetype> warnedPairs(ThemePreview* preview)
{
    QList<qsizetype> pairs;
    for (const PairResult& r : preview->Warnings())
        pairs << r.pair;
    return pairs;
}

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
        QMouseEvent move(QEvent::MouseMove, at, preview->mapToGlobal(at), Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(preview, &move);
        QVERIFY(preview->accessibleDescription().startsWith(QString::fromLatin1(SlotTable[19].caption) + ": "));
        ed.slots().cmd[0]->setFocus();
        window->activateWindow();
        QTest::mouseClick(preview, Qt::LeftButton, {}, onTop(24));
        QCOMPARE(ed->focusWidget(), ed.slots().chk[24]);
        QVERIFY(ed->close());
        QTRY_VERIFY(!window);
    }

    // A theme that sets nothing meets every threshold, the hints included, with any vision.
    void defaultsPass() { QVERIFY(AllPairsPassForEveryVision(DefaultPreviewTheme().colors)); }

    // Fix and Fix All make the pairs pass as one undo step; undo restores every tick, value text and colour.
    void fixes_data()
    {
        QTest::addColumn<SlotColors>("colors");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<QList<int>>("ticked");   // slots set by the fix
        SlotColors darkMenu = DefaultPreviewTheme().colors;
        darkMenu[19] = QColor(0x30, 0x30, 0x30);
        QTest::newRow("Fix on an unticked slot") << darkMenu << "Fix: Menu text on menu background" << 1 << QList<int>{20};
        QTest::newRow("Fix All over eight") << test::EightFailingPairs() << "Fix All" << 8
                                            << QList<int>{20, 22, 15, 12, 11, 7, 26, 8};
    }
    void fixes()
    {
        QFETCH(SlotColors, colors);
        QFETCH(QString, button);
        QFETCH(int, warnings);
        QFETCH(QList<int>, ticked);
        TestEditor ed;
        if (button == "Fix All")
            setColors(ed, allSlots(colors));
        else
            setColors(ed, {{19, colors[19]}});
        PreviewWindow* window = openPreview(ed);
        ThemePreview* preview = window->Preview();
        QCOMPARE(preview->Warnings().size(), warnings);
        ReadabilityPanel* panel = window->Panel();
        QPushButton* fix = button == "Fix All" ? panel->FixAllButton() : panel->FixButton(0);
        QVERIFY(fix->isVisibleTo(window));
        QCOMPARE(fix->accessibleName(), button);
        const QStringList before = slotState(ed);
        const int steps = ed->undoStack().count();
        QTest::mouseClick(fix, Qt::LeftButton);
        QVERIFY(preview->Warnings().isEmpty());
        QCOMPARE(ed->undoStack().count(), steps + 1);
        QCOMPARE(ed->undoStack().undoText(), button);
        for (int slot : ticked) {
            QCOMPARE(ed.slots().Value(slot), 1);
            QCOMPARE(ed.slots().s[slot]->Tag(), Color_ToText(ed.slots().s[slot]->BackColor()));
            QCOMPARE(PackedToQColor(ed.slots().s[slot]->BackColor()), preview->Theme().Color(slot));
        }
        QVERIFY(!panel->FixAllButton()->isVisibleTo(window));
        ed->undoStack().undo();
        QCOMPARE(slotState(ed), before);
        QCOMPARE(preview->Warnings().size(), warnings);
    }

    // The highlight cannot reach 3:1 on the black list without the grey text on it becoming unreadable.
    void noFixChangesNothing()
    {
        TestEditor ed;
        setColors(ed, {{18, Qt::black}, {16, Qt::black}, {17, QColor(0x7C, 0x7C, 0x7C)}, {15, Qt::white}});
        PreviewWindow* window = openPreview(ed);
        QCOMPARE(window->Preview()->Warnings().size(), 1);
        const QStringList before = slotState(ed);
        const int steps = ed->undoStack().count();
        QTest::mouseClick(window->Panel()->FixButton(0), Qt::LeftButton);
        QCOMPARE(slotState(ed), before);
        QCOMPARE(ed->undoStack().count(), steps);
        QCOMPARE(window->Panel()->Note(), "No readable colour keeps the other pairs of "
                                              + QString::fromLatin1(SlotTable[16].caption) + " readable.");
    }

    // Pure red menu text on black reads at 5.25:1, but not with protanopia: the picture and the warnings change.
    void simulation()
    {
        TestEditor ed;
        setColors(ed, {{20, Qt::red}, {19, Qt::black}});
        PreviewWindow* window = openPreview(ed);
        ThemePreview* preview = window->Preview();
        const QRect menuText = preview->CurrentMock().pairPlaces[PairIndex(20, 19)];
        const auto count = [&](const QColor& c) {
            const QImage image = preview->grab(menuText).toImage();
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += image.pixelColor(x, y) == c;
            return n;
        };
        QVERIFY(warnedPairs(preview).isEmpty());
        QVERIFY(count(Qt::red) > 0);
        QVERIFY(window->Panel()->findChild<QLabel*>("lblSimulationNote")->text().contains("Menu text on menu background (Protanopia"));
        window->SimulateBox()->setCurrentIndex(1);
        QCOMPARE(window->SimulateBox()->currentText(), "Protanopia");
        QCOMPARE(warnedPairs(preview), QList<qsizetype>{PairIndex(20, 19)});
        QCOMPARE(count(Qt::red), 0);
        QVERIFY(count(Simulate(QColor(Qt::red), VisionType::Protanopia)) > 0);
        QTest::mouseClick(window->Panel()->FixButton(0), Qt::LeftButton);
        QVERIFY(warnedPairs(preview).isEmpty());
        window->SimulateBox()->setCurrentIndex(0);
        QVERIFY(warnedPairs(preview).isEmpty());
    }

    // Every control of the list has an accessible name and is reached by Tab; the table lists every pair.
    void accessibleAndTabbed()
    {
        TestEditor ed;
        setColors(ed, allSlots(test::EightFailingPairs()));
        PreviewWindow* window = openPreview(ed);
        QVERIFY(QTest::qWaitForWindowActive(window));
        ReadabilityPanel* panel = window->Panel();
        QList<QWidget*> controls = {window->SimulateBox(), window->Preview(), panel->FixAllButton(), panel->ShowAllButton()};
        for (int k = 0; k < 8; ++k)
            controls << panel->FixButton(k);
        QSet<QWidget*> reached;
        window->SimulateBox()->setFocus();
        for (int k = 0; k < 30; ++k) {
            reached << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* w : controls) {
            QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
            QVERIFY2(reached.contains(w), qPrintable(w->accessibleName()));
        }
        QCOMPARE(panel->FixButton(0)->accessibleName(), "Fix: Menu text on menu background");
        QTest::mouseClick(panel->ShowAllButton(), Qt::LeftButton);
        QTableWidget* table = panel->Table()->Table();
        QVERIFY(!table->accessibleName().isEmpty());
        QCOMPARE(table->rowCount(), int(CheckedPairCount));
        QCOMPARE(table->item(0, 2)->text(), RatioText(window->Preview()->Results()[0].ratio));
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
