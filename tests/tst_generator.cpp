// Generate Theme: proposals that read well, the colours found in a picture,
// and the dialog applying one proposal as one undo step.
#include "TestSupport.h"
#include "app/GenerateDialog.h"
#include "colour/ImagePalette.h"
#include "colour/ThemeGenerator.h"
#include "slots/MRW_Color.h"
#include "theme/ThemeState.h"

#include <QAction>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;
using namespace ovex::test;

Q_DECLARE_METATYPE(ovex::ThemeMode)

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
        for (qsizetype i = 0; i < proposals.size(); ++i) {
            const ThemeProposal& p = proposals[i];
            QVERIFY2(AllPairsPass(p.colors), qPrintable(p.name));
            // Those that pass for every vision come first.
            QVERIFY(passedEveryVision || !p.passesEveryVision);
            passedEveryVision = p.passesEveryVision;
            // Light themes have light surfaces, dark ones dark.
            QCOMPARE(ModeFor(p.colors[18]), mode);
            // A grey base makes some alike; each is shown once.
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY(proposals[j].colors != p.colors);
        }
    }

    // A coloured base leaves room for every variant.
    void everyVariant()
    {
        QCOMPARE(ProposeThemes(SeedFromColour(QColor(0, 128, 128)), ThemeMode::Light).size(), 4);
    }

    void palette()
    {
        QCOMPARE(DownsampleForPalette(QImage(30, 300, QImage::Format_RGB32)).size(), QSize(6, 64));
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
        auto* list = dialog->findChild<QListWidget*>("lstProposals");
        if (byKeyboard) {
            QCOMPARE(dialog->focusWidget(), list);
            QTest::keyClick(list, Qt::Key_Right);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            list->setCurrentRow(1);
            dialog->findChild<QPushButton*>("cmdApply")->click();
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
    }

    // Generate's dialogs start where Generate's last ones left off; the
    // window's open and colour dialogs start where the window's left off,
    // whether Generate was applied or cancelled.
    void keepsItsOwnDialogs_data()
    {
        QTest::addColumn<bool>("apply");
        QTest::newRow("cancelled") << false;
        QTest::newRow("applied") << true;
    }
    void keepsItsOwnDialogs()
    {
        QFETCH(bool, apply);
        QTemporaryDir dir;
        const QString theme = dir.filePath(QStringLiteral("Day.theme"));
        const QString picture = dir.filePath(QStringLiteral("dunes.png"));
        QVERIFY(dunes().save(picture));
        QFile file(theme);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("name=Day\r\n") > 0);
        file.close();
        TestEditor t;
        FakeCommonDialog& cd = *t.cd;
        cd.AnswerFile(theme);
        t.action(QStringLiteral("mnuImport"))->trigger();
        const ColorValue picked = 0x112233;
        cd.AnswerColor(picked);
        t.slots().cmd[3]->click();
        const auto properties = [&] { return std::tuple(cd.Filter, cd.InitDir, cd.FileName, cd.Color); };
        const auto windowDialogs = properties();
        const ThemeState before = CaptureTheme(t.editor());
        const int steps = t->undoStack().count();

        QPointer<GenerateDialog> dialog = openDialog(t);
        cd.AnswerFile(picture);
        dialog->findChild<QPushButton*>("cmdImage")->click();
        QCOMPARE(cd.History().last().fileName, QString());
        QVERIFY(cd.History().last().initDir.isEmpty());
        cd.AnswerColor(0x00FF00);
        dialog->findChild<QPushButton*>("cmdBase")->click();
        QCOMPARE(properties(), windowDialogs);
        dialog->findChild<QPushButton*>(apply ? "cmdApply" : "cmdCancel")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(properties(), windowDialogs);
        if (!apply) {
            QCOMPARE(CaptureTheme(t.editor()), before);
            QCOMPARE(t->undoStack().count(), steps);
        }

        // The window's next dialogs, cancelled.
        cd.CancelFile();
        t.action(QStringLiteral("mnuImport"))->trigger();
        QCOMPARE(cd.History().last().fileName, theme);
        cd.CancelColor();
        t.slots().cmd[5]->click();
        QCOMPARE(cd.History().last().color, picked);
        // Generate's next picture dialog.
        dialog = openDialog(t);
        cd.CancelFile();
        dialog->findChild<QPushButton*>("cmdImage")->click();
        QCOMPARE(cd.History().last().fileName, picture);
        QCOMPARE(cd.History().last().filter, PictureFilter());
        dialog->reject();
        QCOMPARE(properties(), windowDialogs);
    }
};

OVEX_TEST_MAIN(tst_generator)
#include "tst_generator.moc"
