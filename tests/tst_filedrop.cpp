// Dropping on the main window: one local file is imported as if chosen in
// the open dialog; anything else is refused and changes nothing.
#include "TestSupport.h"

#include <QMimeData>
#include <QTemporaryDir>

using namespace ovex;
using ovex::test::TestEditor;

class FileDropTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char* name : {"x.theme", "x.THEME", "x.txt", "y.theme"}) {
            QFile f(m_dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("name=Dropped\r\nmenubackground=255,0,0\r\n");
        }
        QVERIFY(QDir(m_dir.path()).mkdir("folder.theme"));
    }

    void drop_data()
    {
        // items: file names in the test folder, web addresses, or "text:..."
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("onTextBox");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        const QString notATheme = QStringLiteral("Sorry! You must select a valid theme file.");
        QTest::newRow("x.theme") << QStringList{"x.theme"} << false << true << QString();
        QTest::newRow("x.THEME") << QStringList{"x.THEME"} << false << true << notATheme;
        QTest::newRow("x.txt") << QStringList{"x.txt"} << false << true << notATheme;
        QTest::newRow("missing") << QStringList{"gone.theme"} << false << true
                                 << QStringLiteral("Sorry! File not found in this folder.");
        QTest::newRow("two files") << QStringList{"x.theme", "y.theme"} << false << false << QString();
        QTest::newRow("one file twice") << QStringList{"x.theme", "x.theme"} << false << false << QString();
        QTest::newRow("folder") << QStringList{"folder.theme"} << false << false << QString();
        QTest::newRow("web address") << QStringList{"https://example.org/x.theme"} << false << false << QString();
        QTest::newRow("text") << QStringList{"text:x.theme"} << false << false << QString();
        // A text box passes a file on instead of pasting its name...
        QTest::newRow("x.theme on a text box") << QStringList{"x.theme"} << true << true << QString();
        QTest::newRow("two files on a text box") << QStringList{"x.theme", "y.theme"} << true << false << QString();
        // ...and still takes plain text.
        QTest::newRow("text on a text box") << QStringList{"text:Night"} << true << true << QString();
    }

    void drop()
    {
        QFETCH(QStringList, items);
        QFETCH(bool, onTextBox);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        TestEditor ed;
        ed.editor().txtThemeName->setText("Before");
        ed.cd->FileName = QStringLiteral("Before.theme");
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& item : items) {
            if (item.startsWith("text:"))
                mime.setText(item.mid(5));
            else
                urls << (item.startsWith("https:") ? QUrl(item) : QUrl::fromLocalFile(m_dir.filePath(item)));
        }
        if (!urls.isEmpty())
            mime.setUrls(urls);

        QWidget* target = onTextBox ? static_cast<QWidget*>(ed.slots().SizeBox(27)) : ed.window.get();
        const QPoint at = target->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QCoreApplication::sendEvent(target, &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        if (accepted) {
            QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
            move.ignore();
            QCoreApplication::sendEvent(target, &move);
            QVERIFY(move.isAccepted());
        }
        // Even a drop the drag was refused for changes nothing.
        QDropEvent drop(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();

        const bool imported = accepted && message.isEmpty() && !urls.isEmpty();
        QCOMPARE(ed.editor().txtThemeName->text(), imported ? QStringLiteral("Dropped") : QStringLiteral("Before"));
        QCOMPARE(ed.slots().Value(19), imported ? 1 : 0);
        QVERIFY2(!ed.slots().SizeBox(27)->text().contains(".theme"), "a file name pasted as text");
        QStringList shown;
        for (const FakeMessageBox::Message& m : ed.messages->Shown())
            shown << m.text;
        QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
        // The open dialog takes no part: it keeps its name and never shows.
        QCOMPARE(ed.cd->FileName, QStringLiteral("Before.theme"));
        QVERIFY(ed.cd->History().isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

OVEX_TEST_MAIN(FileDropTest)
#include "tst_filedrop.moc"
