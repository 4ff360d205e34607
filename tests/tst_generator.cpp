// Generate Theme: proposals that read well, the colours found in a picture,
// and the dialog applying one proposal as one undo step.
#include "SamplePicture.h"
#include "TestSupport.h"
#include "app/GenerateDialog.h"
#include "colour/ImagePalette.h"
#include "colour/ThemeGenerator.h"
#include "slots/MRW_Color.h"
#include "theme/ThemeCapture.h"

#include <QAction>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cmath>

using namespace ovex;
using namespace ovex::test;

Q_DECLARE_METATYPE(ovex::ThemeMode)
Q_DECLARE_METATYPE(ovex::GeneratorSeed)
Q_DECLARE_METATYPE(ovex::SlotColors)

namespace {

const QColor Sand(214, 200, 170);
const QColor Orange(240, 110, 20);

// Sand over forest over orange, in heights 6 : 3 : 1.
QImage dunes()
{
    QImage picture(400, 300, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 400, 180, Sand);
    painter.fillRect(0, 180, 400, 90, QColor(40, 70, 45));
    painter.fillRect(0, 270, 400, 30, Orange);
    painter.end();
    return picture;
}

// Hue distance in radians, ignoring the wrap (the test colours sit far from it).
bool sameHue(const QColor& x, const QColor& y)
{
    return std::abs(ToOkLch(ToOkLab(x)).h - ToOkLch(ToOkLab(y)).h) < 0.15;
}

OkLch lch(QRgb rgb)
{
    return ToOkLch(ToOkLab(QColor(rgb)));
}

GenerateDialog* openDialog(const TestEditor& t)
{
    t.action(QStringLiteral("mnuGenerate"))->trigger();
    return t->findChild<GenerateDialog*>();
}

} // namespace

class tst_generator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void proposalDistance_data()
    {
        QTest::addColumn<SlotColors>("x");
        QTest::addColumn<SlotColors>("y");
        QTest::addColumn<double>("distance");
        SlotColors black;
        black.fill(Qt::black);
        SlotColors oneWhite = black;
        oneWhite[5] = Qt::white;
        QTest::newRow("one slot black and white") << black << oneWhite << 1.0 / ColorSlotCount;
        // Pure red and green in OKLab: (0.62796, 0.22486, 0.12585) and
        // (0.86644, -0.23389, 0.17950), 0.51981 apart.
        SlotColors oneRed = black;
        oneRed[20] = QColor(255, 0, 0);
        SlotColors oneGreen = black;
        oneGreen[20] = QColor(0, 255, 0);
        QTest::newRow("red and green") << oneRed << oneGreen << 0.51981 / ColorSlotCount;
    }
    void proposalDistance()
    {
        QFETCH(SlotColors, x);
        QFETCH(SlotColors, y);
        QFETCH(double, distance);
        QVERIFY2(std::abs(ProposalDistance(x, y) - distance) < 2e-5, qPrintable(QString::number(ProposalDistance(x, y))));
        QCOMPARE(ProposalDistance(y, x), ProposalDistance(x, y));
    }

    // Hues around the circle at three lightnesses and two chromas, greys from
    // black to white, and seeds whose surface and accent differ: a colour
    // scheme's background and blue (base16's base00 and base0D) and pictures.
    void proposals_data()
    {
        QTest::addColumn<GeneratorSeed>("seed");
        QTest::addColumn<ThemeMode>("mode");
        const auto add = [](const QString& name, const GeneratorSeed& seed) {
            QTest::newRow(qPrintable(name + QStringLiteral(" light"))) << seed << ThemeMode::Light;
            QTest::newRow(qPrintable(name + QStringLiteral(" dark"))) << seed << ThemeMode::Dark;
        };
        for (int hue = 0; hue < 360; hue += 30) {
            for (const double L : {0.35, 0.6, 0.85}) {
                for (const double C : {0.05, 0.15}) {
                    const QColor base = ToColor(OkLch{L, C, qDegreesToRadians(double(hue))});
                    add(QStringLiteral("%1 (hue %2, L %3, C %4)").arg(base.name()).arg(hue).arg(L).arg(C),
                        SeedFromColour(base));
                }
            }
        }
        for (const int grey : {0, 64, 128, 192, 255})
            add(QStringLiteral("grey %1").arg(grey), SeedFromColour(QColor(grey, grey, grey)));
        add(QStringLiteral("teal"), SeedFromColour(QColor(0, 128, 128)));
        add(QStringLiteral("onedark"), {lch(0x282c34), lch(0x61afef)});
        add(QStringLiteral("gruvbox"), {lch(0x282828), lch(0x83a598)});
        add(QStringLiteral("solarized light"), {lch(0xfdf6e3), lch(0x268bd2)});
        add(QStringLiteral("dunes"), *SeedFromPicture(dunes()));
        add(QStringLiteral("evening sky"), *SeedFromPicture(SampleLandscape(QSize(400, 300))));
    }
    void proposals()
    {
        QFETCH(GeneratorSeed, seed);
        QFETCH(ThemeMode, mode);
        const QList<ThemeProposal> proposals = ProposeThemes(seed, mode);
        QCOMPARE(proposals.size(), 4);
        bool passedEveryVision = true;
        for (qsizetype i = 0; i < proposals.size(); ++i) {
            const ThemeProposal& p = proposals[i];
            QVERIFY2(AllPairsPass(p.colors), qPrintable(p.name));
            QCOMPARE(p.passesEveryVision, AllPairsPassForEveryVision(p.colors));
            // Those that pass for every vision come first.
            QVERIFY(passedEveryVision || !p.passesEveryVision);
            passedEveryVision = p.passesEveryVision;
            // Light themes have light surfaces, dark ones dark.
            QCOMPARE(ModeFor(p.colors[18]), mode);
            QCOMPARE(ModeFor(p.colors[0]), mode);
            // Text on the tool tip and the accent sits at the end of the scale
            // that reads better on it.
            for (const auto& [front, back] : {std::pair{7, 6}, {17, 16}, {22, 21}}) {
                const bool light = ContrastRatio(Qt::white, p.colors[back]) >= ContrastRatio(Qt::black, p.colors[back]);
                const double L = ToOkLab(p.colors[front]).L;
                QVERIFY2(light ? L > 0.9 : L < 0.3,
                         qPrintable(QStringLiteral("%1, %2: %3 on %4").arg(p.name, QLatin1String(CheckedPairs[PairIndex(front, back)].what),
                                                                         p.colors[front].name(), p.colors[back].name())));
            }
            // Worth choosing between: each looks clearly unlike the others.
            for (qsizetype j = 0; j < i; ++j) {
                QVERIFY(proposals[j].name != p.name);
                const double distance = ProposalDistance(proposals[j].colors, p.colors);
                QVERIFY2(distance >= 0.08, qPrintable(QStringLiteral("%1 and %2 are %3 apart")
                                                          .arg(proposals[j].name, p.name).arg(distance)));
            }
        }
        // At least one is placed to read well for every simulated vision.
        QVERIFY(proposals.front().passesEveryVision);
    }

    // Every variant is placed to read well for every simulated vision: where
    // the base leaves room for that, all four do.
    void everyVision_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<ThemeMode>("mode");
        for (const auto& [name, base] : {std::pair{"teal", QColor(0, 128, 128)}, {"calm blue", QColor(52, 101, 164)},
                                         {"grey", QColor(128, 128, 128)}}) {
            QTest::addRow("%s light", name) << base << ThemeMode::Light;
            QTest::addRow("%s dark", name) << base << ThemeMode::Dark;
        }
    }
    void everyVision()
    {
        QFETCH(QColor, base);
        QFETCH(ThemeMode, mode);
        for (const ThemeProposal& p : ProposeThemes(SeedFromColour(base), mode))
            QVERIFY2(p.passesEveryVision, qPrintable(p.name));
    }

    void downsampleSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("sampled");
        QTest::newRow("tall") << QSize(30, 300) << QSize(6, 64);
        QTest::newRow("wide") << QSize(640, 480) << QSize(64, 48);
        // Smaller pictures keep their size: scaled up, they would only repeat pixels.
        QTest::newRow("small") << QSize(40, 20) << QSize(40, 20);
        QTest::newRow("just fits") << QSize(64, 10) << QSize(64, 10);
    }
    void downsampleSize()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, sampled);
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Sand);
        const QImage small = DownsampleForPalette(picture);
        QCOMPARE(small.size(), sampled);
        QCOMPARE(small.pixelColor(small.width() - 1, small.height() - 1), Sand);
    }

    void palette()
    {
        // Black and white lines average, in linear light, to a mid grey (not 128).
        QImage lines(128, 128, QImage::Format_RGB888);
        for (int y = 0; y < lines.height(); ++y)
            for (int x = 0; x < lines.width(); ++x)
                lines.setPixel(x, y, y % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        const QColor mean = DownsampleForPalette(lines).pixelColor(10, 10);
        QVERIFY2(std::abs(mean.red() - 188) <= 2, qPrintable(QString::number(mean.red())));
        // The most common colour becomes the surfaces (the accent is checked
        // through the dialog).
        const std::optional<GeneratorSeed> seed = SeedFromPicture(dunes());
        QVERIFY(seed);
        QVERIFY(std::abs(seed->surface.L - ToOkLab(Sand).L) < 0.02);
    }

    // k-means ends where it stands still: each sample belongs to its nearest
    // centre, and each centre is the mean of the samples that belong to it.
    void clustersSettle_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::newRow("evening sky") << SampleLandscape(QSize(400, 300));
        QTest::newRow("dunes") << dunes();
        QImage ramp(64, 64, QImage::Format_RGB32);
        for (int y = 0; y < ramp.height(); ++y)
            for (int x = 0; x < ramp.width(); ++x)
                ramp.setPixel(x, y, qRgb(x * 4, y * 4, 255 - x * 2));
        QTest::newRow("ramp") << ramp;
    }
    void clustersSettle()
    {
        QFETCH(QImage, picture);
        const QImage small = DownsampleForPalette(picture);
        const QList<PaletteCluster> clusters = DominantColours(small);
        QVERIFY(!clusters.isEmpty());
        std::vector<OkLab> sums(clusters.size());
        std::vector<int> counts(clusters.size());
        for (int y = 0; y < small.height(); ++y) {
            for (int x = 0; x < small.width(); ++x) {
                const OkLab p = LinearToOkLab(ToLinear(small.pixel(x, y)));
                const auto away = [&](const PaletteCluster& c) {
                    return std::hypot(p.L - c.centre.L, p.a - c.centre.a, p.b - c.centre.b);
                };
                const qsizetype nearest = std::min_element(clusters.begin(), clusters.end(),
                                                           [&](const auto& u, const auto& v) { return away(u) < away(v); })
                    - clusters.begin();
                sums[nearest].L += p.L;
                sums[nearest].a += p.a;
                sums[nearest].b += p.b;
                ++counts[nearest];
            }
        }
        for (qsizetype c = 0; c < clusters.size(); ++c) {
            QCOMPARE(counts[c], clusters[c].count);
            const OkLab& centre = clusters[c].centre;
            QVERIFY(std::abs(sums[c].L / counts[c] - centre.L) < 1e-9);
            QVERIFY(std::abs(sums[c].a / counts[c] - centre.a) < 1e-9);
            QVERIFY(std::abs(sums[c].b / counts[c] - centre.b) < 1e-9);
        }
    }

    // A proposal chosen by the keyboard alone is applied as one step.
    void applyIsOneStep()
    {
        TestEditor t;
        t->SetSlotColors(QStringLiteral("Pick"), {{4, 0x102030}});
        const ThemeState before = CaptureTheme(t.editor());
        const int steps = t->undoStack().count();

        QPointer<GenerateDialog> dialog = openDialog(t);
        QVERIFY(dialog && dialog->isVisible());
        const SlotColors chosen = dialog->Proposals().at(1).colors;
        auto* list = dialog->findChild<QListWidget*>("lstProposals");
        QCOMPARE(dialog->focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Right);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!dialog);
        QCOMPARE(t->undoStack().count(), steps + 1);
        QCOMPARE(t->undoStack().undoText(), QStringLiteral("Generate Theme"));
        const ThemeState after = CaptureTheme(t.editor());
        for (int slot = 0; slot < ColorSlotCount; ++slot) {
            QVERIFY(after.slots[slot].ticked);
            QCOMPARE(after.slots[slot].color, QColorToPacked(chosen[slot]));
        }

        t->undoStack().undo();
        QCOMPARE(CaptureTheme(t.editor()), before);
    }

    // The form colour seeds the dialog; another base or mode changes the
    // proposals but, cancelled, not the window.
    void startsFromFormColour()
    {
        TestEditor t;
        const ColorValue navy = 0x502010;   // blue 0x50, green 0x20, red 0x10
        t->SetSlotColors(QStringLiteral("Pick"), {{0, navy}});
        const ThemeState before = CaptureTheme(t.editor());
        QPointer<GenerateDialog> dialog = openDialog(t);
        QVERIFY(dialog);
        // A dark form colour suggests a dark theme.
        QVERIFY(dialog->findChild<QRadioButton*>("optDark")->isChecked());

        const QColor green(0, 255, 0);
        t.cd->AnswerColor(QColorToPacked(green));
        dialog->findChild<QPushButton*>("cmdBase")->click();
        QCOMPARE(t.cd->History().last().color, navy);
        QVERIFY(sameHue(dialog->Proposals().front().colors[16], green));

        dialog->findChild<QRadioButton*>("optLight")->click();
        for (const ThemeProposal& p : dialog->Proposals())
            QCOMPARE(ModeFor(p.colors[0]), ThemeMode::Light);
        dialog->findChild<QPushButton*>("cmdCancel")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(CaptureTheme(t.editor()), before);
        QCOMPARE(t->undoStack().count(), 1);
    }

    void fromPicture_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("picture") << true;
        QTest::newRow("missing") << false;
    }
    void fromPicture()
    {
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dunes.png"));
        if (readable)
            QVERIFY(dunes().save(path));
        TestEditor t;
        GenerateDialog* dialog = openDialog(t);
        QVERIFY(dialog);
        const SlotColors before = dialog->Proposals().front().colors;
        t.cd->AnswerFile(path);
        dialog->findChild<QPushButton*>("cmdImage")->click();

        if (readable) {
            QVERIFY(t.messages->Shown().isEmpty());
            // The picture's accent, orange, highlights text in all but the
            // proposal that turns its hue.
            const QList<ThemeProposal>& proposals = dialog->Proposals();
            QCOMPARE(std::count_if(proposals.begin(), proposals.end(),
                                   [](const ThemeProposal& p) { return sameHue(p.colors[16], Orange); }),
                     proposals.size() - 1);
        } else {
            const FakeMessageBox::Message refusal{QStringLiteral("Sorry! The picture could not be read."),
                                                  QStringLiteral("Generate Theme"), MessageStyle::Information};
            QCOMPARE(t.messages->Shown(), QList<FakeMessageBox::Message>{refusal});
            QCOMPARE(dialog->Proposals().front().colors, before);
        }
    }
};

OVEX_TEST_MAIN(tst_generator)
#include "tst_generator.moc"
