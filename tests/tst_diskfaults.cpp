// A save that the system refuses shows "File Output Error" with the reason and
// leaves the old file and its folder as they were. Unsaved work that cannot
// be kept is told once, and the editor works on.
#include "EditActions.h"
#include "TreeSnapshot.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryKeeper.h"
#include "theme/ThemeCapture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <climits>
#include <cstdio>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// This program's own path, read before unsharing: afterwards /proc/self/exe
// is resolved in the old namespace, which inside a chroot (as package builds
// run tests) names a path outside the root.
static QString selfPath()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    return n > 0 && n < ssize_t(sizeof path) ? QFile::decodeName(QByteArray(path, n)) : QString();
}
static const QString g_self = selfPath();

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

    // A theme its owner made read-only stays, although the folder would let
    // a rename replace it. Root may write any file, so as root the save runs
    // in a child that has become the unprivileged user first.
    void readOnlyTargetKept()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("Night.theme"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("name=Old\r\n") == 10);
        old.close();
        const auto own = [](const QString& path) {
            return ::geteuid() != 0 || ::chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0;
        };
        QVERIFY(own(dir.path()) && own(target) && ::chmod(QFile::encodeName(target).constData(), 0444) == 0);
        const QStringList before = TreeSnapshot(dir.path());

        QVERIFY2(QFileInfo(g_self).isExecutable(), qPrintable(g_self));
        QProcess child;
        child.start(g_self, {QStringLiteral("--save-unprivileged"), target});
        QVERIFY2(child.waitForFinished(60000), qPrintable(child.errorString()));
        if (child.exitCode() == CannotDropRoot)
            QSKIP("running as root, but cannot become the unprivileged user 65534");
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
                 QStringLiteral("Sorry! The theme file could not be created: Permission denied|File Output Error|16\n"));
        QCOMPARE(TreeSnapshot(dir.path()), before);  // same bytes, still 0444, no stray file
    }

    // Each way a copy of unsaved work cannot be kept: told once, at the
    // first failure, with the folder and the reason in plain words; the work
    // in the window stays as it is, and a copy that could not be brought up
    // to date is not left to pose as the latest work.
    void workNotKept_data()
    {
        QTest::addColumn<QString>("folder");  // in the row's folder
        QTest::addColumn<QString>("fault");   // what goes wrong after a first copy was written, if anything
        QTest::addColumn<QString>("reason");
        QTest::newRow("the state folder is a file") << "state/ovex-theme-editor" << "" << "the folder cannot be made: part of its path is a file, not a folder";
        QTest::newRow("a file in the folder's place") << "state" << "" << "it is a file, not a folder";
        QTest::newRow("disk full") << "mnt/ovex-theme-editor" << "full" << "the disk is full";
        QTest::newRow("read-only disk") << "mnt/ovex-theme-editor" << "" << "the folder cannot be made: the disk is read-only";
        QTest::newRow("copy too large") << "ovex-theme-editor" << "large" << "the theme is too large to keep (a copy holds at most 1 MiB)";
    }
    void workNotKept()
    {
        QFETCH(QString, folder);
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        const QString dir = m_base.filePath(QStringLiteral("kept ") + QString::fromLatin1(QTest::currentDataTag()));
        const QByteArray mnt = QFile::encodeName(dir + "/mnt");
        QVERIFY(QDir().mkpath(dir + "/mnt"));
        QVERIFY(fault.size() || ovex::test::WriteTestFile(dir + "/state", "not a folder"));
        if (folder.startsWith("mnt")) {
            if (!g_canMount || ::mount("tmpfs", mnt.constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("cannot mount a tmpfs here");
            QVERIFY(fault.size() || ::mount(nullptr, mnt.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        }
        QVERIFY(ovex::test::WriteTestFile(dir + "/huge.theme", "name=Huge\r\ncontrol=" + QByteArray(600000, '1') + "\r\n"));

        const QString path = dir + u'/' + folder;
        ovex::test::TestEditor ed(path);
        ovex::RecoveryKeeper& keeper = *ed->recovery();
        const auto edit = [&](const QString& script) {
            const bool done = ovex::test::PerformAll(ed, script, dir);
            keeper.WriteNow();
            keeper.Settle();
            keeper.Settle();  // the failure's message comes back queued
            return done;
        };
        ed->show();
        QVERIFY(QTest::qWaitForWindowExposed(ed.window.get()));
        QVERIFY(edit(QStringLiteral("click 0")));
        const QString live = QDir(path).entryList({"*-*.recovery"}, QDir::Files).value(0);
        QCOMPARE(live.isEmpty(), fault.isEmpty());
        if (fault == "full") {
            QFile filler(dir + "/mnt/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
            }
        }
        const QString script = fault == "large" ? QStringLiteral("import huge.theme; click 5") : QStringLiteral("click 5; type 0 Mine");
        QVERIFY(edit(script) && edit(QStringLiteral("click 7")));
        ovex::test::TestEditor plain;  // the same work where nothing is kept
        QVERIFY(ovex::test::PerformAll(plain, QStringLiteral("click 0; %1; click 7").arg(script), dir));
        QCOMPARE(ovex::CaptureTheme(ed.editor()), ovex::CaptureTheme(plain.editor()));

        const auto& messages = ed.messages->Shown();
        QCOMPARE(messages.size(), 1);
        const QString text = QStringLiteral("Sorry! Unsaved work cannot be kept in %1: %2.").arg(QDir::toNativeSeparators(path), reason);
        QVERIFY2(messages[0].text.startsWith(text) && messages[0].title == "Unsaved Work", qPrintable(messages[0].text));
        // Gone, or (the disk had room again once it went) brought up to date.
        const auto left = ovex::ReadRecoveryCopy(path + u'/' + live);
        const auto* copy = std::get_if<ovex::RecoveryCopy>(&left);
        QVERIFY(fault.isEmpty() || !copy || copy->state == ovex::CaptureTheme(ed.editor()));
        QVERIFY(!folder.startsWith("mnt") || ::umount2(mnt.constData(), MNT_DETACH) == 0);
    }

public:
    static constexpr int Nobody = 65534;
    static constexpr int CannotDropRoot = 77;
};

// The child of readOnlyTargetKept: saves the theme "Night" over path and
// prints each message it was shown as text|title|style.
static int saveAndReport(const QString& path)
{
    ovex::test::TestEditor ed;
    ed.find<QLineEdit>("txtThemeName")->setText(QStringLiteral("Night"));
    ed.cd->AnswerFile(path);
    ed.action(QStringLiteral("mnuSave"))->trigger();
    for (const auto& m : ed.messages->Shown())
        std::fputs(qPrintable(QStringLiteral("%1|%2|%3\n").arg(m.text, m.title).arg(int(m.style))), stdout);
    return 0;
}

int main(int argc, char** argv)
{
    const bool child = argc == 3 && qstrcmp(argv[1], "--save-unprivileged") == 0;
    if (child && ::geteuid() == 0) {
        const gid_t group = DiskFaultsTest::Nobody;
        const uid_t user = DiskFaultsTest::Nobody;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(group, group, group) != 0
            || ::setresuid(user, user, user) != 0)
            return DiskFaultsTest::CannotDropRoot;
    }
    QApplication app(argc, argv);
    ovex::ConfigureApplication(app);
    if (child)
        return saveAndReport(QString::fromLocal8Bit(argv[2]));
    DiskFaultsTest tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_diskfaults.moc"
