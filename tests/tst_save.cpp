// File, Save and File, New, driven through the window.
#include "TestSupport.h"

#include <QTemporaryDir>
#include <sys/stat.h>

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
        return f.open(QIODevice::ReadOnly) ? f.readAll() : "<missing>";
    }
    static void pick(TestEditor& ed, int slot, ColorValue c)
    {
        ed.cd->AnswerColor(c);
        QTest::mouseClick(ed.slots().cmd[slot], Qt::LeftButton);
    }
    static void tick(TestEditor& ed, int slot) { QTest::mouseClick(ed.slots().chk[slot], Qt::LeftButton); }
    void save(TestEditor& ed, const QString& file, const QString& theme)
    {
        ed.editor().txtThemeName->setText(theme);
        ed.cd->AnswerFile(m_dir.filePath(file));
        ed.action("mnuSave")->trigger();
    }

private Q_SLOTS:
    // The placeholder name and a cancelled dialog write nothing and leave the size slots as they were.
    void writesNothing_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QList<Msg>>("shown");
        QTest::newRow("placeholder") << false << QList<Msg>({{"Sorry! You must type in a name for your theme before the theme file will be created.", "User Input Error!", MessageStyle::Information}});
        QTest::newRow("cancel") << true << QList<Msg>();
    }
    void writesNothing()
    {
        QFETCH(bool, cancel);
        QFETCH(QList<Msg>, shown);
        TestEditor ed;
        tick(ed, 27);
        ed.slots().SizeBox(27)->setText("20");
        const QStringList before = QDir(m_dir.path()).entryList();
        if (cancel)
            ed.cd->CancelFile();
        save(ed, "refused.theme", cancel ? "Named" : "Theme Name");
        QCOMPARE(ed.messages->Shown(), shown);
        QCOMPARE(QDir(m_dir.path()).entryList(), before);
        QCOMPARE(ed.slots().s[27]->Tag(), QStringLiteral("12"));
    }
    // Exact bytes with CR LF; only ticked slots with a value text are written, in slot order.
    void savesTickedSlotsInOrder()
    {
        TestEditor ed;
        pick(ed, 26, 0xFFFFFF);
        tick(ed, 26);
        tick(ed, 0);
        pick(ed, 0, 0);
        tick(ed, 28);
        tick(ed, 3);                             // ticked, never picked
        pick(ed, 5, 0x010203);                   // picked, unticked
        ed.slots().SizeBox(28)->setText("16");   // edited after ticking
        ed.slots().SizeBox(29)->setText("40");   // unticked
        save(ed, "mix.theme", QStringLiteral(" Caf\u00e9 \u20ac\u65e5"));
        // The name box left out what Windows-1252 cannot hold: never a "?".
        QCOMPARE(read("mix.theme"), QByteArray("name= Caf\xe9 \x80\r\ncontrol=0,0,0\r\nfocuscolor=255,255,255\r\nfontsize.user=16\r\n"));
        QCOMPARE(ed.messages->Shown(), QList<Msg>({{"Success! Your theme file has now been created!", "Theme Creation Notification", MessageStyle::Information}}));
        const auto& shown = ed.cd->History().last();
        QCOMPARE(shown.filter + '|' + shown.initDir + '|' + shown.fileName,
                 QStringLiteral(".theme|\\Program Files\\ovexChat\\| Caf\u00e9 \u20ac.theme"));
    }
    void failedSaveLeavesOldFile()
    {
        TestEditor ed;
        save(ed, "old.theme", "old");
        save(ed, "no/such/x.theme", "X");
        const Msg& m = ed.messages->Shown().last();
        QVERIFY2(ed.messages->Shown().size() == 2 && m.text.startsWith("Sorry! The theme file could not be created: "), qPrintable(m.text));
        QCOMPARE(m.title + QString::number(int(m.style)), "File Output Error" + QString::number(int(MessageStyle::Critical)));
        QCOMPARE(read("old.theme"), QByteArray("name=old\r\n"));
    }
    // Saving over a theme replaces all of it without a question and keeps its permissions.
    void replacesKeepingPermissions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("0600") << 0600;
        QTest::newRow("0660") << 0660;
    }
    void replacesKeepingPermissions()
    {
        QFETCH(int, mode);
        const QString file = QStringLiteral("mode%1.theme").arg(mode, 0, 8);
        QFile old(m_dir.filePath(file));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("name=A much longer old theme\r\n") > 0);
        old.close();
        QVERIFY(::chmod(QFile::encodeName(old.fileName()).constData(), mode_t(mode)) == 0);
        TestEditor ed;
        save(ed, file, "New");
        QCOMPARE(read(file), QByteArray("name=New\r\n"));
        QCOMPARE(ed.messages->Shown().size(), 1);   // the success message, no question
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(old.fileName()).constData(), &st) == 0);
        QCOMPARE(QString::number(st.st_mode & 07777, 8), QString::number(mode, 8));
    }
    void newResetsEverything()
    {
        TestEditor ed;
        tick(ed, 2);
        pick(ed, 2, 0x102030);
        tick(ed, 30);
        pick(ed, 1, 0x0000FF);                   // picked, unticked
        ed.slots().SizeBox(30)->setText("");
        ed.action("mnuNew")->trigger();
        for (int i = 0; i < SlotCount; ++i)
            QVERIFY(ed.slots().Value(i) == 0 && ed.slots().s[i]->Tag().isEmpty() && ed.slots().s[i]->BackColor() == UnsetColor);
        for (QLineEdit* box : ed.slots().sizeBox)
            QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(ed.editor().txtThemeName->text(), QStringLiteral("Theme Name"));
        tick(ed, 1);                             // the old pick stays out of the file
        save(ed, "after.theme", "After");
        QCOMPARE(read("after.theme"), QByteArray("name=After\r\n"));
    }
};

OVEX_TEST_MAIN(SaveTest)
#include "tst_save.moc"
