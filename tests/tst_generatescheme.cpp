// Generate Theme from a colour scheme: the dialog's proposals and note, Apply
// as one undo step with the scheme's name, refusals, and what Generate's file
// dialogs and the window's remember.
#include "SamplePicture.h"
#include "SampleSchemes.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "app/GenerateDialog.h"
#include "schemes/SchemeFile.h"
#include "slots/MRW_Color.h"
#include "theme/ThemeCapture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUndoStack>

#include <tuple>

using namespace ovex;
using namespace ovex::test;

namespace {

const QString Placeholder = QStringLiteral("Theme Name");

QString schemeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    return WriteTestFile(path, bytes) ? path : QString();
}

GenerateDialog* openDialog(const TestEditor& t)
{
    t.action(QStringLiteral("mnuGenerate"))->trigger();
    return t->findChild<GenerateDialog*>();
}

// Answers the scheme dialog with path and presses From Scheme.
void chooseScheme(const TestEditor& t, GenerateDialog* dialog, const QString& path)
{
    t.cd->AnswerFile(path);
    dialog->findChild<QPushButton*>("cmdScheme")->click();
}

SchemeTheme mapped(const QString& path)
{
    const SchemeReading reading = ReadSchemeFile(path);
    return reading.scheme ? MapScheme(*reading.scheme) : SchemeTheme{};
}

QStringList names(const QList<ThemeProposal>& proposals)
{
    QStringList list;
    for (const ThemeProposal& p : proposals)
        list << p.name;
    return list;
}

// What the dialog shows, to compare before and after.
struct Shown
{
    QStringList names;
    QList<SlotColors> colors;
    int chosen;
    bool dark;
    QString adjusted;
    bool adjustedShown;
    QString vision;
    bool operator==(const Shown&) const = default;
};

Shown shown(GenerateDialog* dialog)
{
    Shown s{names(dialog->Proposals()), {}, dialog->ChosenProposal(),
            dialog->findChild<QRadioButton*>("optDark")->isChecked(),
            dialog->findChild<QLabel*>("lblAdjusted")->text(),
            !dialog->findChild<QLabel*>("lblAdjusted")->isHidden(),
            dialog->findChild<QLabel*>("lblVision")->text()};
    for (const ThemeProposal& p : dialog->Proposals())
        s.colors << p.colors;
    return s;
}

// The scheme's own proposal first and chosen, then the generator's from its
// surface and accent in the mode.
void verifyProposals(GenerateDialog* dialog, const SchemeTheme& theme, ThemeMode mode)
{
    const QList<ThemeProposal> generated = ProposeThemes(theme.seed, mode);
    QCOMPARE(names(dialog->Proposals()), QStringList{QStringLiteral("As in the scheme")} + names(generated.first(3)));
    QCOMPARE(dialog->Proposals().front().colors, theme.colors);
    for (qsizetype i = 1; i < 4; ++i)
        QCOMPARE(dialog->Proposals()[i].colors, generated[i - 1].colors);
    QCOMPARE(dialog->ChosenProposal(), 0);
}

QString accessibleName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

} // namespace

class tst_generatescheme : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Dark and light, adjusted or not: the proposals and the note; Apply
    // ticks all 27 in the scheme's colours and names the theme, as one step.
    void fromScheme_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("dark");
        QTest::newRow("base16, dark") << "ember.yml" << FlatBase16 << true;
        QTest::newRow("base24, light") << "lantern.yaml" << PaletteBase24 << false;
        QTest::newRow("KDE, nothing adjusted") << "harbour.colors" << KdeColors << false;
    }
    void fromScheme()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, dark);
        const QString path = schemeFile(m_dir, file, bytes);
        const SchemeTheme theme = mapped(path);
        QVERIFY(!theme.name.isEmpty());

        TestEditor t;
        // Not a dark form colour, so a dark scheme has to set Dark itself.
        t->SetSlotColors(QStringLiteral("Pick"), {{0, 0xF0F0F0}, {4, 0x102030}});
        const int steps = t->undoStack().count();
        QPointer<GenerateDialog> dialog = openDialog(t);
        QVERIFY(dialog->findChild<QRadioButton*>("optLight")->isChecked());
        chooseScheme(t, dialog, path);
        QCOMPARE(t.cd->History().last().kind, FakeCommonDialog::Kind::Open);
        QVERIFY(t.messages->Shown().isEmpty());
        QCOMPARE(dialog->findChild<QRadioButton*>("optDark")->isChecked(), dark);
        verifyProposals(dialog, theme, dark ? ThemeMode::Dark : ThemeMode::Light);
        auto* note = dialog->findChild<QLabel*>("lblAdjusted");
        QVERIFY(!note->isHidden());
        QCOMPARE(note->text(), AdjustmentNote(theme));

        dialog->findChild<QPushButton*>("cmdApply")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(t->undoStack().count(), steps + 1);
        QCOMPARE(t->undoStack().undoText(), QStringLiteral("Generate Theme"));
        const SettingSlots& slots = t.slots();
        for (int slot = 0; slot < ColorSlotCount; ++slot) {
            QVERIFY(slots.IsSaved(slot));
            QCOMPARE(PackedToQColor(slots.s[slot]->BackColor()), theme.colors[slot]);
            QCOMPARE(slots.s[slot]->Tag(), Color_ToText(slots.s[slot]->BackColor()));
        }
        QCOMPARE(t.editor().txtThemeName->text(), theme.name);
    }

    // The scheme's name replaces only the placeholder, exactly as it stands.
    void nameOnlyOverPlaceholder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::newRow("placeholder") << Placeholder << "Ember Coast";
        QTest::newRow("a name") << "Dusk" << "Dusk";
        QTest::newRow("placeholder and a space") << "Theme Name " << "Theme Name ";
        QTest::newRow("other letter case") << "theme name" << "theme name";
        QTest::newRow("empty") << "" << "";
    }
    void nameOnlyOverPlaceholder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, named);
        const QString path = schemeFile(m_dir, QStringLiteral("ember.yml"), FlatBase16);
        TestEditor t;
        t.editor().txtThemeName->setText(typed);
        const ThemeState before = CaptureTheme(t.editor());
        QPointer<GenerateDialog> dialog = openDialog(t);
        chooseScheme(t, dialog, path);
        // Any of the scheme's proposals carries its name.
        dialog->findChild<QListWidget*>("lstProposals")->setCurrentRow(2);
        dialog->findChild<QPushButton*>("cmdApply")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(t.editor().txtThemeName->text(), named);
        QCOMPARE(t->undoStack().count(), 1);
        t->undoStack().undo();
        QCOMPARE(CaptureTheme(t.editor()), before);
    }

    // The name follows each scheme applied while the box holds what the last
    // one put there; a name typed over it stays.
    void nameFollowsSchemes()
    {
        const QString ember = schemeFile(m_dir, QStringLiteral("ember.yml"), FlatBase16);
        const QString moss = schemeFile(m_dir, QStringLiteral("moss.yml"), PaletteBase16);
        TestEditor t;
        QLineEdit* name = t.editor().txtThemeName;
        const QList<std::tuple<QString, QString, const char*>> steps = {
            {ember, QString(), "Ember Coast"}, {moss, QString(), "Moss Night"}, {ember, QStringLiteral("Moss Night 2"), "Moss Night 2"}};
        for (const auto& [path, typed, named] : steps) {
            if (!typed.isEmpty())
                name->setText(typed);
            QPointer<GenerateDialog> dialog = openDialog(t);
            chooseScheme(t, dialog, path);
            dialog->findChild<QPushButton*>("cmdApply")->click();
            QTRY_VERIFY(!dialog);
            QCOMPARE(name->text(), QString::fromLatin1(named));
        }
    }

    // The pictures' title bars show the name Apply would set: the scheme's
    // over the placeholder, the box's own over a name typed.
    void picturesShowTheName()
    {
        const QString ember = schemeFile(m_dir, QStringLiteral("ember.yml"), FlatBase16);
        const auto pictures = [&](const QString& typed) {
            TestEditor t;
            t.editor().txtThemeName->setText(typed);
            QPointer<GenerateDialog> dialog = openDialog(t);
            chooseScheme(t, dialog, ember);
            auto* list = dialog->findChild<QListWidget*>("lstProposals");
            QList<QImage> images;
            for (int i = 0; i < list->count(); ++i)
                images << list->item(i)->icon().pixmap(list->iconSize()).toImage();
            dialog->reject();
            return images;
        };
        const QList<QImage> followed = pictures(Placeholder);
        QCOMPARE(followed.size(), 4);
        QVERIFY(followed == pictures(QStringLiteral("Ember Coast")));
        QVERIFY(followed != pictures(QStringLiteral("Dusk")));
    }

    // A refused scheme is reported with its reason and changes nothing, in
    // the window or the dialog, whatever the proposals came from.
    void refused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("schemeFirst");
        QTest::newRow("a colour missing") << "noaccent.yaml" << QByteArray(PaletteBase16).replace("  base0D: \"#5aa0c8\"\n", "")
                                          << "base0D is missing" << false;
        QTest::newRow("a folder, after a scheme") << "." << QByteArray() << "not a regular file" << true;
    }
    void refused()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QFETCH(bool, schemeFirst);
        QTemporaryDir dir;
        const QString path = bytes.isEmpty() ? dir.filePath(file) : schemeFile(dir, file, bytes);

        TestEditor t;
        const ThemeState before = CaptureTheme(t.editor());
        QPointer<GenerateDialog> dialog = openDialog(t);
        if (schemeFirst)
            chooseScheme(t, dialog, schemeFile(m_dir, QStringLiteral("lantern.yaml"), PaletteBase24));
        dialog->findChild<QListWidget*>("lstProposals")->setCurrentRow(2);
        const Shown was = shown(dialog);
        chooseScheme(t, dialog, path);

        const FakeMessageBox::Message refusal{QStringLiteral("Sorry! The scheme could not be read: %1.").arg(reason),
                                              QStringLiteral("Generate Theme"), MessageStyle::Information};
        QCOMPARE(t.messages->Shown(), QList<FakeMessageBox::Message>{refusal});
        QVERIFY(shown(dialog) == was);
        dialog->findChild<QPushButton*>("cmdCancel")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(CaptureTheme(t.editor()), before);
        QCOMPARE(t->undoStack().count(), 0);
    }

    // Light and Dark keep the scheme: its own proposal stays first, the
    // generator's follow in the other mode. A base colour or a picture
    // brings back their proposals, which never rename the theme; a cancelled
    // colour dialog does not.
    void switchingSources()
    {
        const QString path = schemeFile(m_dir, QStringLiteral("ember.yml"), FlatBase16);
        const QString picture = m_dir.filePath(QStringLiteral("sky.png"));
        QVERIFY(SampleLandscape(QSize(200, 150)).save(picture));
        const SchemeTheme theme = mapped(path);
        TestEditor t;
        QPointer<GenerateDialog> dialog = openDialog(t);
        chooseScheme(t, dialog, path);
        const Shown dark = shown(dialog);
        QVERIFY(dark.dark);

        dialog->findChild<QRadioButton*>("optLight")->click();
        verifyProposals(dialog, theme, ThemeMode::Light);
        QVERIFY(!dialog->findChild<QLabel*>("lblAdjusted")->isHidden());
        dialog->findChild<QRadioButton*>("optDark")->click();
        QVERIFY(shown(dialog) == dark);

        t.cd->CancelColor();
        dialog->findChild<QPushButton*>("cmdBase")->click();
        QVERIFY(shown(dialog) == dark);

        // The base colour dialog starts on the scheme's accent.
        const QColor green(0, 200, 0);
        t.cd->AnswerColor(QColorToPacked(green));
        dialog->findChild<QPushButton*>("cmdBase")->click();
        QCOMPARE(PackedToQColor(t.cd->History().last().color), QColor(0x6f, 0x9f, 0xd8));
        const QList<ThemeProposal> fromGreen = ProposeThemes(SeedFromColour(green), ThemeMode::Dark);
        QCOMPARE(names(dialog->Proposals()), names(fromGreen));
        QCOMPARE(dialog->Proposals().front().colors, fromGreen.front().colors);
        QVERIFY(dialog->findChild<QLabel*>("lblAdjusted")->isHidden());

        chooseScheme(t, dialog, path);
        QVERIFY(shown(dialog) == dark);
        t.cd->AnswerFile(picture);
        dialog->findChild<QPushButton*>("cmdImage")->click();
        QVERIFY(!names(dialog->Proposals()).contains(QStringLiteral("As in the scheme")));
        QVERIFY(dialog->findChild<QLabel*>("lblAdjusted")->isHidden());
        dialog->findChild<QPushButton*>("cmdApply")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(t.editor().txtThemeName->text(), Placeholder);
    }

    // Generate's scheme and picture dialogs each start where their own last
    // one left off, on neither each other's file nor the window's; the
    // window's open and colour dialogs start where the window's left off,
    // whether Generate was applied or cancelled.
    void dialogsKeepTheirOwnFiles_data()
    {
        QTest::addColumn<bool>("apply");
        QTest::newRow("cancelled") << false;
        QTest::newRow("applied") << true;
    }
    void dialogsKeepTheirOwnFiles()
    {
        QFETCH(bool, apply);
        const QString scheme = schemeFile(m_dir, QStringLiteral("ember.yml"), FlatBase16);
        const QString theme = schemeFile(m_dir, QStringLiteral("Day.theme"), "name=Day\r\n");
        const QString picture = m_dir.filePath(QStringLiteral("sky.png"));
        QVERIFY(SampleLandscape(QSize(200, 150)).save(picture));
        TestEditor t;
        FakeCommonDialog& cd = *t.cd;
        cd.AnswerFile(theme);
        t.action(QStringLiteral("mnuImport"))->trigger();
        const ColorValue picked = 0x112233;
        cd.AnswerColor(picked);
        t.slots().cmd[3]->click();
        const auto properties = [&] { return std::tuple(cd.Filter, cd.InitDir, cd.FileName, cd.Color); };
        const auto windowDialogs = properties();

        QPointer<GenerateDialog> dialog = openDialog(t);
        cd.AnswerFile(picture);
        dialog->findChild<QPushButton*>("cmdImage")->click();
        QCOMPARE(cd.History().last().fileName, QString());
        QVERIFY(cd.History().last().initDir.isEmpty());
        chooseScheme(t, dialog, scheme);
        QCOMPARE(cd.History().last().fileName, QString());
        cd.AnswerColor(0x00FF00);
        dialog->findChild<QPushButton*>("cmdBase")->click();
        QCOMPARE(properties(), windowDialogs);
        dialog->findChild<QPushButton*>(apply ? "cmdApply" : "cmdCancel")->click();
        QTRY_VERIFY(!dialog);
        QCOMPARE(properties(), windowDialogs);

        // The window's next dialogs, cancelled.
        cd.CancelFile();
        t.action(QStringLiteral("mnuImport"))->trigger();
        QCOMPARE(cd.History().last().fileName, theme);
        cd.CancelColor();
        t.slots().cmd[5]->click();
        QCOMPARE(cd.History().last().color, picked);
        // Generate's, in two more openings: a cancelled dialog forgets nothing.
        for (int opening = 0; opening < 2; ++opening) {
            dialog = openDialog(t);
            cd.CancelFile();
            dialog->findChild<QPushButton*>("cmdScheme")->click();
            QCOMPARE(cd.History().last().fileName, scheme);
            QCOMPARE(cd.History().last().filter, QString::fromLatin1(SchemeFilter));
            cd.CancelFile();
            dialog->findChild<QPushButton*>("cmdImage")->click();
            QCOMPARE(cd.History().last().fileName, picture);
            QCOMPARE(cd.History().last().filter, PictureFilter());
            dialog->reject();
            QCOMPARE(properties(), windowDialogs);
        }
    }

    // From Scheme has an access key of its own and a name; Tab reaches the
    // note after the proposals, and a screen reader is given its text.
    void keyboardAndScreenReader()
    {
        const QString path = schemeFile(m_dir, QStringLiteral("ember.yml"), FlatBase16);
        TestEditor t;
        QPointer<GenerateDialog> dialog = openDialog(t);
        auto* cmdScheme = dialog->findChild<QPushButton*>("cmdScheme");
        QCOMPARE(cmdScheme->text(), QStringLiteral("From &Scheme..."));
        QCOMPARE(cmdScheme->accessibleName(), QStringLiteral("From Scheme"));
        QStringList keys;
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            const qsizetype amp = button->text().indexOf(u'&');
            if (amp >= 0 && amp + 1 < button->text().size()) {
                const QString key = button->text().mid(amp + 1, 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(button->text()));
                keys << key;
            }
        }
        QVERIFY(keys.contains(QStringLiteral("s")));

        chooseScheme(t, dialog, path);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* list = dialog->findChild<QListWidget*>("lstProposals");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Tab);
        auto* note = dialog->findChild<QLabel*>("lblAdjusted");
        QCOMPARE(QApplication::focusWidget(), note);
        QCOMPARE(accessibleName(note), note->text());
        QTest::keyClick(note, Qt::Key_Tab);
        auto* vision = dialog->findChild<QLabel*>("lblVision");
        QCOMPARE(QApplication::focusWidget(), vision);
        QCOMPARE(accessibleName(vision), vision->text());
        dialog->reject();
    }

    // The open dialog grows to a note of several lines, and shrinks back
    // when the note goes: nothing overlaps, and no line is cut off.
    void notesFit()
    {
        // Every text moved: a long note.
        const QString path = schemeFile(m_dir, QStringLiteral("flat.yml"),
                                       "scheme: Flat\nbase00: 808080\nbase01: 808080\nbase02: 808080\nbase03: 808080\n"
                                       "base05: 808080\nbase0D: 808080\n");
        TestEditor t;
        QPointer<GenerateDialog> dialog = openDialog(t);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const int height = dialog->height();
        auto* list = dialog->findChild<QListWidget*>("lstProposals");
        auto* note = dialog->findChild<QLabel*>("lblAdjusted");
        auto* vision = dialog->findChild<QLabel*>("lblVision");
        auto* apply = dialog->findChild<QPushButton*>("cmdApply");
        chooseScheme(t, dialog, path);
        QVERIFY(!note->isHidden());
        QVERIFY(note->heightForWidth(note->width()) > 2 * note->fontMetrics().height());
        QTRY_VERIFY(dialog->height() > height);
        QVERIFY(list->geometry().bottom() < note->geometry().top());
        QVERIFY(note->height() >= note->heightForWidth(note->width()));
        QVERIFY(note->geometry().bottom() < vision->geometry().top());
        QVERIFY(vision->height() >= vision->heightForWidth(vision->width()));
        QVERIFY(vision->geometry().bottom() < apply->mapTo(dialog, QPoint(0, 0)).y());

        t.cd->AnswerColor(0x00FF00);
        dialog->findChild<QPushButton*>("cmdBase")->click();
        QTRY_COMPARE(dialog->height(), height);
        dialog->reject();
    }
};

OVEX_TEST_MAIN(tst_generatescheme)
#include "tst_generatescheme.moc"
