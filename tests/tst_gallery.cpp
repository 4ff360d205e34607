// The theme gallery: the folder read as Import reads it, the window following
// the folder, filter and order, keyboard import, and the comparison.
#include "SampleColors.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "colour/ThemeCompare.h"
#include "preview/GalleryModel.h"
#include "preview/GalleryPictures.h"
#include "preview/GalleryWindow.h"
#include "theme/ThemeKeys.h"
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUndoStack>
#include <sys/stat.h>

using namespace ovex;
using ovex::test::TestEditor;

// A theme file setting every colour slot, in CR LF lines.
static QByteArray themeBytes(const QString& name, const SlotColors& colors)
{
    QByteArray bytes = "name=" + name.toLatin1() + "\r\n";
    for (int k = 0; k < ColorSlotCount; ++k)
        bytes += QByteArray(SlotTable[k].key) + QByteArray::number(colors[k].red()) + ','
               + QByteArray::number(colors[k].green()) + ',' + QByteArray::number(colors[k].blue()) + "\r\n";
    return bytes;
}

static SlotColors inverted(SlotColors colors)
{
    for (QColor& c : colors)
        c = QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
    return colors;
}

// View, Theme Gallery, waited for until the folder is read.
static GalleryWindow* openGallery(TestEditor& ed)
{
    ed.action(QStringLiteral("mnuGallery"))->trigger();
    GalleryWindow* gallery = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* g = qobject_cast<GalleryWindow*>(w); g && g->isVisible())
            gallery = g;
    if (gallery && !QTest::qWaitFor([&] { return !gallery->Model()->Busy(); }))
        return nullptr;
    return gallery;
}

static QStringList shownNames(const GalleryWindow* gallery)
{
    QStringList names;
    for (const GalleryEntry& entry : gallery->Proxy()->Shown(1000))
        names << entry.theme.name;
    return names;
}

static void choose(GalleryWindow* gallery, const QList<int>& rows)
{
    gallery->View()->clearSelection();
    for (const int row : rows)
        gallery->View()->selectionModel()->select(gallery->Proxy()->index(row, 0), QItemSelectionModel::Select);
}

class GalleryTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        const SlotColors paper = test::ReadableColors();
        QVERIFY(test::WriteTestFile(path("paper.theme"), themeBytes("Paper", paper)));
        QVERIFY(test::WriteTestFile(path("night.theme"), themeBytes("Solarized Night", inverted(paper))));
        QVERIFY(test::WriteTestFile(path("day.theme"), themeBytes("solarized Day", paper)));
        QVERIFY(test::WriteTestFile(path("pale.theme"), themeBytes("Pale", test::PaleFronts())));
        QVERIFY(test::WriteTestFile(path(".hidden.theme"), themeBytes("Hidden", paper)));
        QVERIFY(test::WriteTestFile(path("upper.THEME"), themeBytes("Upper", paper)));
        QVERIFY(test::WriteTestFile(path("empty.theme"), ""));
        QVERIFY(test::WriteTestFile(path("palette.theme"), "name=P\r\ncontrol=primary1\r\n"));
        QVERIFY(test::WriteTestFile(path("huge.theme"), QByteArray(MaxReadBytes + 1, 'x')));
        QVERIFY(test::WriteTestFile(path("notes.txt"), themeBytes("Notes", paper)));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.theme")).constData(), 0600), 0);
        QVERIFY(QFile::link(path("gone"), path("broken.theme")));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.theme")));
    }

    // Each file as Import would take it; what is no theme file is not listed.
    void reading_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");   // -1: not listed
        const auto row = [](const char* name, int status) { QTest::newRow(name) << QString::fromLatin1(name) << status; };
        row("paper.theme", int(ThemeFileStatus::Read));
        row(".hidden.theme", int(ThemeFileStatus::Read));
        row("upper.THEME", int(ThemeFileStatus::NotTheme));
        row("empty.theme", int(ThemeFileStatus::NoLines));
        row("palette.theme", int(ThemeFileStatus::PaletteWord));
        row("huge.theme", int(ThemeFileStatus::Unreadable));
        row("fifo.theme", int(ThemeFileStatus::Missing));
        row("broken.theme", int(ThemeFileStatus::Missing));
        row("folder.theme", -1);
        row("notes.txt", -1);
    }
    void reading()
    {
        QFETCH(QString, name);
        QFETCH(int, status);
        const QList<ThemeFolderFile> files = ListThemeFolder(m_dir.path());
        QVERIFY(std::is_sorted(files.begin(), files.end(), [](auto& a, auto& b) { return a.fileName < b.fileName; }));
        const auto file = std::find_if(files.begin(), files.end(), [&](auto& f) { return f.fileName == name; });
        QCOMPARE(file != files.end(), status >= 0);
        if (status < 0)
            return;
        const GalleryEntry entry = ReadGalleryEntry(*IO_CreateFileSystem(), *file);
        QCOMPARE(int(entry.status), status);
        QCOMPARE(RefusalReason(entry.status).isEmpty(), entry.Read());
    }

    // Good themes as entries, refused files apart with their reasons; files
    // changed, added and removed while the window is open.
    void followsFolder()
    {
        TestEditor ed;
        ed.editor().themeFile = path("paper.theme");   // as the last import leaves it
        GalleryWindow* gallery = openGallery(ed);
        QVERIFY(gallery);
        QCOMPARE(gallery->windowTitle(), QStringLiteral("Theme Gallery"));
        QCOMPARE(gallery->Model()->Folder(), m_dir.path());
        QCOMPARE(gallery->Model()->rowCount(), 5);
        QCOMPARE(gallery->focusWidget(), gallery->FilterBox());
        QStringList refused;
        for (int i = 0; i < gallery->RefusedList()->count(); ++i) {
            const QListWidgetItem* item = gallery->RefusedList()->item(i);
            QVERIFY(!item->toolTip().isEmpty() && item->text().endsWith(item->toolTip()));
            refused << item->data(Qt::UserRole).toString();
        }
        QCOMPARE(refused, QStringList({"broken.theme", "empty.theme", "fifo.theme", "huge.theme", "palette.theme", "upper.THEME"}));

        const auto entryNamed = [&](const QString& name) {
            const QList<GalleryEntry>& entries = gallery->Model()->Entries();
            return std::find_if(entries.begin(), entries.end(), [&](auto& e) { return e.theme.name == name; }) != entries.end();
        };
        const QStringList added{"New1", "New2", "New3"};
        for (const QString& name : added)
            QVERIFY(test::WriteTestFile(path(name + ".theme"), themeBytes(name, test::ReadableColors())));
        QTRY_VERIFY(std::all_of(added.begin(), added.end(), entryNamed));
        QVERIFY(QFile::remove(path("New1.theme")) && QFile::remove(path("New3.theme")));
        QVERIFY(QFile::rename(path("day.theme"), path("day.away")));
        QTRY_VERIFY(!entryNamed("New1") && !entryNamed("New3") && !entryNamed("solarized Day"));
        QVERIFY(entryNamed("New2"));
        // Rows are found again after removals: the change lands on its entry.
        QVERIFY(test::WriteTestFile(path("paper.theme"), themeBytes("Paper Two", test::PaleFronts())));
        QTRY_VERIFY(entryNamed("Paper Two"));
        QVERIFY(!entryNamed("Paper"));
        QVERIFY(QFile::remove(path("New2.theme")) && QFile::rename(path("day.away"), path("day.theme")));
        QTRY_VERIFY(entryNamed("solarized Day") && !entryNamed("New2"));
        QCOMPARE(gallery->Model()->rowCount(), 5);
        QVERIFY(test::WriteTestFile(path("empty.theme"), themeBytes("Filled", test::ReadableColors())));
        QTRY_VERIFY(entryNamed("Filled"));
        QCOMPARE(gallery->RefusedList()->count(), 5);
        QVERIFY(test::WriteTestFile(path("paper.theme"), themeBytes("Paper", test::ReadableColors())));
        QVERIFY(test::WriteTestFile(path("empty.theme"), ""));
        // An icon theme's index.theme holds no theme setting: refused too.
        QVERIFY(test::WriteTestFile(path("index.theme"), "[Icon Theme]\nName=Foo\n"));
        QTRY_COMPARE(gallery->RefusedList()->count(), 7);
        QTRY_VERIFY(entryNamed("Paper"));

        // Pictures are kept per file and modification time: the changed file is drawn again.
        GalleryPictures* pictures = gallery->Pictures();
        const auto pictureOf = [&](const QString& name) {
            for (const GalleryEntry& e : gallery->Model()->Entries())
                if (e.theme.name == name)
                    return pictures->Picture(e);
            return QImage();
        };
        QTRY_VERIFY(!pictureOf("Paper").isNull());
        const QImage before = pictureOf("Paper");
        QVERIFY(test::WriteTestFile(path("paper.theme"), themeBytes("Paper", inverted(test::ReadableColors())) + "\r\n"));
        QTRY_VERIFY(!pictureOf("Paper").isNull() && pictureOf("Paper") != before);
        QVERIFY(test::WriteTestFile(path("paper.theme"), themeBytes("Paper", test::ReadableColors())));
        QTRY_VERIFY(pictureOf("Paper") == before);
        gallery->close();
    }

    void filterAndOrder_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("all by name") << "" << 0 << QStringList{"Hidden", "Pale", "Paper", "solarized Day", "Solarized Night"};
        QTest::newRow("any case") << "SOLAR" << 0 << QStringList{"solarized Day", "Solarized Night"};
        QTest::newRow("blanks around") << " solar " << 0 << QStringList{"solarized Day", "Solarized Night"};
        QTest::newRow("file name") << "night.th" << 0 << QStringList{"Solarized Night"};
        QTest::newRow("none") << "solarised" << 0 << QStringList{};
        QTest::newRow("light to dark") << "" << 1 << QStringList{"Pale", "Hidden", "Paper", "solarized Day", "Solarized Night"};
        QTest::newRow("readability") << "" << 2 << QStringList{"Hidden", "Paper", "solarized Day", "Solarized Night", "Pale"};
    }
    void filterAndOrder()
    {
        QFETCH(QString, filter);
        QFETCH(int, order);
        QFETCH(QStringList, names);
        TestEditor ed;
        ed.editor().themeFile = path("paper.theme");
        GalleryWindow* gallery = openGallery(ed);
        QVERIFY(gallery);
        gallery->findChild<QComboBox*>(QStringLiteral("cboOrder"))->setCurrentIndex(order);
        QTest::keyClicks(gallery->FilterBox(), filter);
        QCOMPARE(shownNames(gallery), names);
        for (int row = 0; row < gallery->Proxy()->rowCount(); ++row) {
            // A screen reader hears the name first, then the grade.
            const GalleryEntry& entry = gallery->Proxy()->Entry(row);
            QCOMPARE(gallery->Proxy()->index(row, 0).data(Qt::AccessibleTextRole).toString(),
                     entry.theme.name + QStringLiteral(": ") + GradeDescription(entry.grade));
        }
        gallery->close();
    }

    // Down goes to the entries; Return imports the only one left as one
    // step, which Ctrl+Z takes back; the next gallery opens on its folder.
    void keyboardImport()
    {
        TestEditor ed;
        ed.editor().themeFile = path("paper.theme");
        GalleryWindow* gallery = openGallery(ed);
        QVERIFY(gallery);
        QTest::keyClick(gallery->FilterBox(), Qt::Key_Down);
        QCOMPARE(gallery->focusWidget(), gallery->View());
        QCOMPARE(gallery->View()->currentIndex().row(), 0);
        gallery->FilterBox()->setFocus();
        QTest::keyClicks(gallery->FilterBox(), QStringLiteral("night"));
        const int steps = ed->undoStack().count();
        QTest::keyClick(gallery->FilterBox(), Qt::Key_Return);
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Solarized Night"));
        QCOMPARE(ed->undoStack().count(), steps + 1);
        QCOMPARE(ed->undoStack().undoText(), QStringLiteral("Import"));
        QCOMPARE(ed.editor().themeFile, path("night.theme"));
        QVERIFY(ed.cd->FileName.isEmpty());   // the file dialogs' own state is theirs
        ed->undoStack().undo();
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Theme Name"));

        // A double click (activation) imports the entry under it.
        gallery->FilterBox()->clear();
        Q_EMIT gallery->View()->activated(gallery->Proxy()->index(1, 0));
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Pale"));
        gallery->close();
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("other")));
        QVERIFY(test::WriteTestFile(path("other/x.theme"), themeBytes("X", test::ReadableColors())));
        ed->OpenThemeFile(path("other/x.theme"));   // as a dropped file or the command line opens it
        gallery = openGallery(ed);
        QCOMPARE(shownNames(gallery), QStringList{"X"});

        // Open Folder goes through the dialog service, starting on the gallery's folder.
        ed.cd->AnswerFile(m_dir.path());
        gallery->findChild<QPushButton*>(QStringLiteral("cmdOpenFolder"))->click();
        QCOMPARE(ed.cd->History().last().kind, FakeCommonDialog::Kind::Folder);
        QCOMPARE(QDir::fromNativeSeparators(ed.cd->History().last().fileName), path("other"));
        QVERIFY(ed.cd->FileName.isEmpty());   // Import's start stays
        QTRY_COMPARE(gallery->Model()->rowCount(), 5);
        gallery->close();
        // A save leaves its folder for the next gallery too.
        ed.cd->AnswerFile(path("other/y.theme"));
        ed.action(QStringLiteral("mnuSave"))->trigger();
        QCOMPARE(ed.editor().themeFile, path("other/y.theme"));
    }

    // Exactly the settings two files write differently, whatever the files.
    void compareListsDifferences()
    {
        QRandomGenerator random(24);
        const QList<QByteArray> values{"", "1,2,3", "200,10,10", "10", "x"};
        for (int round = 0; round < 200; ++round) {
            QByteArray files[2];
            QStringList written[2];   // per setting: what Save would write, "-" for nothing
            for (int side = 0; side < 2; ++side) {
                for (int k = 0; k <= SlotCount; ++k) {
                    const int pick = random.bounded(int(values.size()) + 1);   // the last: no line
                    const QByteArray key = k < SlotCount ? SlotTable[k].key : "name=";
                    if (pick < values.size())
                        files[side] += key + values[pick] + "\r\n";
                    const QByteArray value = pick < values.size() ? values[pick] : QByteArray();
                    written[side] << (k == SlotCount ? (pick < values.size() ? QString::fromLatin1(value) : QStringLiteral("Theme Name"))
                                                     : value.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(value));
                }
            }
            ThemeState states[2];
            for (int side = 0; side < 2; ++side) {
                QVERIFY(test::WriteTestFile(path("cmp.theme"), files[side]));
                states[side] = ReadThemeFile(*IO_CreateFileSystem(), path("cmp.theme")).state;
            }
            QList<int> expected;
            if (written[0][SlotCount] != written[1][SlotCount])
                expected << NameField;
            for (int k = 0; k < SlotCount; ++k)
                if (written[0][k] != written[1][k])
                    expected << k;
            QList<int> listed;
            for (const SettingDifference& d : CompareThemes(states[0], states[1])) {
                listed << d.setting;
                QCOMPARE(d.left.value_or("-"), written[0][d.setting == NameField ? SlotCount : d.setting]);
                QCOMPARE(d.distance.has_value(), d.setting < FirstSizeSlot);
            }
            QCOMPARE(listed, expected);
        }
        QFile::remove(path("cmp.theme"));
    }

    // Two entries, or one and the theme being edited, side by side.
    void compareWindow()
    {
        TestEditor ed;
        ed.editor().themeFile = path("paper.theme");
        GalleryWindow* gallery = openGallery(ed);
        QVERIFY(gallery);
        auto* compare = gallery->findChild<QPushButton*>(QStringLiteral("cmdCompare"));
        auto* compareEdited = gallery->findChild<QPushButton*>(QStringLiteral("cmdCompareEdited"));
        choose(gallery, {1, 2});   // Pale, Paper
        QVERIFY(compare->isEnabled() && !compareEdited->isEnabled());
        compare->click();
        QVERIFY(gallery->Comparison());
        QCOMPARE(gallery->Comparison()->windowTitle(), QStringLiteral("Compare Themes"));
        QTreeWidget* differences = gallery->Comparison()->Differences();
        const auto settings = [&] {
            QStringList names;
            for (int i = 0; i < differences->topLevelItemCount(); ++i)
                names << differences->topLevelItem(i)->text(0);
            return names;
        };
        QStringList expected{"Name"};
        for (int k = 0; k < ColorSlotCount; ++k)
            if (test::PaleFronts()[k] != test::ReadableColors()[k])
                expected << SettingName(k);
        QCOMPARE(settings(), expected);

        choose(gallery, {2});
        QVERIFY(!compare->isEnabled() && compareEdited->isEnabled());
        compareEdited->click();
        // A new window ticks nothing: every colour Paper sets differs, and the name.
        QCOMPARE(differences->topLevelItemCount(), 1 + ColorSlotCount);
        QCOMPARE(differences->headerItem()->text(1), QStringLiteral("Being edited: Theme Name"));
        gallery->close();
    }
};

OVEX_TEST_MAIN(GalleryTest)
#include "tst_gallery.moc"
