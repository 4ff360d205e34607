// File, Save and File, New, driven through the window.
#include "TestSupport.h"

#include <QTemporaryDir>

using namespace ovex;
using ovex::test::TestEditor;
using Msg = FakeMessageBox::Message;

class SaveTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QByteArray read(const QString& name) const
    {
        QFile f(m_dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void pick(TestEditor& ed, int slot, ColorValue c) { ed.cd->AnswerColor(c); QTest::mouseClick(ed.slots().cmd[slot], Qt::LeftButton); }
    static void tick(TestEditor& ed, int slot) { QTest::mouseClick(ed.slots().chk[slot], Qt::LeftButton); }
    void save(TestEditor& ed, const QString& file, const QString& theme)
    {
        ed.editor().txtThemeName->setText(theme);
        ed.cd->AnswerFile(m_dir.filePath(file));
        ed.action("mnuSave")->trigger();
    }

private Q_SLOTS:
    void savesNameAsTyped_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("typical") << "Night" << QByteArray("name=Night");
        QTest::newRow("other case, blanks") << " theme name " << QByteArray("name= theme name ");
        QTest::newRow("empty") << "" << QByteArray("name=");
        QTest::newRow("cp1252") << QStringLiteral("Caf\u00e9 \u20ac") << QByteArray("name=Caf\xe9 \x80");
        QTest::newRow("outside code page") << QStringLiteral("\u65e5\U0001F600x") << QByteArray("name=??x");
    }
    void savesNameAsTyped()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, line);
        TestEditor ed;
        tick(ed, 19);
        pick(ed, 19, 0x0000FF);
        save(ed, "Night.theme", name);
        QCOMPARE(read("Night.theme"), line + "\r\nmenubackground=255,0,0\r\n");
        QCOMPARE(ed.messages->Shown(), QList<Msg>({{"Success! Your theme file has now been created!", "Theme Creation Notification", MessageStyle::Information}}));
        const auto& shown = ed.cd->History().last();
        QCOMPARE(shown.kind, FakeCommonDialog::Kind::Save);
        QCOMPARE(shown.filter + shown.initDir + shown.fileName, ".theme\\Program Files\\ovexChat\\" + name + ".theme");
    }
    void placeholderNameIsRefused()
    {
        TestEditor ed;
        tick(ed, 27);
        ed.slots().SizeBox(27)->setText("20");
        save(ed, "refused.theme", "Theme Name");
        QCOMPARE(ed.messages->Shown(), QList<Msg>({{"Sorry! You must type in a name for your theme before the theme file will be created.", "User Input Error!", MessageStyle::Information}}));
        QVERIFY(!QFile::exists(m_dir.filePath("refused.theme")));
        QCOMPARE(ed.slots().s[27]->Tag(), QStringLiteral("12"));   // not refreshed
    }
    // Only ticked slots with a value text are written, in slot order.
    void slotSelectionAndOrder()
    {
        TestEditor ed;
        pick(ed, 26, 0xFFFFFF);
        tick(ed, 26);
        tick(ed, 3);                             // ticked, never picked
        pick(ed, 5, 0x010203);                   // picked, unticked
        tick(ed, 0);
        pick(ed, 0, 0);
        tick(ed, 28);
        ed.slots().SizeBox(28)->setText("16");   // edited after ticking
        ed.slots().SizeBox(29)->setText("40");   // unticked
        save(ed, "mix.theme", "Mix");
        QCOMPARE(read("mix.theme"), QByteArray("name=Mix\r\ncontrol=0,0,0\r\nfocuscolor=255,255,255\r\nfontsize.user=16\r\n"));
    }
    void failedSaveLeavesOldFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << "no/such/x.theme";
        QTest::newRow("target is a folder") << "isfolder.theme";
    }
    void failedSaveLeavesOldFile()
    {
        QFETCH(QString, target);
        QDir(m_dir.path()).mkdir("isfolder.theme");
        TestEditor ed;
        save(ed, "old.theme", "old");
        save(ed, target, "X");
        const Msg& m = ed.messages->Shown().last();
        QVERIFY2(ed.messages->Shown().size() == 2 && m.text.startsWith("Sorry! The theme file could not be created: "), qPrintable(m.text));
        QCOMPARE(m.title, QStringLiteral("File Output Error"));
        QCOMPARE(m.style, MessageStyle::Critical);
        QCOMPARE(read("old.theme"), QByteArray("name=old\r\n"));
        QVERIFY(QFileInfo(m_dir.filePath("isfolder.theme")).isDir());
    }
    void newResetsEverything()
    {
        TestEditor ed;
        tick(ed, 2);
        pick(ed, 2, 0x102030);
        pick(ed, 1, 0x0000FF);                   // picked, unticked
        tick(ed, 30);
        ed.slots().SizeBox(30)->setText("");
        ed.editor().txtThemeName->setText("Gone");
        ed.action("mnuNew")->trigger();
        for (int i = 0; i < SlotCount; ++i)
            QVERIFY(ed.slots().Value(i) == 0 && ed.slots().s[i]->Tag().isEmpty() && ed.slots().s[i]->BackColor() == UnsetColor);
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Theme Name"));
        for (QLineEdit* box : ed.slots().sizeBox)
            QCOMPARE(box->text(), QStringLiteral("12"));
        tick(ed, 1);                             // the old pick stays out of the file
        save(ed, "after.theme", "After");
        QCOMPARE(read("after.theme"), QByteArray("name=After\r\n"));
    }
    void cancelWritesNothing()
    {
        TestEditor ed;
        ed.slots().SizeBox(28)->setText("30");
        const QStringList before = QDir(m_dir.path()).entryList();
        ed.cd->CancelFile();
        ed.action("mnuSave")->trigger();
        QVERIFY(ed.messages->Shown().isEmpty());
        QCOMPARE(ed.slots().s[28]->Tag(), QString());
        QCOMPARE(QDir(m_dir.path()).entryList(), before);
    }
};

OVEX_TEST_MAIN(SaveTest)
#include "tst_save.moc"
