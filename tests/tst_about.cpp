// The Help menu: the About box, and the two web addresses it opens.
#include "TestSupport.h"

#include "app/WebLinks.h"
#include "app/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace ovex;
using ovex::test::TestEditor;
using ovex::test::visibleWindows;

namespace {

QList<frmAbout*> openBoxes()
{
    QList<frmAbout*> boxes;
    for (QWidget* w : visibleWindows())
        if (auto* box = qobject_cast<frmAbout*>(w))
            boxes << box;
    return boxes;
}

// Help, About; the one box then open, or null.
frmAbout* chooseAbout(const TestEditor& ed)
{
    ed.action("mnuAbout")->trigger();
    return openBoxes().size() == 1 ? openBoxes().first() : nullptr;
}

} // namespace

class HelpMenuTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void versionLineAndTextsFit()
    {
        frmAbout box;
        QCOMPARE(box.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version: 1.0.5"));
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, label->width(), 1000), label->wordWrap() ? int(Qt::TextWordWrap) : 0, label->text());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(), qPrintable(label->text()));
        }
        const auto* ok = box.findChild<QPushButton*>("cmdOK");
        QVERIFY(ok->fontMetrics().horizontalAdvance(ok->text()) < ok->width());
    }

    void oneBoxClosedByOkEnterOrEscape_data()
    {
        QTest::addColumn<int>("key");   // 0: click OK
        QTest::newRow("OK button") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void oneBoxClosedByOkEnterOrEscape()
    {
        QFETCH(int, key);
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        // Choosing About again keeps the one box, and brings it to the front.
        ed->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ed.window.get()));
        QCOMPARE(chooseAbout(ed), box.data());
        QVERIFY(QTest::qWaitForWindowActive(box.data()));
        if (key)
            QTest::keyClick(box.data(), Qt::Key(key));
        else
            QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(openBoxes().isEmpty());
        QTRY_VERIFY(box.isNull());
    }

    // Closing the main window closes the box too, so the program ends.
    void closingTheMainWindowWithTheBoxOpen()
    {
        TestEditor ed;
        ed->show();
        QPointer<frmAbout> box = chooseAbout(ed);
        QVERIFY(box);
        QObject guard;
        QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(-1); });
        QTimer::singleShot(0, &guard, [&] { ed->close(); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY2(visibleWindows().isEmpty(), "a window was left open");
    }

    // Each choice opens its address once, and changes nothing else.
    void linksOpenTheirAddress_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("address");
        QTest::newRow("website") << "mnuWebsite" << QStringLiteral(OVEX_WEBSITE);
        QTest::newRow("support") << "mnuSupport" << QStringLiteral(OVEX_WEBSITE "\\support.html");
    }

    void linksOpenTheirAddress()
    {
        QFETCH(QString, action);
        QFETCH(QString, address);
        TestEditor ed;
        ed.slots().SetValue(4, 1);
        ed.editor().txtThemeName->setText(QStringLiteral("Night"));
        ed->show();
        const QList<QWidget*> windowsBefore = visibleWindows();
        ed.action(action)->trigger();
        ed.action(action)->trigger();
        QCOMPARE(ed.web->Opened(), QStringList({address, address}));
        QCOMPARE(ed.editor().txtThemeName->text() + QString::number(ed.slots().Value(4)), QStringLiteral("Night1"));
        QVERIFY(ed.messages->Shown().isEmpty());
        QVERIFY(ed.cd->History().isEmpty());
        QCOMPARE(visibleWindows(), windowsBefore);
    }

#ifdef Q_OS_LINUX
    // The desktop opener hands the text, backslash and all, to xdg-open as
    // its one argument.
    void desktopOpenerPassesTheTextUnchanged()
    {
        QTemporaryDir bin;
        const QString received = bin.filePath("received");
        QFile script(bin.filePath("xdg-open"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '%1'\n").arg(received).toUtf8());
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        DesktopWebOpener().Open(SupportAddress());
        qputenv("PATH", path);
        const auto text = [&] { QFile f(received); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); };
        QTRY_COMPARE_WITH_TIMEOUT(text(), QByteArray("1\n" OVEX_WEBSITE "\\support.html\n"), 10000);
    }
#endif
};

OVEX_TEST_MAIN(HelpMenuTest)
#include "tst_about.moc"
