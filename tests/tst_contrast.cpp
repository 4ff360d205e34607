// Contrast ratios, the readability warnings, and the theme the preview reads.
#include "TestSupport.h"

#include "app/PreviewTheme.h"
#include "slots/Contrast.h"

using namespace ovex;
using ovex::test::TestEditor;

namespace {
std::array<QColor, ColorSlotCount> defaultColors() { return DefaultPreviewTheme().colors; }
} // namespace

class ContrastTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ratio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("expected");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("#777777 on white") << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.478;
        QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("equal") << QColor(0x12, 0x80, 0xC0) << QColor(0x12, 0x80, 0xC0) << 1.0;
        // Green weighs most: pure green is far brighter than pure blue.
        QTest::newRow("green on blue") << QColor(0, 255, 0) << QColor(0, 0, 255) << 6.262;
        QTest::newRow("red on black") << QColor(255, 0, 0) << QColor(Qt::black) << 5.252;
        // Below 0.03928 a channel is linear, not a power curve.
        QTest::newRow("#0A0A0A on black") << QColor(10, 10, 10) << QColor(Qt::black) << 1.0607;
    }

    void ratio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, expected);
        QVERIFY2(std::abs(ContrastRatio(a, b) - expected) < 0.001, qPrintable(QString::number(ContrastRatio(a, b))));
    }

    void ratioText_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("text");
        QTest::newRow("21") << 21.0 << "21.00:1";
        QTest::newRow("grey") << ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) << "4.48:1";
        // Just short of the minimum must not read as meeting it.
        QTest::newRow("just short") << 4.4999 << "4.49:1";
        QTest::newRow("minimum") << 4.5 << "4.50:1";
    }

    void ratioText()
    {
        QFETCH(double, ratio);
        QFETCH(QString, text);
        QCOMPARE(ContrastText(ratio), text);
    }

    void warnings_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QList<int>>("warnedTexts");
        QTest::newRow("defaults") << 0 << DefaultSlotColor(0) << QList<int>{};
        // A grey control colour makes both texts on it hard to read.
        QTest::newRow("control grey") << 0 << QColor(0x40, 0x40, 0x40) << QList<int>{12, 11};
        QTest::newRow("menu background dark") << 19 << QColor(0x30, 0x30, 0x30) << QList<int>{20, 23};
        QTest::newRow("highlight white") << 16 << QColor(Qt::white) << QList<int>{17};
        // 4.5:1 is enough: #767676 on white is 4.54:1.
        QTest::newRow("user text at the limit") << 15 << QColor(0x76, 0x76, 0x76) << QList<int>{};
        QTest::newRow("user text past it") << 15 << QColor(0x77, 0x77, 0x77) << QList<int>{15};
        // No pair reads the focus colour.
        QTest::newRow("focus colour") << 26 << QColor(Qt::white) << QList<int>{};
    }

    void warnings()
    {
        QFETCH(int, slot);
        QFETCH(QColor, color);
        QFETCH(QList<int>, warnedTexts);
        auto colors = defaultColors();
        colors[slot] = color;
        QList<int> texts;
        for (const ContrastWarning& w : ContrastWarnings(colors)) {
            texts << w.pair.text;
            QCOMPARE(w.ratio, ContrastRatio(colors[w.pair.text], colors[w.pair.background]));
            QVERIFY(w.ratio < 4.5);
        }
        QCOMPARE(texts, warnedTexts);
    }

    void pointSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("size");   // 0: not a number
        QTest::newRow("12") << "12" << 12.0;
        QTest::newRow("fraction") << "10.5" << 10.5;
        QTest::newRow("too small") << "1" << MinPointSize;
        QTest::newRow("too large") << "400" << MaxPointSize;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("word") << "abc" << 0.0;
        QTest::newRow("infinity") << "inf" << 0.0;
    }

    void pointSize()
    {
        QFETCH(QString, text);
        QFETCH(double, size);
        const std::optional<double> read = PreviewPointSize(text);
        QCOMPARE(read.has_value(), size != 0.0);
        if (read)
            QCOMPARE(*read, size);
    }

    // What Save would write: a slot counts only ticked with a value text; a
    // size slot takes its box, not its value text.
    void readsWhatSaveWrites()
    {
        TestEditor ed;
        SettingSlots& slots = ed.slots();
        slots.SetValue(0, 1);                      // ticked, no colour yet
        slots.s[1]->SetBackColor(0x0000FF);        // coloured, not ticked
        slots.s[1]->SetTag("255,0,0");
        slots.SetValue(2, 1);
        slots.s[2]->SetBackColor(0xFF0000);        // packed: blue
        slots.s[2]->SetTag("0,0,255");
        slots.SetValue(28, 1);                     // takes the box's 12
        slots.SizeBox(28)->setText("20");          // Save copies the box anew
        slots.SizeBox(29)->setText("18");          // not ticked
        slots.SetValue(30, 1);
        slots.SizeBox(30)->setText("big");
        ed.editor().txtThemeName->setText("Night");

        const PreviewTheme theme = ReadPreviewTheme(ed.editor());
        QCOMPARE(theme.name, QStringLiteral("Night"));
        QCOMPARE(theme.inTheme[0], false);
        QCOMPARE(theme.Color(0), DefaultSlotColor(0));
        QCOMPARE(theme.inTheme[1], false);
        QCOMPARE(theme.Color(1), DefaultSlotColor(1));
        QCOMPARE(theme.inTheme[2], true);
        QCOMPARE(theme.Color(2), QColor(0, 0, 255));
        QCOMPARE(theme.PointSize(28), 20.0);
        QCOMPARE(theme.inTheme[28], true);
        QCOMPARE(theme.PointSize(29), DefaultPointSize);
        QCOMPARE(theme.inTheme[29], false);
        QCOMPARE(theme.PointSize(30), DefaultPointSize);
        QCOMPARE(theme.inTheme[30], false);
    }

    // The shorter list is named.
    void defaultsNote()
    {
        PreviewTheme theme = DefaultPreviewTheme();
        theme.inTheme[19] = theme.inTheme[30] = true;
        QVERIFY(DefaultsNote(theme).startsWith("In the theme: menubackground, fontsize.windowtitle."));
        theme.inTheme.fill(true);
        theme.inTheme[5] = false;
        QCOMPARE(DefaultsNote(theme), QStringLiteral("Not in the theme, drawn in neutral defaults: controldisabled."));
    }
};

OVEX_TEST_MAIN(ContrastTest)
#include "tst_contrast.moc"
