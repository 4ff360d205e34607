// Help, Website and Help, Support: the two addresses and how they reach the
// desktop's opener.
#include "TestSupport.h"

#include "app/WebLinks.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

using namespace ovex;
using ovex::test::TestEditor;
using ovex::test::visibleWindows;

namespace {

// The home page as the build was configured, for checking the stored texts.
const QString ConfiguredWebsite = QStringLiteral(OVEX_WEBSITE);

// Everything a command could touch in the window.
QStringList themeState(const TestEditor& ed)
{
    QStringList state;
    for (int i = 0; i < SlotCount; ++i)
        state << QStringLiteral("%1 %2 %3 %4")
                     .arg(i)
                     .arg(ed.slots().Value(i))
                     .arg(ed.slots().s[i]->Tag())
                     .arg(ed.slots().s[i]->BackColor());
    for (QLineEdit* box : ed.slots().sizeBox)
        state << box->text();
    state << ed.editor().txtThemeName->text();
    return state;
}

// Puts a directory first on PATH for the length of a test.
class PathPrefix
{
public:
    explicit PathPrefix(const QString& dir) : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(dir) + ':' + m_old);
    }
    ~PathPrefix() { qputenv("PATH", m_old); }
    PathPrefix(const PathPrefix&) = delete;
    PathPrefix& operator=(const PathPrefix&) = delete;

private:
    QByteArray m_old;
};

} // namespace

class WebLinksTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addressesAreTheConfiguredOnes()
    {
        QCOMPARE(WebsiteAddress(), ConfiguredWebsite);
        QCOMPARE(SupportAddress(), ConfiguredWebsite + QStringLiteral("\\support.html"));
        // Scheme and host only: no path, not even a trailing slash.
        const QUrl home(WebsiteAddress(), QUrl::StrictMode);
        QVERIFY(home.isValid());
        QVERIFY(!home.scheme().isEmpty());
        QVERIFY(!home.host().isEmpty());
        QCOMPARE(home.path(), QString());
    }

    void eachChoiceOpensItsAddressOnce_data()
    {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QStringList>("opened");
        const QString home = ConfiguredWebsite;
        const QString support = ConfiguredWebsite + QStringLiteral("\\support.html");
        QTest::newRow("website") << QStringList{"mnuWebsite"} << QStringList{home};
        QTest::newRow("support") << QStringList{"mnuSupport"} << QStringList{support};
        QTest::newRow("website again and again")
            << QStringList{"mnuWebsite", "mnuWebsite", "mnuWebsite"} << QStringList{home, home, home};
        QTest::newRow("support again") << QStringList{"mnuSupport", "mnuSupport"}
                                       << QStringList{support, support};
        QTest::newRow("mixed") << QStringList{"mnuSupport", "mnuWebsite", "mnuSupport"}
                               << QStringList{support, home, support};
    }

    void eachChoiceOpensItsAddressOnce()
    {
        QFETCH(QStringList, choices);
        QFETCH(QStringList, opened);
        TestEditor ed;
        for (const QString& name : choices)
            ed.action(name)->trigger();
        QCOMPARE(ed.web->Opened(), opened);
    }

    void nothingElseChanges()
    {
        TestEditor ed;
        ed.slots().SetValue(4, 1);
        ed.slots().s[4]->SetTag(QStringLiteral("1,2,3"));
        ed.slots().s[4]->SetBackColor(0x030201);
        ed.editor().txtThemeName->setText(QStringLiteral("Night"));
        ed.slots().SizeBox(29)->setText(QStringLiteral("9"));
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        const QStringList before = themeState(ed);
        const QList<QWidget*> windowsBefore = visibleWindows();
        QSignalSpy changed(ed.window.get(), &frmMain::themeChanged);

        ed.action("mnuWebsite")->trigger();
        ed.action("mnuSupport")->trigger();

        QCOMPARE(ed.web->Opened().size(), 2);
        QCOMPARE(themeState(ed), before);
        QCOMPARE(changed.count(), 0);
        QVERIFY(ed.messages->Shown().isEmpty());
        QVERIFY(ed.cd->History().isEmpty());
        QCOMPARE(visibleWindows(), windowsBefore);
    }

#ifdef Q_OS_LINUX
    // The real opener with no xdg-open to be found: nothing is shown and the
    // editor carries on.
    void missingOpenerIsSilent()
    {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(empty.path()));
        auto messages = std::make_unique<FakeMessageBox>();
        FakeMessageBox* shown = messages.get();
        frmMain window(DesktopServices{std::make_unique<FakeCommonDialog>(), std::move(messages),
                                       std::make_unique<DesktopWebOpener>()});
        window.show();
        const QList<QWidget*> windowsBefore = visibleWindows();
        window.findChild<QAction*>("mnuWebsite")->trigger();
        window.findChild<QAction*>("mnuSupport")->trigger();
        qputenv("PATH", oldPath);
        QTest::qWait(50);
        QVERIFY(shown->Shown().isEmpty());
        QCOMPARE(visibleWindows(), windowsBefore);
        QVERIFY(window.isVisible());
    }

    // The desktop opener hands the text, backslash and all, to xdg-open as
    // its one argument, and does not wait for it.
    void desktopOpenerPassesTheTextUnchanged_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("support") << SupportAddress();
        QTest::newRow("website") << WebsiteAddress();
        QTest::newRow("blanks and quotes") << QStringLiteral("http://host.example/a b\"c'd");
    }

    void desktopOpenerPassesTheTextUnchanged()
    {
        QFETCH(QString, address);
        QTemporaryDir bin;
        QVERIFY(bin.isValid());
        const QString received = bin.filePath(QStringLiteral("received"));
        // Writes its arguments one per line, then renames, so the reader
        // never sees half a file. It lingers a little to show nobody waits,
        // but lets go of the test's output so that CTest need not wait.
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\n"
                                    "exec </dev/null >/dev/null 2>&1\n"
                                    "printf '%s\\n' \"$#\" \"$@\" > '%1.part'\n"
                                    "mv '%1.part' '%1'\n"
                                    "sleep 2\n")
                         .arg(received)
                         .toUtf8());
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        const PathPrefix path(bin.path());
        QElapsedTimer clock;
        clock.start();
        DesktopWebOpener().Open(address);
        QVERIFY2(clock.elapsed() < 1500, "the opener waited for xdg-open");

        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(received), 10000);
        QFile file(received);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        QCOMPARE(lines, QStringList({QStringLiteral("1"), address, QString()}));
    }
#endif
};

OVEX_TEST_MAIN(WebLinksTest)
#include "tst_weblinks.moc"
