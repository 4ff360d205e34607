// Dropping on the main window: one local file is imported as if chosen in
// the open dialog; anything else is refused and changes nothing.
#include "TestSupport.h"

using ovex::test::TestEditor;

class FileDropTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void drop_data()
    {
        QTest::addColumn<QStringList>("files");     // a name ending in "/" is a folder holding a theme
        QTest::addColumn<QString>("message");   // "-": drag refused, "": imported
        QTest::newRow("x.theme") << QStringList{"x.theme"} << QString();
        QTest::newRow("x.THEME") << QStringList{"x.THEME"} << QStringLiteral("Sorry! You must select a valid theme file.");
        QTest::newRow("two files") << QStringList{"x.theme", "y.theme"} << QStringLiteral("-");
        QTest::newRow("a folder") << QStringList{"x.theme/"} << QStringLiteral("-");
    }

    void drop()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, message);
        TestEditor ed;
        ed.editor().txtThemeName->setText("Before");
        QTemporaryDir dir;
        QMimeData mime;
        for (const QString& file : files) {
            if (file.endsWith(u'/'))
                QVERIFY(QDir(dir.path()).mkpath(file));
            QFile f(dir.filePath(file.endsWith(u'/') ? file + "inside.theme" : file));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("name=Dropped\r\nmenubackground=255,0,0\r\n") > 0);
            mime.setUrls(mime.urls() << QUrl::fromLocalFile(dir.filePath(file)));
        }
        const QPoint at = ed->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QCoreApplication::sendEvent(ed.window.get(), &enter);
        QCOMPARE(enter.isAccepted(), message != "-");
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);   // refused or not
        QCoreApplication::sendEvent(ed.window.get(), &drop);
        QCoreApplication::processEvents();
        QCOMPARE(ed.editor().txtThemeName->text() + QString::number(ed.slots().Value(19)), message.isEmpty() ? "Dropped1" : "Before0");
        QCOMPARE(ed.messages->Shown().size(), int(message.size() > 1));
        if (message.size() > 1)
            QCOMPARE(ed.messages->Shown().first().text, message);
        QVERIFY(ed.cd->History().isEmpty());   // the open dialog never shows
    }
};

OVEX_TEST_MAIN(FileDropTest)
#include "tst_filedrop.moc"
