// Generate Theme: proposals that read well, the colours found in a picture,
// and the dialog applying one proposal as one undo step.
#include "TestSupport.h"
#include "app/GenerateDialog.h"
#include "preview/ImagePalette.h"
#include "preview/ThemeGenerator.h"
#include "slots/MRW_Color.h"
#include "theme/ThemeState.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;
using namespace ovex::test;

Q_DECLARE_METATYPE(ovex::ThemeMode)

namespace {

const QColor Sand(214, 200, 170);
const QColor Forest(40, 70, 45);
const QColor Orange(240, 110, 20);

// Bands of the given colours, their heights in proportion to the weights,
// each pixel jittered a little as a photo's would be.
QImage bandedPicture(const QList<QPair<QColor, int>>& bands, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    int total = 0;
    for (const auto& band : bands)
        total += band.second;
    QRandomGenerator noise(7);
    const auto jitter = [&](int c) { return std::clamp(c + int(noise.bounded(9)) - 4, 0, 255); };
    int y = 0;
    for (const auto& [color, weight] : bands) {
        const int end = y + size.height() * weight / total;
        for (; y < end; ++y) {
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, qRgb(jitter(color.red()), jitter(color.green()), jitter(color.blue())));
        }
    }
    return picture;
}

// Hue distance in radians, ignoring the wrap (the test colours sit far from it).
bool sameHue(const QColor& x, const QColor& y)
{
    return std::abs(ToOkLch(ToOkLab(x)).h - ToOkLch(ToOkLab(y)).h) < 0.15;
}

GenerateDialog* openDialog(const TestEditor& t)
{
    t.action(QStringLiteral("mnuGenerate"))->trigger();
    return t->findChild<GenerateDialog*>();
}

template <typename T>
T* child(GenerateDialog* dialog, const char* name)
{
    return dialog->findChild<T*>(QLatin1String(name));
}

} // namespace

class tst_generator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyProposalReads_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<ThemeMode>("mode");
        // Grey has no hue; pure primaries and the ends of the scale leave the
        // least room for readable text.
        const QList<QPair<const char*, QColor>> bases = {
            {"grey", QColor(128, 128, 128)}, {"red", QColor(255, 0, 0)},   {"blue", QColor(0, 0, 255)},
            {"yellow", QColor(255, 255, 0)}, {"near-white", QColor(250, 250, 248)}, {"near-black", QColor(6, 5, 8)},
        };
        for (const auto& [name, color] : bases) {
            QTest::addRow("%s light", name) << color << ThemeMode::Light;
            QTest::addRow("%s dark", name) << color << ThemeMode::Dark;
        }
    }
    void everyProposalReads()
    {
        QFETCH(QColor, base);
        QFETCH(ThemeMode, mode);
        const QList<ThemeProposal> proposals = ProposeThemes(SeedFromColour(base), mode);
        QVERIFY(!proposals.isEmpty());
        bool passedEveryVision = true;
        for (const ThemeProposal& p : proposals) {
            QVERIFY2(AllPairsPass(p.colors), qPrintable(p.name));
            QCOMPARE(p.passesEveryVision, AllPairsPassForEveryVision(p.colors));
            // Those that pass for every vision come first.
            QVERIFY(passedEveryVision || !p.passesEveryVision);
            passedEveryVision = p.passesEveryVision;
            // Light themes have light surfaces, dark ones dark.
            QCOMPARE(ModeFor(p.colors[18]), mode);
        }
    }

    void proposalsDiffer()
    {
        const QColor teal(0, 128, 128);
        const QList<ThemeProposal> proposals = ProposeThemes(SeedFromColour(teal), ThemeMode::Light);
        QCOMPARE(proposals.size(), 4);
        for (qsizetype i = 0; i < proposals.size(); ++i)
            for (qsizetype j = i + 1; j < proposals.size(); ++j)
                QVERIFY(proposals[i].colors != proposals[j].colors);
        // The accent keeps the base colour's hue; the tinted proposal's
        // surfaces carry it, the vivid one's are grey.
        for (const ThemeProposal& p : proposals) {
            QVERIFY2(sameHue(p.colors[16], teal), qPrintable(p.name));
            const double surfaceChroma = ToOkLch(ToOkLab(p.colors[0])).C;
            if (p.name == QLatin1String("Tinted"))
                QVERIFY(surfaceChroma > 0.02);
            if (p.name == QLatin1String("Vivid"))
                QVERIFY(surfaceChroma < 0.005);
        }
    }

    // The most common colour becomes the surfaces, the most chromatic the accent.
    void dominantColours()
    {
        const QImage picture = bandedPicture({{Sand, 6}, {Forest, 3}, {Orange, 1}}, QSize(640, 480));
        const GeneratorSeed seed = SeedFromClusters(DominantColours(DownsampleForPalette(picture), 6));
        const OkLch wantAccent = ToOkLch(ToOkLab(Orange));
        QVERIFY(std::abs(seed.surface.L - ToOkLab(Sand).L) < 0.02);
        QVERIFY(std::abs(seed.accent.L - wantAccent.L) < 0.02);
        QVERIFY(std::abs(seed.accent.C - wantAccent.C) < 0.02);
        QVERIFY(std::abs(seed.accent.h - wantAccent.h) < 0.1);
    }

    void downsample()
    {
        QCOMPARE(DownsampleForPalette(QImage(4000, 3000, QImage::Format_RGB32)).size(), QSize(64, 48));
        QCOMPARE(DownsampleForPalette(QImage(30, 300, QImage::Format_RGB32)).size(), QSize(6, 64));
        // Black and white lines average, in linear light, to a mid grey (not 128).
        QImage lines(128, 128, QImage::Format_RGB888);
        for (int y = 0; y < lines.height(); ++y)
            for (int x = 0; x < lines.width(); ++x)
                lines.setPixel(x, y, y % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        const QColor mean = DownsampleForPalette(lines).pixelColor(10, 10);
        QVERIFY2(std::abs(mean.red() - 188) <= 2, qPrintable(QString::number(mean.red())));
    }

    void applyIsOneStep_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::newRow("mouse") << false;
        QTest::newRow("keyboard") << true;
    }
    void applyIsOneStep()
    {
        QFETCH(bool, byKeyboard);
        TestEditor t;
        t->SetSlotColors(QStringLiteral("Pick"), {{4, 0x102030}});
        const ThemeState before = CaptureTheme(t.editor());
        const int steps = t->undoStack().count();

        QPointer<GenerateDialog> dialog = openDialog(t);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        const SlotColors chosen = dialog->Proposals().at(1).colors;
        auto* list = child<QListWidget>(dialog, "lstProposals");
        if (byKeyboard) {
            QCOMPARE(dialog->focusWidget(), list);
            QTest::keyClick(list, Qt::Key_Right);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            list->setCurrentRow(1);
            child<QPushButton>(dialog, "cmdApply")->click();
        }
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
        QVERIFY(t.messages->Shown().isEmpty());
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
        QVERIFY(child<QRadioButton>(dialog, "optDark")->isChecked());
        for (const ThemeProposal& p : dialog->Proposals())
            QCOMPARE(ModeFor(p.colors[0]), ThemeMode::Dark);

        const QColor green(0, 255, 0);
        t.cd->AnswerColor(QColorToPacked(green));
        child<QPushButton>(dialog, "cmdBase")->click();
        QCOMPARE(t.cd->History().last().color, navy);
        QVERIFY(sameHue(dialog->Proposals().front().colors[16], green));

        child<QRadioButton>(dialog, "optLight")->click();
        for (const ThemeProposal& p : dialog->Proposals())
            QCOMPARE(ModeFor(p.colors[0]), ThemeMode::Light);
        child<QPushButton>(dialog, "cmdCancel")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(CaptureTheme(t.editor()), before);
        QCOMPARE(t->undoStack().count(), 1);
    }

    void fromPicture_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("picture") << true;
        QTest::newRow("broken") << false;
    }
    void fromPicture()
    {
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dunes.png"));
        if (readable) {
            QVERIFY(bandedPicture({{Sand, 6}, {Forest, 3}, {Orange, 1}}, QSize(400, 300)).save(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\x89PNG not really");
        }
        TestEditor t;
        GenerateDialog* dialog = openDialog(t);
        QVERIFY(dialog);
        const SlotColors before = dialog->Proposals().front().colors;
        t.cd->AnswerFile(path);
        child<QPushButton>(dialog, "cmdImage")->click();
        QVERIFY(t.cd->History().last().filter.contains(QStringLiteral("*.png")));

        if (readable) {
            QVERIFY(t.messages->Shown().isEmpty());
            QVERIFY(!dialog->Proposals().isEmpty());
            for (const ThemeProposal& p : dialog->Proposals())
                QVERIFY2(sameHue(p.colors[16], Orange), qPrintable(p.name));
        } else {
            const FakeMessageBox::Message refusal{QStringLiteral("Sorry! The picture could not be read."),
                                                  QStringLiteral("Generate Theme"), MessageStyle::Information};
            QCOMPARE(t.messages->Shown(), QList<FakeMessageBox::Message>{refusal});
            QCOMPARE(dialog->Proposals().front().colors, before);
        }
        dialog->reject();
    }
};

OVEX_TEST_MAIN(tst_generator)
#include "tst_generator.moc"
