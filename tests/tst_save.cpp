// File, Save and File, New, driven through the window.
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

using namespace ovex;
using ovex::test::TestEditor;

namespace {

const FakeMessageBox::Message Saved{QStringLiteral("Success! Your theme file has now been created!"),
                                    QStringLiteral("Theme Creation Notification"),
                                    MessageStyle::Information};
const FakeMessageBox::Message NoName{
    QStringLiteral("Sorry! You must type in a name for your theme before the theme file will be created."),
    QStringLiteral("User Input Error!"), MessageStyle::Information};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void pick(TestEditor& ed, int slot, ColorValue color)
{
    ed.cd->AnswerColor(color);
    QTest::mouseClick(ed.slots().cmd[slot], Qt::LeftButton);
}

void tick(TestEditor& ed, int slot) { QTest::mouseClick(ed.slots().chk[slot], Qt::LeftButton); }

void save(TestEditor& ed, const QString& path)
{
    ed.cd->AnswerFile(path);
    ed.action("mnuSave")->trigger();
}

} // namespace

class SaveTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void typicalSave()
    {
        TestEditor ed;
        tick(ed, 19);
        pick(ed, 19, 0x0000FF);
        ed.editor().txtThemeName->setText("Night");
        save(ed, path("Night.theme"));

        QCOMPARE(readFile(path("Night.theme")), QByteArray("name=Night\r\nmenubackground=255,0,0\r\n"));
        QCOMPARE(ed.messages->Shown(), QList<FakeMessageBox::Message>{Saved});
        const auto& shown = ed.cd->History().last();
        QCOMPARE(shown.kind, FakeCommonDialog::Kind::Save);
        QCOMPARE(shown.filter, QStringLiteral(".theme"));
        QCOMPARE(shown.initDir, QStringLiteral("\\Program Files\\ovexChat\\"));
        QCOMPARE(shown.fileName, QStringLiteral("Night.theme"));
    }

    void placeholderNameIsRefusedAfterTheDialog()
    {
        TestEditor ed;
        tick(ed, 27);
        ed.slots().SizeBox(27)->setText("20");
        save(ed, path("refused.theme"));
        QCOMPARE(ed.messages->Shown(), QList<FakeMessageBox::Message>{NoName});
        QVERIFY(!QFile::exists(path("refused.theme")));
        QCOMPARE(ed.slots().s[27]->Tag(), QStringLiteral("12"));   // not refreshed
    }

    void cancelWritesNothing()
    {
        TestEditor ed;
        ed.editor().txtThemeName->setText("Kept");
        ed.slots().SizeBox(28)->setText("30");
        ed.cd->CancelFile();
        ed.action("mnuSave")->trigger();
        QVERIFY(ed.messages->Shown().isEmpty());
        QCOMPARE(ed.slots().s[28]->Tag(), QString());
        QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).filter("Kept").isEmpty());
    }

    void anyOtherNameIsWrittenAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("case") << "theme name" << QByteArray("name=theme name\r\n");
        QTest::newRow("leading blank") << " Theme Name" << QByteArray("name= Theme Name\r\n");
        QTest::newRow("trailing blank") << "Theme Name " << QByteArray("name=Theme Name \r\n");
        QTest::newRow("empty") << "" << QByteArray("name=\r\n");
        QTest::newRow("equals") << "a=b" << QByteArray("name=a=b\r\n");
        QTest::newRow("cp1252") << QStringLiteral("Caf\u00e9 \u20ac") << QByteArray("name=Caf\xe9 \x80\r\n");
        QTest::newRow("outside code page") << QStringLiteral("\u65e5\U0001F600x") << QByteArray("name=??x\r\n");
    }
    void anyOtherNameIsWrittenAsTyped()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        TestEditor ed;
        ed.editor().txtThemeName->setText(name);
        save(ed, path("named.theme"));
        QCOMPARE(readFile(path("named.theme")), bytes);
        QCOMPARE(ed.messages->Shown(), QList<FakeMessageBox::Message>{Saved});
    }

    // Only ticked slots with a value text are written, in slot order.
    void slotSelectionAndOrder()
    {
        TestEditor ed;
        ed.editor().txtThemeName->setText("Mix");
        pick(ed, 26, 0xFFFFFF);
        tick(ed, 26);
        tick(ed, 3);                         // ticked, never picked: skipped
        pick(ed, 5, 0x010203);               // picked, unticked: skipped
        tick(ed, 0);
        pick(ed, 0, 0);
        tick(ed, 28);
        ed.slots().SizeBox(28)->setText("16");   // edited after ticking
        ed.slots().SizeBox(29)->setText("40");   // unticked size slot
        save(ed, path("mix.theme"));
        QCOMPARE(readFile(path("mix.theme")),
                 QByteArray("name=Mix\r\ncontrol=0,0,0\r\nfocuscolor=255,255,255\r\nfontsize.user=16\r\n"));
        // Every save refreshes the size slots' value texts, ticked or not.
        QCOMPARE(ed.slots().s[29]->Tag(), QStringLiteral("40"));

        tick(ed, 5);
        tick(ed, 5);                         // unticking loses the picked colour
        tick(ed, 5);
        save(ed, path("mix.theme"));
        QVERIFY(!readFile(path("mix.theme")).contains("controldisabled="));
    }

    void savingOverALongerFileReplacesIt()
    {
        writeFile(path("long.theme"), QByteArray(5000, 'x'));
        TestEditor ed;
        ed.editor().txtThemeName->setText("Short");
        save(ed, path("long.theme"));
        QCOMPARE(readFile(path("long.theme")), QByteArray("name=Short\r\n"));
    }

    void failedSaveIsReportedAndHarmsNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << "no/such/folder/x.theme";
        QTest::newRow("folder") << "isfolder.theme";
        QTest::newRow("name too long") << QString(300, u'n') + ".theme";
    }
    void failedSaveIsReportedAndHarmsNothing()
    {
        QFETCH(QString, target);
        QDir(m_dir.path()).mkdir("isfolder.theme");
        writeFile(path("old.theme"), "old");
        const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        TestEditor ed;
        ed.editor().txtThemeName->setText("X");
        save(ed, path(target));
        QCOMPARE(ed.messages->Shown().size(), 1);
        const auto& message = ed.messages->Shown().first();
        QVERIFY2(message.text.startsWith("Sorry! The theme file could not be created: "), qPrintable(message.text));
        QVERIFY(message.text.size() > QStringLiteral("Sorry! The theme file could not be created: ").size());
        QCOMPARE(message.title, QStringLiteral("File Output Error"));
        QCOMPARE(message.style, MessageStyle::Critical);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        QCOMPARE(readFile(path("old.theme")), QByteArray("old"));
    }

    void newResetsEverySlot()
    {
        TestEditor ed;
        for (int i = 0; i < ColorSlotCount; i += 2) {
            tick(ed, i);
            pick(ed, i, 0x102030 + i);
        }
        pick(ed, 1, 0x0000FF);               // Picked, unticked
        tick(ed, 30);
        ed.slots().SizeBox(30)->setText("");
        ed.editor().txtThemeName->setText("Gone");

        ed.action("mnuNew")->trigger();
        for (int i = 0; i < SlotCount; ++i) {
            QCOMPARE(ed.slots().Value(i), 0);
            QCOMPARE(ed.slots().s[i]->Tag(), QString());
            QCOMPARE(ed.slots().s[i]->BackColor(), UnsetColor);
        }
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Theme Name"));
        for (QLineEdit* box : ed.slots().sizeBox)
            QCOMPARE(box->text(), QStringLiteral("12"));
        QVERIFY(!ed.editor().ImportLines.IsDimensioned());
        QVERIFY(ed.messages->Shown().isEmpty());

        // The Picked slot stays out of the file when ticked again.
        ed.action("mnuNew")->trigger();      // twice is the same as once
        tick(ed, 1);
        ed.editor().txtThemeName->setText("After");
        save(ed, path("after.theme"));
        QCOMPARE(readFile(path("after.theme")), QByteArray("name=After\r\n"));
    }

    void newAfterImportEmptiesLinesKeepingTheirNumber()
    {
        writeFile(path("three.theme"), "name=A\r\nx=1\r\ny=2\r\n");
        TestEditor ed;
        ed.cd->AnswerFile(path("three.theme"));
        ed.action("mnuImport")->trigger();
        QCOMPARE(ed.editor().ImportLines.UBound(), 2);
        ed.action("mnuNew")->trigger();
        QCOMPARE(ed.editor().ImportLines.Items(), QList<QString>(3));
    }

    void saveRightAfterNewIsRefused()
    {
        TestEditor ed;
        ed.editor().txtThemeName->setText("Something");
        ed.action("mnuNew")->trigger();
        save(ed, path("new.theme"));
        QCOMPARE(ed.messages->Shown(), QList<FakeMessageBox::Message>{NoName});
    }
};

OVEX_TEST_MAIN(SaveTest)
#include "tst_save.moc"
