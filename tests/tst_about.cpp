// The Help menu: the About box, and the two web addresses it opens.
#include "TestSupport.h"
#include "app/WebLinks.h"
#include "app/frmAbout.h"
#include <QLabel>
#include <QPushButton>

using namespace ovex;
using ovex::test::TestEditor;
using ovex::test::visibleWindows;

// Help, About; the one box then open, or null.
static frmAbout* chooseAbout(const TestEditor& ed)
{
    ed.action("mnuAbout")->trigger();
    QList<frmAbout*> boxes;
    for (QWidget* w : visibleWindows())
        if (auto* box = qobject_cast<frmAbout*>(w))
            boxes << box;
    return boxes.size() == 1 ? boxes.first() : nullptr;
}

class HelpMenuTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void oneBoxClosedByOkEnterOrEscape()
    {
        TestEditor ed;
        ed->show();
        for (int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape)}) {   // 0: click OK
            QPointer<frmAbout> box = chooseAbout(ed);
            QVERIFY(box);
            ed->activateWindow();   // choosing About again keeps the one box, in front
            QVERIFY(QTest::qWaitForWindowActive(ed.window.get()));
            QCOMPARE(chooseAbout(ed), box.data());
            QVERIFY(QTest::qWaitForWindowActive(box.data()));
            if (key)
                QTest::keyClick(box.data(), Qt::Key(key));
            else
                QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            QTRY_VERIFY2(box.isNull(), qPrintable(QString::number(key)));
            QCOMPARE(visibleWindows(), QList<QWidget*>{ed.window.get()});
        }
    }

    // The box shows the version; closing the main window closes the box too, so the program ends.
    void closingTheMainWindowWithTheBoxOpen()
    {
        TestEditor ed;
        ed->show();
        const frmAbout* box = chooseAbout(ed);
        QVERIFY(box);
        QCOMPARE(box->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version: 1.0.5"));
        QObject guard;
        QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(-1); });
        QTimer::singleShot(0, &guard, [&] { ed->close(); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
    }

    // Each choice opens its address, backslash and all, and shows nothing else.
    void linksOpenTheirAddress()
    {
        TestEditor ed;
        ed->show();
        ed.action("mnuWebsite")->trigger();
        ed.action("mnuSupport")->trigger();
        QCOMPARE(ed.web->Opened(), QStringList({OVEX_WEBSITE, OVEX_WEBSITE "\\support.html"}));
        QVERIFY(ed.messages->Shown().isEmpty() && ed.cd->History().isEmpty());
        QCOMPARE(visibleWindows(), QList<QWidget*>{ed.window.get()});
    }

#ifdef Q_OS_LINUX
    // The desktop opener hands the text, backslash and all, to xdg-open as its one argument.
    void desktopOpenerPassesTheTextUnchanged()
    {
        QTemporaryDir bin;
        QFile script(bin.filePath("xdg-open"));
        QVERIFY(script.open(QIODevice::WriteOnly)
                && script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '%1'\n").arg(bin.filePath("got")).toUtf8()) > 0);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        DesktopWebOpener().Open(SupportAddress());
        qputenv("PATH", path);
        const auto text = [&] { QFile f(bin.filePath("got")); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); };
        QTRY_COMPARE_WITH_TIMEOUT(text(), QByteArray("1\n" OVEX_WEBSITE "\\support.html\n"), 10000);
    }
#endif
};

OVEX_TEST_MAIN(HelpMenuTest)
#include "tst_about.moc"
