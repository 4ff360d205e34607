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
    void drop_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        const QString notATheme = QStringLiteral("Sorry! You must select a valid theme file.");
        QTest::newRow("x.theme") << QStringList{"x.theme"} << true << QString();
        QTest::newRow("x.THEME") << QStringList{"x.THEME"} << true << notATheme;
        QTest::newRow("x.txt") << QStringList{"x.txt"} << true << notATheme;
        QTest::newRow("two files") << QStringList{"x.theme", "y.theme"} << false << QString();
    }

    void drop()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        TestEditor ed;
        ed.editor().txtThemeName->setText("Before");
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& file : files) {
            QFile f(m_dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("name=Dropped\r\nmenubackground=255,0,0\r\n") > 0);
            urls << QUrl::fromLocalFile(f.fileName());
        }
        mime.setUrls(urls);
        const QPoint at = ed->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QCoreApplication::sendEvent(ed.window.get(), &enter);
        QCOMPARE(enter.isAccepted(), accepted);
        // Even a drop the drag was refused for changes nothing.
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ed.window.get(), &drop);
        QCoreApplication::processEvents();

        const bool imported = accepted && message.isEmpty();
        QCOMPARE(ed.editor().txtThemeName->text(), imported ? QStringLiteral("Dropped") : QStringLiteral("Before"));
        QCOMPARE(ed.slots().Value(19), imported ? 1 : 0);
        QCOMPARE(ed.messages->Shown().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(ed.messages->Shown().first().text, message);
        QVERIFY(ed.cd->History().isEmpty());   // the open dialog never shows
    }

private:
    QTemporaryDir m_dir;
};

OVEX_TEST_MAIN(FileDropTest)
#include "tst_filedrop.moc"
