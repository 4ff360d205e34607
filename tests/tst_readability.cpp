// Colour science, the checked pairs and their grades, and the fixes.
#include "SampleColors.h"
#include "colour/ContrastFix.h"

#include <QtTest>

#include <numbers>

using namespace ovex;
using ovex::test::ReadableColors;

Q_DECLARE_METATYPE(ovex::VisionType)
Q_DECLARE_METATYPE(ovex::Grade)

static double hueDistance(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 2 * std::numbers::pi);
    return std::min(d, 2 * std::numbers::pi - d);
}

class ReadabilityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Expected values computed by hand from the published matrices.
    void simulate_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<VisionType>("vision");
        QTest::addColumn<QColor>("seen");
        QTest::newRow("red, protanopia") << QColor(255, 0, 0) << VisionType::Protanopia << QColor(109, 95, 0);
        QTest::newRow("green, deuteranopia") << QColor(0, 255, 0) << VisionType::Deuteranopia << QColor(239, 214, 58);
        QTest::newRow("orange, tritanopia") << QColor(230, 120, 30) << VisionType::Tritanopia << QColor(252, 95, 104);
        // No channel clips, so every entry of the matrix shows: each one off by
        // 0.027 moves a channel here by 2 or more.
        QTest::newRow("blue grey, protanopia") << QColor(160, 170, 190) << VisionType::Protanopia << QColor(164, 171, 191);
        QTest::newRow("pink, protanopia") << QColor(240, 170, 180) << VisionType::Protanopia << QColor(181, 181, 180);
        QTest::newRow("orange, achromatopsia") << QColor(230, 120, 30) << VisionType::Achromatopsia << QColor(150, 150, 150);
    }

    void simulate()
    {
        QFETCH(QColor, color);
        QFETCH(VisionType, vision);
        QFETCH(QColor, seen);
        const QColor got = Simulate(color, vision);
        QVERIFY2(std::abs(got.red() - seen.red()) <= 1 && std::abs(got.green() - seen.green()) <= 1
                     && std::abs(got.blue() - seen.blue()) <= 1,
                 qPrintable(got.name()));
    }

    // Published OKLab values, and the way back to the same 8-bit colour.
    void okLab_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<double>("L");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::newRow("red") << QColor(Qt::red) << 0.627955 << 0.224863 << 0.125846;
        QTest::newRow("blue") << QColor(Qt::blue) << 0.452014 << -0.032457 << -0.311528;
    }

    void okLab()
    {
        QFETCH(QColor, color);
        QFETCH(double, L);
        QFETCH(double, a);
        QFETCH(double, b);
        const OkLab lab = ToOkLab(color);
        QVERIFY2(std::abs(lab.L - L) < 1e-6 && std::abs(lab.a - a) < 1e-6 && std::abs(lab.b - b) < 1e-6,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(lab.L, 0, 'g', 9).arg(lab.a).arg(lab.b)));
        for (const QColor& c : {color, QColor(Qt::white), QColor(230, 120, 30), QColor(1, 2, 3)})
            QCOMPARE(ToColor(ToOkLch(ToOkLab(c))), c);
    }

    // Chroma goes only as far down as sRGB needs; lightness and hue stay.
    void gamut()
    {
        const OkLch vivid{0.7, 0.4, 2.0};
        QVERIFY(!InGamut(vivid));
        const OkLch held = ReduceChromaToGamut(vivid);
        QVERIFY(InGamut(held));
        QVERIFY(!InGamut(OkLch{held.L, held.C + 1e-4, held.h}));
        QCOMPARE(held.L, vivid.L);
        QCOMPARE(held.h, vivid.h);
        const OkLch inside = ToOkLch(ToOkLab(QColor(30, 120, 200)));
        QCOMPARE(ReduceChromaToGamut(inside).C, inside.C);
    }

    // A ratio just under a threshold never reads as meeting it.
    void ratioText_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QString>("text");
        QTest::newRow("below 3") << 2.996 << "2.99:1";
        QTest::newRow("below 4.5") << 4.499 << "4.49:1";
        QTest::newRow("at 4.5") << 4.5 << "4.50:1";
        QTest::newRow("below 7") << 6.999 << "6.99:1";
        QTest::newRow("rounds up elsewhere") << 5.256 << "5.26:1";
    }

    void ratioText()
    {
        QFETCH(double, ratio);
        QFETCH(QString, text);
        QCOMPARE(RatioText(ratio), text);
    }

    // One colour pair of a given ratio put into a pair of each kind.
    void thresholds_data()
    {
        QTest::addColumn<int>("front");
        QTest::addColumn<int>("back");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<Grade>("grade");
        const QColor ratio448(0x77, 0x77, 0x77);   // 4.48:1 on white
        const QColor ratio297(0x97, 0x97, 0x97);   // 2.97:1
        const QColor ratio700(0x59, 0x59, 0x59);   // 7.00:1
        QTest::newRow("text 4.48") << 20 << 19 << ratio448 << true << Grade::Fails;
        QTest::newRow("text 7.00") << 15 << 18 << ratio700 << false << Grade::Better;
        QTest::newRow("non-text 4.48") << 26 << 0 << ratio448 << false << Grade::Meets;
        QTest::newRow("non-text 2.97") << 8 << 0 << ratio297 << true << Grade::Fails;
        QTest::newRow("hint 2.97") << 13 << 5 << ratio297 << false << Grade::Hint;
    }

    void thresholds()
    {
        QFETCH(int, front);
        QFETCH(int, back);
        QFETCH(QColor, color);
        QFETCH(bool, warning);
        QFETCH(Grade, grade);
        SlotColors colors = ReadableColors();
        colors[front] = color;
        QCOMPARE(EvaluatePairs(colors)[PairIndex(front, back)].grade, grade);
        QCOMPARE(Warnings(colors).size(), warning ? 1 : 0);
        QCOMPARE(AllPairsPass(colors), grade == Grade::Meets || grade == Grade::Better);
    }

    // The fix reaches the threshold, keeps the hue, goes no further than it
    // must and keeps the slot's other pairs passing.
    void fixPair_data()
    {
        QTest::addColumn<int>("front");
        QTest::addColumn<int>("back");
        QTest::addColumn<QColor>("frontColor");
        QTest::addColumn<QColor>("backColor");
        QTest::newRow("orange text on white") << 20 << 19 << QColor(230, 120, 30) << QColor(Qt::white);
        QTest::newRow("blue text on near black") << 15 << 18 << QColor(40, 60, 200) << QColor(20, 20, 20);
        QTest::newRow("focus on mid grey, lighter is nearer") << 26 << 0 << QColor(150, 170, 120) << QColor(118, 118, 118);
        QTest::newRow("pale highlight, black text on it") << 16 << 18 << QColor(170, 200, 240) << QColor(Qt::white);
    }

    void fixPair()
    {
        QFETCH(int, front);
        QFETCH(int, back);
        QFETCH(QColor, frontColor);
        QFETCH(QColor, backColor);
        SlotColors colors = ReadableColors();
        colors[front] = frontColor;
        colors[back] = backColor;
        const qsizetype k = PairIndex(front, back);
        const double threshold = Threshold(CheckedPairs[k].kind);
        QVERIFY(PairRatio(colors, CheckedPairs[k]) < threshold);
        const auto before = EvaluatePairs(colors);

        const std::optional<QColor> fixed = FixPair(colors, k);
        QVERIFY(fixed);
        SlotColors after = colors;
        after[front] = *fixed;
        QVERIFY(PairRatio(after, CheckedPairs[k]) >= threshold);
        const OkLch was = ToOkLch(ToOkLab(frontColor));
        const OkLch now = ToOkLch(ToOkLab(*fixed));
        QVERIFY2(hueDistance(was.h, now.h) < 0.1, qPrintable(fixed->name()));
        // Nothing nearer in lightness, either way, reads well; 8-bit rounding blurs the edge a little.
        const double reach = std::abs(now.L - was.L) - 0.004;
        for (double step = 0; step < reach; step += 0.001) {
            for (const double L : {was.L - step, was.L + step})
                QVERIFY2(ContrastRatio(WithLightness(frontColor, L), backColor) < threshold, qPrintable(fixed->name()));
        }
        const auto result = EvaluatePairs(after);
        for (qsizetype j = 0; j < qsizetype(CheckedPairCount); ++j)
            QVERIFY2(!before[j].Passes() || result[j].Passes(), CheckedPairs[j].what);
    }

    // Control text on a dark control colour and a light unselected tab: no text colour reads on both, so
    // the tab moves, as little as the text needs; the control colour never does, and no other pair is lost.
    void fixOnTwoSurfaces_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<int>("back");
        QTest::addColumn<QList<int>>("moved");
        QTest::newRow("text fails both, fixed on the control colour") << QColor(128, 128, 128) << 0 << QList<int>{12, 1};
        QTest::newRow("text reads on the control colour, fixed on the tab") << QColor(Qt::white) << 1 << QList<int>{1};
        QTest::newRow("Fix All") << QColor(128, 128, 128) << -1 << QList<int>{12, 1};
    }

    void fixOnTwoSurfaces()
    {
        QFETCH(QColor, text);
        QFETCH(int, back);
        QFETCH(QList<int>, moved);
        SlotColors colors = ReadableColors();
        for (const CheckedPair& pair : CheckedPairs)
            if (pair.back == 0)
                colors[pair.front] = Qt::white;
        colors[0] = QColor(40, 40, 40);
        colors[1] = QColor(210, 210, 210);
        colors[12] = text;
        SlotColors after = colors;
        if (back < 0) {
            after = FixAll(colors).colors;
        } else {
            for (const SlotFix& fix : FixPairColors(colors, PairIndex(12, back)))
                after[fix.slot] = fix.color;
        }
        QList<int> changed;
        for (const SlotFix& fix : ChangedSlots(colors, after))
            changed << fix.slot;
        std::sort(moved.begin(), moved.end());
        QCOMPARE(changed, moved);
        for (const qsizetype k : {PairIndex(12, 0), PairIndex(12, 1)})
            QVERIFY(PairRatio(after, CheckedPairs[k]) >= TextContrast);
        // Just over the threshold: the tab went no further than its text needed.
        QVERIFY(PairRatio(after, CheckedPairs[PairIndex(12, 1)]) < TextContrast * 1.03);
        QVERIFY(Warnings(after).isEmpty());
    }

    // The highlighted text is fixed first; the highlight, fixed after it,
    // must keep that text readable: darker would be nearer, so it goes lighter.
    void fixAllSeesEarlierFixes()
    {
        SlotColors colors = ReadableColors();
        colors[18] = QColor(137, 137, 137);   // list background
        colors[16] = QColor(124, 124, 124);   // text highlight, too close to it
        colors[17] = QColor(149, 149, 149);   // highlighted text, too close to the highlight
        const qsizetype text = PairIndex(17, 16);
        const qsizetype highlight = PairIndex(16, 18);
        QCOMPARE(Warnings(colors).size(), 2);
        const FixAllResult result = FixAll(colors);
        QCOMPARE(result.fixed, (QList<qsizetype>{text, highlight}));
        QVERIFY(result.unfixed.isEmpty());
        QVERIFY2(Warnings(result.colors).isEmpty(),
                 qPrintable(result.colors[16].name() + u' ' + result.colors[17].name()));
    }

    // Pure red menu text on black fails only with protanopia: Fix All mends it only when asked for that vision.
    void fixAllForAVision()
    {
        SlotColors colors = ReadableColors();
        colors[19] = Qt::black;
        colors[20] = Qt::red;
        QVERIFY(FixAll(colors).fixed.isEmpty());
        const FixAllResult seen = FixAll(colors, VisionType::Protanopia);
        QCOMPARE(seen.fixed, QList<qsizetype>{PairIndex(20, 19)});
        QVERIFY(Warnings(seen.colors, VisionType::Protanopia).isEmpty());
        QVERIFY(Warnings(seen.colors).isEmpty());
    }
};

QTEST_APPLESS_MAIN(ReadabilityTest)
#include "tst_readability.moc"
