// A save that the system refuses shows "File Output Error" with the reason and
// leaves the old file and its folder as they were.
#include "TestSupport.h"
#include "TreeSnapshot.h"

#include <QTemporaryDir>
#include <climits>
#include <sched.h>
#include <sys/mount.h>

// Before any thread starts (unshare needs that): mounts made here stay private.
static const bool g_canMount =
    ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;

class DiskFaultsTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_base;

private Q_SLOTS:
    void refusedSave_data()
    {
        QTest::addColumn<QString>("target");  // in the row's folder
        QTest::addColumn<int>("mountFlags");  // -1: none; else a one-page tmpfs on mnt/
        QTest::newRow("disk full") << "mnt/Night.theme" << 0;
        QTest::newRow("read-only mount") << "mnt/Night.theme" << int(MS_RDONLY);
        QTest::newRow("missing folder") << "missing/folder/Night.theme" << -1;
        QTest::newRow("target is a folder") << "folder.theme" << -1;
        QTest::newRow("name longer than NAME_MAX") << QString(NAME_MAX, u'n') + ".theme" << -1;
    }

    void refusedSave()
    {
        QFETCH(QString, target);
        QFETCH(int, mountFlags);
        const QString dir = m_base.filePath(QString::fromLatin1(QTest::currentDataTag()));
        const QByteArray mnt = QFile::encodeName(dir + "/mnt");
        QVERIFY(QDir().mkpath(dir + "/folder.theme") && QDir().mkpath(dir + "/mnt"));
        const auto writeOld = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write("name=Old\r\n") == 10;
        };
        QVERIFY(writeOld(dir + "/folder.theme/inside.theme") && writeOld(dir + "/Night.theme"));
        if (mountFlags >= 0) {
            if (!g_canMount || ::mount("tmpfs", mnt.constData(), "tmpfs", 0, "size=4k") != 0)
                QSKIP("cannot mount a tmpfs here");
            QVERIFY(writeOld(dir + "/mnt/Night.theme"));  // takes the one page: no room for the new file
            QCOMPARE(::mount(nullptr, mnt.constData(), nullptr, MS_REMOUNT | unsigned(mountFlags), nullptr), 0);
        }
        const QStringList before = TreeSnapshot(dir);

        ovex::test::TestEditor ed;
        ed.find<QLineEdit>("txtThemeName")->setText(QStringLiteral("Night"));
        ed.cd->AnswerFile(dir + u'/' + target);
        ed.action(QStringLiteral("mnuSave"))->trigger();

        const auto& shown = ed.messages->Shown();
        QCOMPARE(shown.size(), 1);
        const QString prefix = QStringLiteral("Sorry! The theme file could not be created: ");
        QVERIFY2(shown[0].text.startsWith(prefix) && shown[0].text.size() > prefix.size() // with the reason
                     && shown[0].title == "File Output Error" && shown[0].style == ovex::MessageStyle::Critical,
                 qPrintable(shown[0].title + ": " + shown[0].text));
        QCOMPARE(TreeSnapshot(dir), before);
        QVERIFY(mountFlags < 0 || ::umount(mnt.constData()) == 0);
    }
};

OVEX_TEST_MAIN(DiskFaultsTest)
#include "tst_diskfaults.moc"
