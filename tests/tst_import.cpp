// File, Import, driven through the window with a scripted open dialog.
#include "TestSupport.h"

#include <QTemporaryDir>

#include <sys/stat.h>

using namespace ovex;
using ovex::test::TestEditor;

namespace {

const QString NotFound = QStringLiteral("Sorry! File not found in this folder.");
const QString NotFoundNoTheme = QStringLiteral(
    "Sorry! File not found in this folder, also, you must select a valid theme file with an *.theme extension.");
const QString NotATheme = QStringLiteral("Sorry! You must select a valid theme file.");
const QString Unreadable = QStringLiteral("Sorry! The file could not be read.");
const QString PaletteNotice = QStringLiteral(
    "Sorry! Currently the Ovex Theme Editor does not support the Primary/Secondary syntax, however, "
    "the same effects can be accomplished using some of the standard editor features...");

// The whole theme as the window holds it, one fact per line, so that a
// failing comparison shows what differs.
QString state(const TestEditor& ed)
{
    QStringList facts{"name=" + ed.editor().txtThemeName->text()};
    QStringList sizes;
    for (QLineEdit* box : ed.slots().sizeBox)
        sizes << box->text();
    facts << "sizes=" + sizes.join(u'|');
    for (int i = 0; i < SlotCount; ++i) {
        const Swatch* s = ed.slots().s[i];
        if (ed.slots().Value(i) == 1 || !s->Tag().isEmpty() || s->BackColor() != UnsetColor)
            facts << QStringLiteral("%1 %2 [%3] %4")
                         .arg(i)
                         .arg(ed.slots().Value(i) ? "ticked" : "unticked", s->Tag())
                         .arg(s->BackColor() == UnsetColor ? QStringLiteral("unset") : QString::number(s->BackColor()));
    }
    return facts.join(u'\n');
}

const QString NewState = QStringLiteral("name=Theme Name\nsizes=12|12|12|12|12");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Something to lose: an editor that is not in its start state.
void makeEdits(TestEditor& ed)
{
    ed.editor().txtThemeName->setText("Unsaved");
    ed.slots().SetValue(4, 1);
    ed.cd->AnswerColor(0x123456);
    QTest::mouseClick(ed.slots().cmd[4], Qt::LeftButton);
}

void import(TestEditor& ed, const QString& path)
{
    ed.cd->AnswerFile(path);
    ed.action("mnuImport")->trigger();
}

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void appliesLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");   // after the start state's two lines
        QTest::newRow("typical") << QByteArray("name=Night\r\nmenubackground=255,0,0\r\n")
                                 << "name=Night\n@\n19 ticked [255,0,0] 255";
        QTest::newRow("keys match whole, exactly")
            << QByteArray("controlshadow=1,2,3\r\nControl=4,5,6\r\n control=7,8,9\r\ncolour=1,1,1\r\nno equals\r\n")
            << "@\n1 ticked [1,2,3] 197121";
        QTest::newRow("empty line stops") << QByteArray("name=Blue\r\ncontrol=0,0,255\r\n\r\nmenubackground=255,0,0\r\n")
                                          << "name=Blue\n@\n0 ticked [0,0,255] 16711680";
        QTest::newRow("value keeps later =") << QByteArray("name=a=b\r\n") << "name=a=b\n@";
        QTest::newRow("later line wins") << QByteArray("control=1,0,0\r\ncontrol=0,2,0\r\n") << "@\n0 ticked [0,2,0] 512";
        QTest::newRow("red is the low byte") << QByteArray("control=255,128,0") << "@\n0 ticked [255,128,0] 33023";
        QTest::newRow("above 255 counts 255") << QByteArray("control=300,0,0") << "@\n0 ticked [300,0,0] 255";
        QTest::newRow("unreadable carries")
            << QByteArray("control=0,10,20\r\ncontrolshadow=255\r\n")
            << "@\n0 ticked [0,10,20] 1313280\n1 ticked [255] 1313535";
        QTest::newRow("empty colour value")
            << QByteArray("controlshadow=0,10,20\r\ncontrol=\r\n")
            << "@\n0 ticked [] 1313280\n1 ticked [0,10,20] 1313280";
        QTest::newRow("blanks around numbers") << QByteArray("control= 255 , 0 ,\t0") << "@\n0 ticked [ 255 , 0 ,\t0] 255";
        QTest::newRow("signs and range")
            << QByteArray("control=0,0,7\r\ncontrol=-5,+300,40000") << "@\n0 ticked [-5,+300,40000] 524032";
        QTest::newRow("not numbers") << QByteArray("control=1,2,3\r\ncontrol=0x10,1.5,1e2")
                                     << "@\n0 ticked [0x10,1.5,1e2] 197121";
        QTest::newRow("palette word in other case") << QByteArray("control=0,5,0\r\nmenubackground=Primary1")
                                                   << "@\n0 ticked [0,5,0] 1280\n19 ticked [Primary1] 1280";
        QTest::newRow("size verbatim") << QByteArray("fontsize.user=abc") << "sizes=12|abc|12|12|12\n28 ticked [12] unset";
        QTest::newRow("key loop goes on: size then name")
            << QByteArray("fontsize.system=name=X") << "name=X\nsizes=name=X|12|12|12|12\n27 ticked [12] unset";
        QTest::newRow("key loop goes on: colour then colour")
            << QByteArray("control=1,2,3,controlshadow=4,5,6")
            << "@\n0 ticked [1,2,3,controlshadow=4,5,6] 197121\n1 ticked [4,5,6,] 394500";
        QTest::newRow("byte-order mark hides the first key")
            << QByteArray("\xEF\xBB\xBFname=X\r\ncontrol=1,1,1") << "@\n0 ticked [1,1,1] 65793";
        QTest::newRow("LF and CR end lines") << QByteArray("name=L\ncontrol=1,2,3\rfocuscolor=4,5,6")
                                             << "name=L\n@\n0 ticked [1,2,3] 197121\n26 ticked [4,5,6] 394500";
        QTest::newRow("Windows-1252") << QByteArray("name=Caf\xe9\x80") << QStringLiteral("name=Caf\u00e9\u20ac\n@");
        QTest::newRow("empty file") << QByteArray() << "@";
        QTest::newRow("first line empty") << QByteArray("\r\nname=X") << "@";
    }
    void appliesLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        writeFile(path("in.theme"), content);
        TestEditor ed;
        makeEdits(ed);
        import(ed, path("in.theme"));

        // "@" stands for the start state's lines that the row leaves alone.
        if (!expected.startsWith("name="))
            expected.prepend("name=Theme Name\n");
        if (!expected.contains("sizes="))
            expected.replace("@", "sizes=12|12|12|12|12");
        expected.remove(QStringLiteral("\n@"));
        QCOMPARE(state(ed), expected);
        QVERIFY(ed.messages->Shown().isEmpty());
    }

    void paletteWordsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("colour") << QByteArray("name=Blue\r\ncontrol=1,2,3\r\nmenubackground=primary2\r\nfocuscolor=1,1,1");
        QTest::newRow("name") << QByteArray("name=secondary1");
        QTest::newRow("size") << QByteArray("fontsize.menu=primary3\r\nname=X");
        QTest::newRow("each word") << QByteArray("control=1,1,1\r\ncontrol=primary1");
        QTest::newRow("secondary3") << QByteArray("focuscolor=secondary3");
    }
    void paletteWordsAreRefused()
    {
        QFETCH(QByteArray, content);
        writeFile(path("palette.theme"), content);
        TestEditor ed;
        makeEdits(ed);
        import(ed, path("palette.theme"));
        QCOMPARE(ed.messages->Shown(),
                 QList<FakeMessageBox::Message>({{PaletteNotice, "File Support Notice", MessageStyle::Critical}}));
        QCOMPARE(state(ed), NewState);
    }

    void badChoicesLeaveTheEditorAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("upper-case extension") << "blue.THEME" << NotATheme;
        QTest::newRow("mixed-case extension") << "blue.Theme" << NotATheme;
        QTest::newRow("other extension") << "blue.txt" << NotATheme;
        QTest::newRow("missing theme") << "missing.theme" << NotFound;
        QTest::newRow("missing other") << "missing.txt" << NotFoundNoTheme;
        QTest::newRow("folder") << "folder.theme" << NotFound;
        QTest::newRow("fifo") << "fifo.theme" << NotFound;
        QTest::newRow("too big") << "big.theme" << Unreadable;
    }
    void badChoicesLeaveTheEditorAlone()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        for (const char* existing : {"blue.THEME", "blue.Theme", "blue.txt"})
            writeFile(path(existing), "name=Blue\r\n");
        QDir(m_dir.path()).mkdir("folder.theme");
        if (!QFile::exists(path("fifo.theme")))
            QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.theme")).constData(), 0600), 0);
        writeFile(path("big.theme"), "name=Big\r\n" + QByteArray(MaxReadBytes, 'x'));

        TestEditor ed;
        makeEdits(ed);
        const QString before = state(ed);
        import(ed, path(name));
        QCOMPARE(ed.messages->Shown(),
                 QList<FakeMessageBox::Message>({{message, "File Input Error", MessageStyle::Information}}));
        QCOMPARE(state(ed), before);
    }

    void cancelChangesNothing()
    {
        TestEditor ed;
        makeEdits(ed);
        const QString before = state(ed);
        ed.cd->FileName = "left by save.theme";
        ed.cd->CancelFile();
        ed.action("mnuImport")->trigger();
        QCOMPARE(state(ed), before);
        QVERIFY(ed.messages->Shown().isEmpty());
        const auto& shown = ed.cd->History().last();
        QCOMPARE(shown.kind, FakeCommonDialog::Kind::Open);
        QCOMPARE(shown.filter, QStringLiteral(".theme"));
        QCOMPARE(shown.initDir, QStringLiteral("\\Program Files\\ovexChat\\"));
        QCOMPARE(shown.fileName, QStringLiteral("left by save.theme"));
    }

    void lineLimit_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("applied");
        QTest::newRow("10000") << 10000 << true;
        QTest::newRow("10001") << 10001 << false;
    }
    void lineLimit()
    {
        QFETCH(int, lines);
        QFETCH(bool, applied);
        QByteArray content;
        for (int i = 0; i < lines - 1; ++i)
            content += "control=" + QByteArray::number(i % 256) + ",0,0\r\n";
        content += "name=Last\r\n";
        writeFile(path("many.theme"), content);
        TestEditor ed;
        import(ed, path("many.theme"));
        QCOMPARE(ed.editor().txtThemeName->text(), applied ? QStringLiteral("Last") : QStringLiteral("Theme Name"));
        QCOMPARE(ed.slots().Value(0), applied ? 1 : 0);
        QVERIFY(ed.messages->Shown().isEmpty());
    }

    // What the editor saves, it imports back, and saves again byte for byte.
    void roundTrip()
    {
        TestEditor first;
        for (int i = 0; i < SlotCount; ++i)
            first.slots().SetValue(i, 1);
        for (int i = 0; i < ColorSlotCount; ++i) {
            first.cd->AnswerColor(0x010203 * (i + 1) + i);
            QTest::mouseClick(first.slots().cmd[i], Qt::LeftButton);
        }
        const QStringList sizes{"8", "10", "x y", "0", "=3"};
        for (int k = 0; k < SizeSlotCount; ++k)
            first.slots().sizeBox[k]->setText(sizes[k]);
        first.editor().txtThemeName->setText(QStringLiteral("Round \u00e9=trip"));
        first.cd->AnswerFile(path("a.theme"));
        first.action("mnuSave")->trigger();

        TestEditor second;
        import(second, path("a.theme"));
        QCOMPARE(state(second).section(u'\n', 0, 1), state(first).section(u'\n', 0, 1));
        for (int i = 0; i < ColorSlotCount; ++i) {
            QCOMPARE(second.slots().s[i]->Tag(), first.slots().s[i]->Tag());
            QCOMPARE(second.slots().s[i]->BackColor(), first.slots().s[i]->BackColor());
        }
        second.cd->AnswerFile(path("b.theme"));
        second.action("mnuSave")->trigger();

        QFile a(path("a.theme")), b(path("b.theme"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QCOMPARE(bytes.count("\r\n"), 33);
        QCOMPARE(b.readAll(), bytes);
    }
};

OVEX_TEST_MAIN(ImportTest)
#include "tst_import.moc"
