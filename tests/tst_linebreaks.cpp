// Line breaks never reach the theme name or a size box, however the text
// arrives, so a saved value always stays on its own line.
#include "TestSupport.h"

#include "slots/LineBreaks.h"

#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>

using namespace ovex;
using ovex::test::TestEditor;

class LineBreaksTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void removedOrJoined_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::newRow("trailing LF") << "Night\n" << "Night";
        QTest::newRow("leading and trailing") << "\r\n\nNight\r" << "Night";
        QTest::newRow("inner CR LF") << "Night\r\nOwl" << "Night Owl";
        QTest::newRow("inner mixed run") << "a\n\r\r\nb\nc" << "a b c";
        QTest::newRow("inner CR alone") << "Night\rOwl" << "Night Owl";
        QTest::newRow("CR alone around") << "\rNight\r\r" << "Night";
        QTest::newRow("blanks stay") << " a \n b " << " a   b ";
        QTest::newRow("only breaks") << "\r\n\r\n" << "";
        QTest::newRow("none") << "Night Owl" << "Night Owl";
    }
    void removedOrJoined()
    {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        QCOMPARE(WithoutLineBreaks(text), clean);
    }

    // The cursor stays before the character it stood before; one that stood
    // inside a run of breaks lands after the space that replaces the run.
    void cursorFollows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<QString>("clean");
        QTest::addColumn<int>("cleanPos");
        QTest::newRow("before the joined word") << "Night\r\nOwl" << 7 << "Night Owl" << 6;
        QTest::newRow("inside the run") << "Night\r\nOwl" << 6 << "Night Owl" << 6;
        QTest::newRow("before the run") << "Night\r\nOwl" << 5 << "Night Owl" << 5;
        QTest::newRow("after a CR alone") << "a\rb" << 2 << "a b" << 2;
        QTest::newRow("in the joined word") << "ab\n\ncd" << 5 << "ab cd" << 4;
        QTest::newRow("after leading breaks") << "\r\nab" << 2 << "ab" << 0;
        QTest::newRow("at the end, after trailing breaks") << "ab\r\n" << 4 << "ab" << 2;
    }
    void cursorFollows()
    {
        QFETCH(QString, text);
        QFETCH(int, pos);
        QFETCH(QString, clean);
        QFETCH(int, cleanPos);
        const LineBreakFilter filter;
        QCOMPARE(filter.validate(text, pos), QValidator::Acceptable);
        QCOMPARE(text, clean);
        QCOMPARE(pos, cleanPos);
    }

    // Through the real clipboard, a text drop and setText, then Save's bytes.
    void neverReachTheFile()
    {
        TestEditor ed;
        QLineEdit* name = ed.editor().txtThemeName;
        QLineEdit* user = ed.slots().SizeBox(28);
        ed.slots().SetValue(27, 1);
        ed.slots().SetValue(28, 1);

        name->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("Night\n"));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("Night"));
        name->setCursorPosition(5);
        QGuiApplication::clipboard()->setText(QStringLiteral("\r\nOwl\r\n"));
        name->paste();
        QCOMPARE(name->text(), QStringLiteral("Night Owl"));
        QCOMPARE(name->cursorPosition(), 9);

        QMimeData text;
        text.setText(QStringLiteral("1\r\n4"));
        user->clear();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(user, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(user, &drop);
        QCOMPARE(user->text(), QStringLiteral("1 4"));

        ed.slots().SizeBox(27)->setText(QStringLiteral("\n10\n"));
        QTemporaryDir dir;
        ed.cd->AnswerFile(dir.filePath(QStringLiteral("n.theme")));
        ed.action(QStringLiteral("mnuSave"))->trigger();
        QFile saved(dir.filePath(QStringLiteral("n.theme")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("name=Night Owl\r\nfontsize.system=10\r\nfontsize.user=1 4\r\n"));
    }
};

OVEX_TEST_MAIN(LineBreaksTest)
#include "tst_linebreaks.moc"
