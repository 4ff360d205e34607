// The preview window: what it draws, how it follows the editor, its readability list.
#include "SampleColors.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "preview/PairsDialog.h"
#include "preview/ReadPreviewTheme.h"
#include "preview/ReadabilityPanel.h"
#include "preview/ThemePreview.h"
#include "colour/ThemePicture.h"
#include "slots/MRW_Color.h"
#include "theme/ImportTheme.h"
#include "theme/ThemeKeys.h"
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QToolTip>
#include <QUndoStack>

using namespace ovex;
using ovex::test::OpenPreview;
using ovex::test::TestEditor;

// Colour slots and the colours to give them.
using Setup = QList<std::pair<int, QColor>>;
Q_DECLARE_METATYPE(Setup)

// Each slot ticked and set to its colour, as one step.
static void setColors(TestEditor& ed, const Setup& colors)
{
    QList<frmMain::SlotColor> packed;
    for (const auto& [slot, color] : colors)
        packed.append({slot, QColorToPacked(color)});
    ed->SetSlotColors(QStringLiteral("Set up"), packed);
}

static Setup allSlots(const SlotColors& colors)
{
    Setup list;
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

// How many pixels of area the preview draws in color.
static int countPixels(ThemePreview* preview, const QRect& area, const QColor& color)
{
    const QImage image = preview->grab(area & preview->rect()).toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == color;
    return n;
}

// A point where the first element showing slot is on top.
static QPoint pointOnTop(ThemePreview* preview, int slot)
{
    const Mock& m = preview->CurrentMock();
    const QRect r = m.FirstItemFor(slot)->rect & preview->rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (m.ItemAt(QPoint(x, y)) == m.FirstItemFor(slot))
                return QPoint(x, y);
    return QPoint(-1, -1);
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
        const auto import = [&](const QByteArray& text) {
            QVERIFY(ovex::test::WriteTestFile(dir.filePath("known.theme"), text));
            ImportThemeFile(ed.editor(), dir.filePath("known.theme"));
        };
        QByteArray theme = "name=Known\r\n";
        for (int i = 0; i < ColorSlotCount; ++i)
            theme += QStringLiteral("%1%2,%3,%4\r\n").arg(SlotTable[i].key).arg(known(i).red()).arg(known(i).green()).arg(known(i).blue()).toLatin1();
        import(theme);
        ThemePreview* preview = OpenPreview(ed)->Preview();
        const auto pixelsAt = [&](int slot, const QColor& c) {
            return countPixels(preview, preview->CurrentMock().FirstItemFor(slot)->rect, c);
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

    // The picture other windows and the command line draw is the preview's own, pixel for pixel, with
    // any vision; at another size it keeps its proportions, centred.
    void pictureIsThePreviews()
    {
        TestEditor ed;
        Setup setup = allSlots(test::ReadableColors());
        setup += {{19, QColor(255, 210, 210)}, {0, QColor(250, 240, 200)}};
        setColors(ed, setup);
        PreviewWindow* window = OpenPreview(ed);
        const PreviewTheme theme = ReadPreviewTheme(ed.editor());
        for (const VisionType vision : {VisionType::Normal, VisionType::Deuteranopia}) {
            window->SimulateBox()->setCurrentIndex(int(vision));
            QVERIFY(window->Preview()->Warnings().isEmpty());
            const QImage shown = window->Preview()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(DrawThemePicture(theme, MockSize, vision).convertToFormat(QImage::Format_RGB32), shown);
        }
        const QImage tall = DrawThemePicture(theme, QSize(MockSize.width() / 2, 400));
        QCOMPARE(tall.size(), QSize(MockSize.width() / 2, 400));
        QCOMPARE(qAlpha(tall.pixel(tall.width() / 2, 10)), 0);
        QCOMPARE(QColor(tall.pixel(tall.width() / 2, 200 - MockSize.height() / 4 + 20)), QColor(255, 210, 210));
    }

    // One window at most; hovering names a setting, clicking goes there; it closes with the main window.
    void hoverClickAndClose()
    {
        TestEditor ed;
        ed->show();
        QPointer<PreviewWindow> window = OpenPreview(ed);
        QVERIFY(window);
        QCOMPARE(OpenPreview(ed), window.data());
        ThemePreview* preview = window->Preview();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        ed.slots().SetValue(19, 1);
        ed.cd->AnswerColor(QColorToPacked(QColor(1, 2, 3)));
        QTest::mouseClick(ed.slots().cmd[19], Qt::LeftButton);
        const QPoint at = pointOnTop(preview, 19);
        QHelpEvent help(QEvent::ToolTip, at, preview->mapToGlobal(at));
        QCoreApplication::sendEvent(preview, &help);
        QVERIFY2(QToolTip::text().startsWith(QString::fromLatin1(SlotTable[19].caption) + u'\n')
                 && QToolTip::text().contains("1,2,3"), qPrintable(QToolTip::text()));
        QMouseEvent move(QEvent::MouseMove, at, preview->mapToGlobal(at), Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(preview, &move);
        QVERIFY(preview->accessibleDescription().startsWith(QString::fromLatin1(SlotTable[19].caption) + ": "));
        ed.slots().cmd[0]->setFocus();
        window->activateWindow();
        QTest::mouseClick(preview, Qt::LeftButton, {}, pointOnTop(preview, 24));
        QCOMPARE(ed->focusWidget(), ed.slots().chk[24]);
        QVERIFY(ed->close());
        QTRY_VERIFY(!window);
    }

    // A theme that sets nothing meets every threshold, the hints included, with any vision.
    void defaultsPass() { QVERIFY(AllPairsPassForEveryVision(DefaultPreviewTheme().colors)); }

    // Fix and Fix All make the pairs pass as one undo step; undo restores every tick, value text and colour.
    // A pair no colour helps is left as it is, and a note says why.
    void fixes_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<int>("left");
        QTest::addColumn<QList<int>>("ticked");   // slots set by the fix
        QTest::addColumn<QString>("note");
        // The highlight cannot reach 3:1 on the black list without the grey text on it becoming unreadable.
        const Setup blackList{{18, Qt::black}, {16, Qt::black}, {17, QColor(0x7C, 0x7C, 0x7C)}, {15, Qt::white}};
        const QString noFix = QStringLiteral("No readable colour for \u201CTable and text selection highlight.\u201D keeps its other pairs readable.");
        QTest::newRow("Fix on an unticked slot") << Setup{{19, QColor(0x30, 0x30, 0x30)}} << "Fix: Menu text on menu background"
                                                 << 1 << 0 << QList<int>{20} << "";
        QTest::newRow("Fix All over ten") << allSlots(test::PaleFronts()) << "Fix All" << 10 << 0
                                          << QList<int>{20, 22, 15, 12, 11, 7, 26, 8, 3} << "";
        QTest::newRow("Fix, no colour helps") << blackList << "Fix: Text highlight on list background" << 1 << 1 << QList<int>{} << noFix;
        QTest::newRow("Fix All, one left") << blackList + Setup{{20, QColor(0xE0, 0xE0, 0xE0)}} << "Fix All" << 2 << 1
                                           << QList<int>{20} << noFix;
    }

    void fixes()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, button);
        QFETCH(int, warnings);
        QFETCH(int, left);
        QFETCH(QList<int>, ticked);
        QFETCH(QString, note);
        TestEditor ed;
        setColors(ed, setup);
        PreviewWindow* window = OpenPreview(ed);
        ThemePreview* preview = window->Preview();
        QCOMPARE(preview->Warnings().size(), warnings);
        ReadabilityPanel* panel = window->Panel();
        QPushButton* fix = button == "Fix All" ? panel->FixAllButton() : panel->FixButton(0);
        QVERIFY(fix->isVisibleTo(window));
        QCOMPARE(fix->accessibleName(), button);
        const QStringList before = slotState(ed);
        const int steps = ed->undoStack().count();
        QTest::mouseClick(fix, Qt::LeftButton);
        QCOMPARE(preview->Warnings().size(), left);
        QCOMPARE(panel->Note(), note);
        QCOMPARE(ed->undoStack().count(), ticked.isEmpty() ? steps : steps + 1);
        for (int slot : ticked) {
            QCOMPARE(ed.slots().Value(slot), 1);
            QCOMPARE(ed.slots().s[slot]->Tag(), Color_ToText(ed.slots().s[slot]->BackColor()));
            QCOMPARE(PackedToQColor(ed.slots().s[slot]->BackColor()), preview->Theme().Color(slot));
        }
        QVERIFY(!panel->FixAllButton()->isVisibleTo(window));
        if (!ticked.isEmpty()) {
            QCOMPARE(ed->undoStack().undoText(), button);
            ed->undoStack().undo();
        }
        QCOMPARE(slotState(ed), before);
        QCOMPARE(preview->Warnings().size(), warnings);
    }

    // Pure red menu text on black reads at 5.25:1, but not with protanopia: the picture and the warnings
    // change. Selected menu text white on white fails for everyone, so the note leaves it out.
    void simulation()
    {
        TestEditor ed;
        setColors(ed, {{20, Qt::red}, {19, Qt::black}, {21, Qt::white}});
        PreviewWindow* window = OpenPreview(ed);
        ThemePreview* preview = window->Preview();
        const qsizetype menu = PairIndex(20, 19);
        const QRect menuText = preview->CurrentMock().pairPlaces[menu];
        const qsizetype selected = PairIndex(22, 21);
        QCOMPARE(warnedPairs(preview), QList<qsizetype>{selected});
        QVERIFY(countPixels(preview, menuText, Qt::red) > 0);
        QCOMPARE(window->Panel()->findChild<QLabel*>("lblSimulationNote")->text(),
                 "Fails only with a colour-vision deficiency: Menu text on menu background (Protanopia).");
        window->SimulateBox()->setCurrentText("Protanopia");
        QCOMPARE(warnedPairs(preview), (QList<qsizetype>{menu, selected}));
        QCOMPARE(countPixels(preview, menuText, Qt::red), 0);
        QVERIFY(countPixels(preview, menuText, Simulate(QColor(Qt::red), VisionType::Protanopia)) > 0);
        QTest::mouseClick(window->Panel()->FixButton(0), Qt::LeftButton);
        QCOMPARE(warnedPairs(preview), QList<qsizetype>{selected});
        window->SimulateBox()->setCurrentIndex(0);
        QCOMPARE(warnedPairs(preview), QList<qsizetype>{selected});
    }

    // Tab reaches every control and every text of the list in reading order, each warning just before its
    // Fix button, and a screen reader is given each text whole: the warnings with their number, ratio and
    // threshold, the hints, the notes. The table lists every pair.
    void accessibleAndTabbed()
    {
        TestEditor ed;
        // Nine warnings, one no colour fixes; red menu text that fails only with protanopia; a disabled hint.
        Setup setup = allSlots(test::PaleFronts());
        setup += {{18, Qt::black}, {16, Qt::black}, {17, QColor(0x7C, 0x7C, 0x7C)}, {15, Qt::white}};
        setup += {{20, Qt::red}, {19, Qt::black}, {23, QColor(0x20, 0x20, 0x20)}};
        setColors(ed, setup);
        PreviewWindow* window = OpenPreview(ed);
        QVERIFY(QTest::qWaitForWindowActive(window));
        ReadabilityPanel* panel = window->Panel();
        const QList<PairResult> warnings = panel->ShownWarnings();
        QCOMPARE(warnings.size(), 9);
        const qsizetype unfixable = PairIndex(16, 18);
        for (qsizetype row = 0; row < warnings.size(); ++row)
            if (warnings[row].pair == unfixable)
                QTest::mouseClick(panel->FixButton(row), Qt::LeftButton);
        QVERIFY(!panel->Note().isEmpty());

        QList<QWidget*> order;
        window->SimulateBox()->setFocus();
        while (!order.contains(QApplication::focusWidget()) && order.size() < 100) {
            order << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const auto accessibleName = [](QWidget* w) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            return a && a->state().focusable ? a->text(QAccessible::Name) : QString();
        };
        const auto text = [&](const char* name) { return window->findChild<QLabel*>(name); };
        for (qsizetype row = 0; row < warnings.size(); ++row) {
            QLabel* label = text(qPrintable(QStringLiteral("lblWarning%1").arg(row)));
            QCOMPARE(order.indexOf(panel->FixButton(row)), order.indexOf(label) + 1);
            const PairResult& r = warnings[row];
            QCOMPARE(accessibleName(label), QStringLiteral("Warning %1 of 9: %2: %3, needs %4:1").arg(row + 1)
                                                .arg(QLatin1String(r.Pair().what), RatioText(r.ratio)).arg(Threshold(r.Pair().kind)));
        }
        QList<QWidget*> controls = {window->SimulateBox(), window->Preview(), panel->FixAllButton(), panel->ShowAllButton()};
        for (const char* name : {"lblReadability", "lblFixNote", "lblHints", "lblSimulationNote", "lblDefaults"}) {
            QVERIFY2(!text(name)->text().isEmpty(), name);
            QCOMPARE(accessibleName(text(name)), text(name)->text());
            controls << text(name);
        }
        for (QWidget* w : controls) {
            QVERIFY2(!accessibleName(w).isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(order.contains(w), qPrintable(w->objectName()));
        }
        QVERIFY(text("lblHints")->text().contains(CheckedPairs[PairIndex(23, 19)].what));

        QTest::mouseClick(panel->ShowAllButton(), Qt::LeftButton);
        QTableWidget* table = panel->Table()->Table();
        QVERIFY(!table->accessibleName().isEmpty());
        QCOMPARE(table->rowCount(), int(CheckedPairCount));
        QCOMPARE(table->item(0, 2)->text(), RatioText(window->Preview()->Results()[0].ratio));
    }

    // Every text the picture draws in a theme colour, and every mark a user must see, is the front of a
    // checked pair whose back is all that is drawn under it; the window system's own text reads on its
    // bar; every checked pair is drawn. Over every layout the font sizes give (6, 12 and 28 points).
    void everyDrawnTextChecked()
    {
        PreviewTheme theme = DefaultPreviewTheme();
        theme.name = QString(80, u'W');
        for (int layout = 0; layout < 243; ++layout) {
            for (int k = 0, code = layout; k < SizeSlotCount; ++k, code /= 3)
                theme.pointSizes[k] = std::array{6.0, 12.0, 28.0}[code % 3];
            const Mock mock = BuildMock(theme);
            std::vector<const MockItem*> under(std::size_t(MockSize.width() * MockSize.height()), nullptr);
            std::array<bool, CheckedPairCount> drawn{};
            for (const MockItem& item : mock.items) {
                const bool mustRead = item.kind != MockItem::Kind::Fill && item.kind != MockItem::Kind::Frame;
                const auto where = [&] { return qPrintable(QStringLiteral("\"%1\" (kind %2, colour %3) in layout %4").arg(item.text).arg(int(item.kind)).arg(item.color).arg(layout)); };
                QVERIFY2(!mustRead || item.pair >= 0 || item.color < 0, where());
                QVERIFY(item.pair < 0 || item.color == CheckedPairs[item.pair].front);
                const QRect r = item.rect & QRect(QPoint(), MockSize);
                for (int y = r.top(); y <= r.bottom(); ++y) {
                    for (int x = r.left(); x <= r.right(); ++x) {
                        if (item.kind == MockItem::Kind::Frame && x != r.left() && x != r.right() && y != r.top() && y != r.bottom())
                            continue;
                        const MockItem*& below = under[std::size_t(y * MockSize.width() + x)];
                        const bool readsOnIt = item.pair >= 0 ? below && below->color == CheckedPairs[item.pair].back
                                               : !mustRead || (below && below->color < 0 && ContrastRatio(item.fixed, below->fixed) >= TextContrast);
                        if (!readsOnIt)
                            QFAIL(where());
                        if (!mustRead)
                            below = &item;
                    }
                }
                if (item.pair >= 0)
                    drawn[item.pair] = true;
            }
            for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k)
                QVERIFY2(drawn[k] && !mock.pairPlaces[k].isEmpty(), CheckedPairs[k].what);
        }
    }

    // What the picture lays out of a text: at most MaxPreviewText characters, no half of a pair.
    void previewText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString a299(MaxPreviewText - 1, u'a');
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
