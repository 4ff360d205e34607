// Generate Theme: proposals that read well, the colours found in a picture,
// and the dialog applying one proposal as one undo step.
#include "TestSupport.h"
#include "app/GenerateDialog.h"
#include "preview/ImagePalette.h"
#include "preview/ThemeGenerator.h"
#include "slots/MRW_Color.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;
using namespace ovex::test;

Q_DECLARE_METATYPE(ovex::ThemeMode)

namespace {

// Bands of the given colours, their heights in proportion to the weights,
// each pixel jittered a little as a photo's would be.
QImage bandedPicture(const QList<QPair<QColor, int>>& bands, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    int total = 0;
    for (const auto& band : bands)
        total += band.second;
    QRandomGenerator noise(7);
    int y = 0;
    for (const auto& [color, weight] : bands) {
        const int end = y + size.height() * weight / total;
        for (; y < end; ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const auto jitter = [&](int c) { return std::clamp(c + int(noise.bounded(9)) - 4, 0, 255); };
                picture.setPixel(x, y, qRgb(jitter(color.red()), jitter(color.green()), jitter(color.blue())));
            }
        }
    }
    return picture;
}

double labDistance(const OkLab& x, const OkLab& y)
{
    return std::hypot(x.L - y.L, x.a - y.a, x.b - y.b);
}

QString failingPairs(const SlotColors& colors)
{
    QStringList names;
    for (const PairResult& r : EvaluatePairs(colors))
        if (!r.Passes())
            names << QStringLiteral("%1 (%2)").arg(QLatin1String(r.Pair().what), RatioText(r.ratio));
    return names.join(QStringLiteral(", "));
}

// Everything the theme is made of in the window.
struct WindowState
{
    QList<int> values;
    QStringList tags;
    QList<ColorValue> shown;
    QString name;
    QStringList sizes;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

WindowState stateOf(const TestEditor& t)
{
    WindowState state;
    for (int slot = 0; slot < SlotCount; ++slot) {
        state.values << t.slots().Value(slot);
        state.tags << t.slots().s[slot]->Tag();
        state.shown << t.slots().s[slot]->BackColor();
    }
    state.name = t.editor().txtThemeName->text();
    for (QLineEdit* box : t.slots().sizeBox)
        state.sizes << box->text();
    return state;
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
    void everyProposalReads_data();
    void everyProposalReads();
    void proposalsDiffer();
    void dominantColours_data();
    void dominantColours();
    void downsampleKeepsShape();
    void applyIsOneStep_data();
    void applyIsOneStep();
    void cancelChangesNothing();
    void startsFromFormColour();
    void fromPicture();
    void unreadablePicture();
};

void tst_generator::everyProposalReads_data()
{
    QTest::addColumn<QColor>("base");
    QTest::addColumn<ThemeMode>("mode");
    const QList<QPair<const char*, QColor>> bases = {
        {"grey", QColor(128, 128, 128)},  {"red", QColor(255, 0, 0)},       {"green", QColor(0, 255, 0)},
        {"blue", QColor(0, 0, 255)},      {"cyan", QColor(0, 255, 255)},    {"magenta", QColor(255, 0, 255)},
        {"yellow", QColor(255, 255, 0)},  {"near-white", QColor(250, 250, 248)},
        {"near-black", QColor(6, 5, 8)},
    };
    for (const auto& [name, color] : bases) {
        QTest::addRow("%s light", name) << color << ThemeMode::Light;
        QTest::addRow("%s dark", name) << color << ThemeMode::Dark;
    }
}

void tst_generator::everyProposalReads()
{
    QFETCH(QColor, base);
    QFETCH(ThemeMode, mode);
    const QList<ThemeProposal> proposals = ProposeThemes(SeedFromColour(base), mode);
    QVERIFY(!proposals.isEmpty());
    QVERIFY(proposals.size() <= 4);
    bool passedEveryVision = true;
    for (const ThemeProposal& p : proposals) {
        for (const QColor& c : p.colors)
            QVERIFY2(c.isValid(), qPrintable(p.name));
        QVERIFY2(AllPairsPass(p.colors), qPrintable(QStringLiteral("%1: %2").arg(p.name, failingPairs(p.colors))));
        QCOMPARE(p.passesEveryVision, AllPairsPassForEveryVision(p.colors));
        // Those that pass for every vision come first.
        QVERIFY(passedEveryVision || !p.passesEveryVision);
        passedEveryVision = p.passesEveryVision;
        // Light themes have light surfaces, dark ones dark.
        QCOMPARE(ModeFor(p.colors[0]), mode);
        QCOMPARE(ModeFor(p.colors[18]), mode);
    }
}

void tst_generator::proposalsDiffer()
{
    const QColor teal(0, 128, 128);
    const QList<ThemeProposal> proposals = ProposeThemes(SeedFromColour(teal), ThemeMode::Light);
    QCOMPARE(proposals.size(), 4);
    for (qsizetype i = 0; i < proposals.size(); ++i)
        for (qsizetype j = i + 1; j < proposals.size(); ++j)
            QVERIFY(proposals[i].colors != proposals[j].colors);
    // The accent keeps the base colour's hue.
    const double hue = ToOkLch(ToOkLab(teal)).h;
    for (const ThemeProposal& p : proposals)
        QVERIFY2(std::abs(ToOkLch(ToOkLab(p.colors[16])).h - hue) < 0.15, qPrintable(p.name));
    // The tinted proposal's surfaces carry the hue; the vivid one's are grey.
    const auto chroma = [&](const QString& name) {
        for (const ThemeProposal& p : proposals)
            if (p.name == name)
                return ToOkLch(ToOkLab(p.colors[0])).C;
        return -1.0;
    };
    QVERIFY(chroma(QStringLiteral("Tinted")) > 0.02);
    QVERIFY(chroma(QStringLiteral("Vivid")) >= 0);
    QVERIFY(chroma(QStringLiteral("Vivid")) < 0.005);
}

void tst_generator::dominantColours_data()
{
    QTest::addColumn<QColor>("common");
    QTest::addColumn<QColor>("chromatic");
    QTest::addColumn<QColor>("other");
    QTest::addColumn<QSize>("size");
    QTest::newRow("sand, orange, forest") << QColor(214, 200, 170) << QColor(240, 110, 20) << QColor(40, 70, 45)
                                          << QSize(640, 480);
    QTest::newRow("night, violet, grey") << QColor(20, 24, 40) << QColor(140, 60, 220) << QColor(120, 120, 120)
                                         << QSize(300, 900);
    QTest::newRow("small picture") << QColor(200, 220, 240) << QColor(0, 160, 80) << QColor(90, 60, 40)
                                   << QSize(40, 30);
}

void tst_generator::dominantColours()
{
    QFETCH(QColor, common);
    QFETCH(QColor, chromatic);
    QFETCH(QColor, other);
    QFETCH(QSize, size);
    const QImage picture = bandedPicture({{common, 6}, {other, 3}, {chromatic, 1}}, size);
    const QList<PaletteCluster> clusters = DominantColours(DownsampleForPalette(picture), 6);
    QVERIFY(clusters.size() >= 3);
    QVERIFY(labDistance(clusters.front().centre, ToOkLab(common)) < 0.02);
    const GeneratorSeed seed = SeedFromClusters(clusters);
    const OkLch wantSurface = ToOkLch(ToOkLab(common));
    const OkLch wantAccent = ToOkLch(ToOkLab(chromatic));
    QVERIFY(std::abs(seed.surface.L - wantSurface.L) < 0.02);
    QVERIFY(std::abs(seed.accent.L - wantAccent.L) < 0.02);
    QVERIFY(std::abs(seed.accent.C - wantAccent.C) < 0.02);
    QVERIFY(std::abs(seed.accent.h - wantAccent.h) < 0.1);
    // The same picture, the same answer.
    const QList<PaletteCluster> again = DominantColours(DownsampleForPalette(picture), 6);
    QCOMPARE(again.size(), clusters.size());
    for (qsizetype i = 0; i < clusters.size(); ++i)
        QCOMPARE(labDistance(again[i].centre, clusters[i].centre), 0.0);
}

void tst_generator::downsampleKeepsShape()
{
    QCOMPARE(DownsampleForPalette(QImage(4000, 3000, QImage::Format_RGB32)).size(), QSize(64, 48));
    QCOMPARE(DownsampleForPalette(QImage(30, 300, QImage::Format_RGB32)).size(), QSize(6, 64));
    QCOMPARE(DownsampleForPalette(QImage(20, 10, QImage::Format_RGB32)).size(), QSize(20, 10));
    QVERIFY(DownsampleForPalette(QImage()).isNull());
    // Black and white lines average, in linear light, to a mid grey (not 128).
    QImage lines(128, 128, QImage::Format_RGB888);
    for (int y = 0; y < lines.height(); ++y)
        for (int x = 0; x < lines.width(); ++x)
            lines.setPixel(x, y, y % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QColor mean = DownsampleForPalette(lines).pixelColor(10, 10);
    QVERIFY2(std::abs(mean.red() - 188) <= 2, qPrintable(QString::number(mean.red())));
}

void tst_generator::applyIsOneStep_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void tst_generator::applyIsOneStep()
{
    QFETCH(bool, byKeyboard);
    TestEditor t;
    t.editor().txtThemeName->setText(QStringLiteral("Night"));
    t.slots().SizeBox(28)->setText(QStringLiteral("15"));
    t->SetSlotColors(QStringLiteral("Pick"), {{4, 0x102030}});
    const WindowState before = stateOf(t);
    const int steps = t->undoStack().count();

    QPointer<GenerateDialog> dialog = openDialog(t);
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Generate Theme"));
    QCOMPARE(dialog->Proposals().size(), 4);
    const SlotColors chosen = dialog->Proposals()[1].colors;
    if (byKeyboard) {
        auto* list = child<QListWidget>(dialog, "lstProposals");
        QCOMPARE(dialog->focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Right);
        QTest::keyClick(list, Qt::Key_Return);
    } else {
        dialog->findChild<QListWidget*>()->setCurrentRow(1);
        child<QPushButton>(dialog, "cmdApply")->click();
    }
    QTRY_VERIFY(!dialog);

    QCOMPARE(t->undoStack().count(), steps + 1);
    QCOMPARE(t->undoStack().undoText(), QStringLiteral("Generate Theme"));
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        QCOMPARE(t.slots().Value(slot), 1);
        QCOMPARE(t.slots().s[slot]->BackColor(), QColorToPacked(chosen[slot]));
        QCOMPARE(t.slots().s[slot]->Tag(), Color_ToText(QColorToPacked(chosen[slot])));
    }
    const WindowState after = stateOf(t);
    QCOMPARE(after.name, before.name);
    QCOMPARE(after.sizes, before.sizes);
    QCOMPARE(after.values.mid(FirstSizeSlot), before.values.mid(FirstSizeSlot));

    t->undoStack().undo();
    QCOMPARE(stateOf(t), before);
    QVERIFY(t.messages->Shown().isEmpty());
}

void tst_generator::cancelChangesNothing()
{
    TestEditor t;
    const WindowState before = stateOf(t);
    QPointer<GenerateDialog> dialog = openDialog(t);
    QVERIFY(dialog);
    t.cd->AnswerColor(0x0000FF);
    child<QPushButton>(dialog, "cmdBase")->click();
    child<QRadioButton>(dialog, "optDark")->click();
    child<QPushButton>(dialog, "cmdCancel")->click();
    QTRY_VERIFY(!dialog);
    QCOMPARE(stateOf(t), before);
    QCOMPARE(t->undoStack().count(), 0);
}

void tst_generator::startsFromFormColour()
{
    TestEditor t;
    const ColorValue navy = 0x502010;   // blue 0x50, green 0x20, red 0x10
    t->SetSlotColors(QStringLiteral("Pick"), {{0, navy}});
    GenerateDialog* dialog = openDialog(t);
    QVERIFY(dialog);
    // A dark form colour suggests a dark theme.
    QVERIFY(child<QRadioButton>(dialog, "optDark")->isChecked());
    for (const ThemeProposal& p : dialog->Proposals())
        QCOMPARE(ModeFor(p.colors[0]), ThemeMode::Dark);

    t.cd->AnswerColor(0x00FF00);
    child<QPushButton>(dialog, "cmdBase")->click();
    QCOMPARE(t.cd->History().last().kind, FakeCommonDialog::Kind::Color);
    QCOMPARE(t.cd->History().last().color, navy);
    const double green = ToOkLch(ToOkLab(QColor(0, 255, 0))).h;
    QVERIFY(std::abs(ToOkLch(ToOkLab(dialog->Proposals().front().colors[16])).h - green) < 0.15);

    child<QRadioButton>(dialog, "optLight")->click();
    for (const ThemeProposal& p : dialog->Proposals())
        QCOMPARE(ModeFor(p.colors[0]), ThemeMode::Light);
    dialog->reject();
}

void tst_generator::fromPicture()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dunes.png"));
    const QColor orange(240, 110, 20);
    QVERIFY(bandedPicture({{QColor(214, 200, 170), 6}, {QColor(40, 70, 45), 3}, {orange, 1}}, QSize(400, 300))
                .save(path));
    TestEditor t;
    GenerateDialog* dialog = openDialog(t);
    QVERIFY(dialog);
    t.cd->AnswerFile(path);
    child<QPushButton>(dialog, "cmdImage")->click();
    QVERIFY(t.cd->History().last().filter.contains(QStringLiteral("*.png")));
    QVERIFY(t.messages->Shown().isEmpty());
    QVERIFY(!dialog->Proposals().isEmpty());
    const double hue = ToOkLch(ToOkLab(orange)).h;
    for (const ThemeProposal& p : dialog->Proposals()) {
        QVERIFY(AllPairsPass(p.colors));
        QVERIFY2(std::abs(ToOkLch(ToOkLab(p.colors[16])).h - hue) < 0.15, qPrintable(p.name));
    }
    dialog->reject();
}

void tst_generator::unreadablePicture()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.png"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG not really");
    file.close();

    TestEditor t;
    GenerateDialog* dialog = openDialog(t);
    QVERIFY(dialog);
    QList<SlotColors> before;
    for (const ThemeProposal& p : dialog->Proposals())
        before << p.colors;
    t.cd->AnswerFile(path);
    child<QPushButton>(dialog, "cmdImage")->click();
    const FakeMessageBox::Message refusal{QStringLiteral("Sorry! The picture could not be read."),
                                          QStringLiteral("Generate Theme"), MessageStyle::Information};
    QCOMPARE(t.messages->Shown(), QList<FakeMessageBox::Message>{refusal});
    QList<SlotColors> after;
    for (const ThemeProposal& p : dialog->Proposals())
        after << p.colors;
    QVERIFY(after == before);
    dialog->reject();
    QCOMPARE(t->undoStack().count(), 0);
}

OVEX_TEST_MAIN(tst_generator)
#include "tst_generator.moc"
