// Line breaks and characters Windows-1252 cannot hold never reach the theme
// name or a size box, however the text arrives, so a saved value always stays
// on its own line and as it was typed; what is left out is said at the box.
#include "TestSupport.h"

#include "slots/ThemeText.h"

#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolTip>
#include <QUndoStack>

using namespace ovex;
using ovex::test::TestEditor;

class ThemeTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void removedOrJoined_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::addColumn<QStringList>("leftOut");
        QTest::newRow("trailing LF") << "Night\n" << "Night" << QStringList{};
        QTest::newRow("leading and trailing") << "\r\n\nNight\r" << "Night" << QStringList{};
        QTest::newRow("inner CR LF") << "Night\r\nOwl" << "Night Owl" << QStringList{};
        QTest::newRow("inner mixed run") << "a\n\r\r\nb\nc" << "a b c" << QStringList{};
        QTest::newRow("inner CR alone") << "Night\rOwl" << "Night Owl" << QStringList{};
        QTest::newRow("CR alone around") << "\rNight\r\r" << "Night" << QStringList{};
        QTest::newRow("blanks stay") << " a \n b " << " a   b " << QStringList{};
        QTest::newRow("only breaks") << "\r\n\r\n" << "" << QStringList{};
        QTest::newRow("none") << "Night Owl" << "Night Owl" << QStringList{};
        // Windows-1252 beyond Latin-1 stays; the rest goes, each named once.
        QTest::newRow("Windows-1252") << "\u0152uvre \u20AC \u0081" << "\u0152uvre \u20AC \u0081" << QStringList{};
        QTest::newRow("CJK and an emoji") << "\u6D77\u6D0B Deep\r\nSea \U0001F30A\u6D77" << " Deep Sea "
                                          << QStringList{"\u6D77", "\u6D0B", "\U0001F30A"};
        const QChar high(0xD800), low(0xDC00);
        QTest::newRow("lone surrogates") << QString(u'a') + high + u'b' + low << "ab" << QStringList{high, low};
        QTest::newRow("Latin Extended-A outside the code page") << "\u0100\u0153" << "\u0153" << QStringList{"\u0100"};
    }
    void removedOrJoined()
    {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        QFETCH(QStringList, leftOut);
        QStringList out;
        QCOMPARE(ThemeLineText(text, &out), clean);
        QCOMPARE(out, leftOut);
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
        QTest::newRow("after a pair left out") << "a\U0001F30Ab" << 3 << "ab" << 1;
        QTest::newRow("before a pair left out") << "a\U0001F30Ab" << 1 << "ab" << 1;
    }
    void cursorFollows()
    {
        QFETCH(QString, text);
        QFETCH(int, pos);
        QFETCH(QString, clean);
        QFETCH(int, cleanPos);
        const ThemeTextFilter filter;
        QCOMPARE(filter.validate(text, pos), QValidator::Acceptable);
        QCOMPARE(text, clean);
        QCOMPARE(pos, cleanPos);
    }

    // The note names what was left out, a character that shows nothing by its
    // number, and at most eight.
    void note()
    {
        QCOMPARE(LeftOutNote({QStringLiteral("\U0001F30A")}), QStringLiteral("Left out, as a theme file cannot hold it: \U0001F30A (U+1F30A)"));
        QStringList many{QStringLiteral("\u200D"), QStringLiteral("\u0301")};
        for (char16_t c = u'\u4E00'; many.size() < 10; ++c)
            many << QString(QChar(c));
        QCOMPARE(LeftOutNote(many), QStringLiteral("Left out, as a theme file cannot hold them: U+200D, U+0301, \u4E00 (U+4E00), "
                                                   "\u4E01 (U+4E01), \u4E02 (U+4E02), \u4E03 (U+4E03), \u4E04 (U+4E04), "
                                                   "\u4E05 (U+4E05), and 2 more"));
    }

    // Typed as an input method delivers it: the box keeps its text, its tool
    // tip and accessible description name what was left out (and a tool tip
    // shows it at once) until an edit leaves nothing out. No undo step.
    void leftOutSaidAtTheBox()
    {
        TestEditor ed;
        QVERIFY(ovex::test::ShowActive(ed.window.get()));
        for (QLineEdit* box : {ed.editor().txtThemeName, ed.slots().SizeBox(30)}) {
            const QString before = box->text();
            box->setFocus();
            box->end(false);
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("\u6D77\U0001F30A"), Qt::NoModifier);
            QCOMPARE(box->text(), before);
            const QString note = QStringLiteral("Left out, as a theme file cannot hold them: \u6D77 (U+6D77), \U0001F30A (U+1F30A)");
            QCOMPARE(box->toolTip(), note);
            QCOMPARE(box->accessibleDescription(), note);
            QTRY_COMPARE(QToolTip::text(), note);
            QCOMPARE(ed->undoStack().index(), 0);
            QTest::keyClicks(box, "4");
            QCOMPARE(box->text(), before + u'4');
            QCOMPARE(box->toolTip(), QString());
            QCOMPARE(box->accessibleDescription(), QString());
            ed->undoStack().undo();
        }
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
        QGuiApplication::clipboard()->setText(QStringLiteral("\r\nOwl\u6D77\r\n"));
        name->paste();
        QCOMPARE(name->text(), QStringLiteral("Night Owl"));
        QCOMPARE(name->cursorPosition(), 9);

        QMimeData text;
        text.setText(QStringLiteral("1\r\n4\U0001F30A"));
        user->clear();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(user, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(user, &drop);
        QCOMPARE(user->text(), QStringLiteral("1 4"));

        ed.slots().SizeBox(27)->setText(QStringLiteral("\n10\u0100\n"));
        QTemporaryDir dir;
        ed.cd->AnswerFile(dir.filePath(QStringLiteral("n.theme")));
        ed.action(QStringLiteral("mnuSave"))->trigger();
        QFile saved(dir.filePath(QStringLiteral("n.theme")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("name=Night Owl\r\nfontsize.system=10\r\nfontsize.user=1 4\r\n"));
    }
};

OVEX_TEST_MAIN(ThemeTextTest)
#include "tst_themetext.moc"
