// File, Import, driven through the window with a scripted open dialog.
#include "TestSupport.h"

#include <QTemporaryDir>

using namespace ovex;
using ovex::test::TestEditor;
using Msg = FakeMessageBox::Message;

class ImportTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString start = QStringLiteral("Theme Name;12|12|12|12|12");
    // The theme as the window holds it: name; sizes; then each slot that is not empty.
    static QString state(const TestEditor& ed)
    {
        QStringList sizes, facts{ed.editor().txtThemeName->text()};
        for (QLineEdit* box : ed.slots().sizeBox) sizes << box->text();
        facts << sizes.join(u'|');
        for (int i = 0; i < SlotCount; ++i) {
            const Swatch* s = ed.slots().s[i];
            if (ed.slots().Value(i) || !s->Tag().isEmpty() || s->BackColor() != UnsetColor)
                facts << QStringLiteral("%1%2[%3]%4").arg(i).arg(ed.slots().Value(i) ? "" : "?", s->Tag())
                             .arg(s->BackColor() == UnsetColor ? QStringLiteral("-") : QString::number(s->BackColor()));
        }
        return facts.join(u';');
    }
    // Imports into an editor that has something to lose, unless it is fresh.
    QString import(TestEditor& ed, const QByteArray& content, bool fresh = false, const QString& file = "in.theme")
    {
        if (!fresh) {
            ed.editor().txtThemeName->setText("Unsaved");
            ed.slots().SetValue(4, 1);
        }
        if (file.isEmpty()) return state(ed);
        QFile f(m_dir.filePath(file));
        if (!content.isNull() && (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())) return "unwritable";
        f.close();
        ed.cd->AnswerFile(m_dir.filePath(file));
        ed.action("mnuImport")->trigger();
        return state(ed);
    }

private Q_SLOTS:
    void appliesLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");   // ";"-separated after the start state, or the whole state
        QTest::newRow("key exactness") << QByteArray("controlshadow=1,2,3\r\nControl=4\r\n control=7\r\nno equals") << ";1[1,2,3]197121";
        QTest::newRow("empty line stops") << QByteArray("control=0,0,255\r\n\r\nmenubackground=255,0,0") << ";0[0,0,255]16711680";
        QTest::newRow("value keeps later =") << QByteArray("name=a=b") << "a=b;12|12|12|12|12";
        QTest::newRow("later line wins") << QByteArray("control=1,0,0\r\ncontrol=0,2,0\r\n") << ";0[0,2,0]512";
        QTest::newRow("red is the low byte") << QByteArray("control=255,128,0") << ";0[255,128,0]33023";
        QTest::newRow("above 255 counts 255") << QByteArray("control=300,0,0") << ";0[300,0,0]255";
        QTest::newRow("unreadable carries") << QByteArray("control=0,10,20\r\ncontrolshadow=255") << ";0[0,10,20]1313280;1[255]1313535";
        QTest::newRow("key loop: colour, colour") << QByteArray("control=1,2,3,controlshadow=4,5,6") << ";0[1,2,3,controlshadow=4,5,6]197121;1[4,5,6,]394500";
        QTest::newRow("key loop: size, name") << QByteArray("fontsize.system=name=X") << "X;name=X|12|12|12|12;27[12]-";
        QTest::newRow("BOM hides the first key") << QByteArray("\xEF\xBB\xBFname=X\r\ncontrol=1,1,1") << ";0[1,1,1]65793";
        QTest::newRow("LF and CR end lines") << QByteArray("control=1,2,3\rfocuscolor=4,5,6\ncontrol=2") << ";0[2]394498;26[4,5,6]394500";
        QTest::newRow("cp1252 name") << QByteArray("name=Caf\xe9\x80") << QStringLiteral("Caf\u00e9\u20ac;12|12|12|12|12");
        QTest::newRow("empty file") << QByteArray("") << "";
    }
    void appliesLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        TestEditor ed;
        QCOMPARE(import(ed, content), expected.isEmpty() || expected.startsWith(u';') ? start + expected : expected);
        QVERIFY(ed.messages->Shown().isEmpty());
    }
    void refusals_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QString notFound = "Sorry! File not found in this folder.", palette = "Sorry! Currently the Ovex Theme Editor does not support the "
            "Primary/Secondary syntax, however, the same effects can be accomplished using some of the standard editor features...";
        QTest::newRow("palette word, colour") << "in.theme" << QByteArray("name=B\r\ncontrol=1,2,3\r\nmenubackground=primary2") << palette;
        QTest::newRow("palette word, name") << "in.theme" << QByteArray("name=secondary1") << palette;
        QTest::newRow("upper-case extension") << "blue.THEME" << QByteArray("name=Blue") << "Sorry! You must select a valid theme file.";
        QTest::newRow("missing .theme") << "missing.theme" << QByteArray() << notFound;
        QTest::newRow("missing other") << "missing.txt" << QByteArray()
                                       << notFound.chopped(1) + ", also, you must select a valid theme file with an *.theme extension.";
        QTest::newRow("folder") << "folder.theme" << QByteArray() << notFound;
        QTest::newRow("too big") << "big.theme" << "name=Big\r\n" + QByteArray(MaxReadBytes, 'x') << "Sorry! The file could not be read.";
    }
    // A palette word empties the editor; a bad choice of file leaves it alone.
    void refusals()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QDir(m_dir.path()).mkdir("folder.theme");
        TestEditor ed;
        const bool palette = message.contains("Primary");
        const QString before = import(ed, QByteArray(), false, ""), after = import(ed, content, true, file);
        QCOMPARE(ed.messages->Shown(), QList<Msg>{Msg(message, palette ? "File Support Notice" : "File Input Error", palette ? MessageStyle::Critical : MessageStyle::Information)});
        QCOMPARE(after, palette ? start : before);
    }
    void cancelChangesNothing()
    {
        TestEditor ed;
        ed.editor().txtThemeName->setText("Unsaved");
        ed.cd->CancelFile();
        ed.action("mnuImport")->trigger();
        QCOMPARE(state(ed), QStringLiteral("Unsaved;12|12|12|12|12"));
        QVERIFY(ed.messages->Shown().isEmpty());
        QCOMPARE(ed.cd->History().last().kind, FakeCommonDialog::Kind::Open);
    }
    void lineLimit_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("expected");
        QTest::newRow("10000 applied") << 10000 << "Last;12|12|12|12|12;0[1,0,0]1";
        QTest::newRow("10001 ignored") << 10001 << start;
    }
    void lineLimit()
    {
        QFETCH(int, lines);
        QFETCH(QString, expected);
        TestEditor ed;
        QCOMPARE(import(ed, QByteArray("control=1,0,0\r\n").repeated(lines - 1) + "name=Last\r\n", true), expected);
    }
    // What the editor saves, it imports back, and saves again byte for byte.
    void roundTrip()
    {
        TestEditor first, second;
        for (int i = 0; i < SlotCount; ++i) {
            first.slots().SetValue(i, 1);
            first.cd->AnswerColor(0x010203 * (i + 1) + i);
            if (i < ColorSlotCount) QTest::mouseClick(first.slots().cmd[i], Qt::LeftButton);
        }
        for (int k = 0; k < SizeSlotCount; ++k) first.slots().sizeBox[k]->setText(QStringList{"8", "10", "x y", "0", "=3"}[k]);
        first.editor().txtThemeName->setText(QStringLiteral("Round \u00e9=trip"));
        first.cd->AnswerFile(m_dir.filePath("a.theme"));
        first.action("mnuSave")->trigger();
        QFile a(m_dir.filePath("a.theme"));
        QVERIFY(a.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QCOMPARE(bytes.count("\r\n"), 33);
        QCOMPARE(import(second, bytes, true, "b.theme").section(u';', 0, ColorSlotCount + 1), state(first).section(u';', 0, ColorSlotCount + 1));
        second.action("mnuSave")->trigger();   // the dialog answers b.theme again
        QFile b(m_dir.filePath("b.theme"));
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), bytes);
    }
};

OVEX_TEST_MAIN(ImportTest)
#include "tst_import.moc"
