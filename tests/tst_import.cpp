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
    QByteArray read(const QString& name) const { QFile f(m_dir.filePath(name)); return f.open(QIODevice::ReadOnly) ? f.readAll() : "<missing>"; }
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
    // Imports `file` (written first unless `content` is null; an empty name
    // cancels the dialog) into an editor that has something to lose.
    QString import(TestEditor& ed, const QByteArray& content, const QString& file = "in.theme")
    {
        ed.editor().txtThemeName->setText("Unsaved");
        ed.slots().SetValue(4, 1);
        QFile f(m_dir.filePath(file));
        if (!content.isNull() && (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()))
            return "unwritable";
        f.close();
        if (file.isEmpty())
            ed.cd->CancelFile();
        else
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
        QTest::newRow("later line wins") << QByteArray("control=1,0,0\r\ncontrol=0,2,0\r\n") << ";0[0,2,0]512";
        QTest::newRow("red is the low byte") << QByteArray("control=255,128,0") << ";0[255,128,0]33023";
        QTest::newRow("blanks before components") << QByteArray("control=10,\t20, \t30") << ";0[10,\t20, \t30]1971210";
        QTest::newRow("above 255 counts 255") << QByteArray("control=300,0,0") << ";0[300,0,0]255";
        QTest::newRow("unreadable carries") << QByteArray("control=0,10,20\r\ncontrolshadow=255") << ";0[0,10,20]1313280;1[255]1313535";
        QTest::newRow("key loop continues") << QByteArray("control=1,2,3,controlshadow=4,5,6") << ";0[1,2,3,controlshadow=4,5,6]197121;1[4,5,6,]394500";
        QTest::newRow("10000 lines applied") << QByteArray("control=1,0,0\r\n").repeated(9999) + "name=Last\r\n" << "Last;12|12|12|12|12;0[1,0,0]1";
        QTest::newRow("10001 lines ignored") << QByteArray("control=1,0,0\r\n").repeated(10000) + "name=Last\r\n" << "";
    }
    void appliesLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        TestEditor ed;
        QCOMPARE(import(ed, content), expected.isEmpty() || expected.startsWith(u';') ? start + expected : expected);
        QVERIFY(ed.messages->Shown().isEmpty());
    }
    // A palette word empties the editor; a bad choice of file leaves it alone.
    void refusals_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QString notFound = "Sorry! File not found in this folder.";
        QTest::newRow("palette word") << "in.theme" << QByteArray("name=B\r\ncontrol=1,2,3\r\nmenubackground=primary2")
            << "Sorry! Currently the Ovex Theme Editor does not support the Primary/Secondary syntax, however, the same effects can be accomplished using some of the standard editor features...";
        QTest::newRow("upper-case extension") << "blue.THEME" << QByteArray("name=Blue") << "Sorry! You must select a valid theme file.";
        QTest::newRow("missing .theme") << "missing.theme" << QByteArray() << notFound;
        QTest::newRow("cancel") << "" << QByteArray() << "";
        QTest::newRow("missing other") << "missing.txt" << QByteArray()
                                       << notFound.chopped(1) + ", also, you must select a valid theme file with an *.theme extension.";
    }
    void refusals()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        TestEditor ed;
        const bool palette = message.contains("Primary");
        const QString after = import(ed, content, file);
        const QList<Msg> expected{Msg{message, palette ? "File Support Notice" : "File Input Error",
                                      palette ? MessageStyle::Critical : MessageStyle::Information}};
        QCOMPARE(ed.messages->Shown(), message.isEmpty() ? QList<Msg>() : expected);
        QCOMPARE(after, palette ? start : QStringLiteral("Unsaved;12|12|12|12|12;4[]-"));
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
        const QByteArray bytes = read("a.theme");
        QCOMPARE(bytes.count("\r\n"), 33);
        QCOMPARE(import(second, bytes, "b.theme").section(u';', 0, ColorSlotCount + 1), state(first).section(u';', 0, ColorSlotCount + 1));
        second.action("mnuSave")->trigger();   // the dialog answers b.theme again
        QCOMPARE(read("b.theme"), bytes);
    }
};

OVEX_TEST_MAIN(ImportTest)
#include "tst_import.moc"
