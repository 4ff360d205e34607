// A save that the system refuses shows "File Output Error" with the reason,
// shows no success, and leaves the old file and its folder as they were.
#include "TestSupport.h"
#include "TreeSnapshot.h"

#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <climits>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sched.h>
#include <unistd.h>

using namespace ovex;
using ovex::test::TestEditor;

namespace {

// Mounts are private to this process (see main), so they vanish with it.
bool g_canMount = false;

const QByteArray OldContent = "name=Old\r\ncontrol=1,2,3\r\n";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList g_mounts;

bool mountTmpfs(const QString& dir, const char* options)
{
    if (!g_canMount || !QDir().mkpath(dir)
        || ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options) != 0)
        return false;
    g_mounts << dir;
    return true;
}

// Sets up one fault in an empty folder and returns the path to save to, or
// an empty text with a reason to skip in *skip. *undo, if set, lifts the
// fault after the save.
struct Fault
{
    std::function<QString(const QString& dir, QString* skip, std::function<void()>* undo)> make;
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class DiskFaultsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_base;
    int m_row = 0;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_base.isValid()); }
    // Before the temporary folder goes, or it cannot be removed.
    void cleanupTestCase()
    {
        for (const QString& dir : std::as_const(g_mounts))
            ::umount2(QFile::encodeName(dir).constData(), MNT_DETACH);
    }

    void refusedSave_data()
    {
        QTest::addColumn<Fault>("fault");

        QTest::newRow("disk full (small tmpfs)") << Fault{[](const QString& dir, QString* skip, auto*) {
            const QString mount = dir + QStringLiteral("/full");
            if (!mountTmpfs(mount, "size=64k")) {
                *skip = QStringLiteral("cannot mount a tmpfs here; the file size limit row covers a full disk");
                return QString();
            }
            const QString target = mount + QStringLiteral("/Night.theme");
            writeFile(target, OldContent);
            // Fill what is left, a page at a time, until the system says no.
            QFile filler(mount + QStringLiteral("/filler"));
            if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                qFatal("cannot create the filler");
            const QByteArray page(4096, 'f');
            while (filler.write(page) == page.size()) {
            }
            return target;
        }};

        QTest::newRow("file size limit (RLIMIT_FSIZE)") << Fault{[](const QString& dir, QString*, auto* undo) {
            const QString target = dir + QStringLiteral("/Night.theme");
            writeFile(target, OldContent);
            // Beyond the limit a write fails with EFBIG instead of raising
            // SIGXFSZ, which would end the test.
            struct rlimit old {};
            ::getrlimit(RLIMIT_FSIZE, &old);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit small = old;
            small.rlim_cur = 16;  // shorter than the new file
            if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
                qFatal("cannot set RLIMIT_FSIZE");
            *undo = [old, oldHandler] {
                ::setrlimit(RLIMIT_FSIZE, &old);
                std::signal(SIGXFSZ, oldHandler);
            };
            return target;
        }};

        QTest::newRow("read-only folder") << Fault{[](const QString& dir, QString* skip, auto*) {
            const QString folder = dir + QStringLiteral("/ro");
            const QString target = folder + QStringLiteral("/Night.theme");
            if (::geteuid() != 0) {
                QDir().mkpath(folder);
                writeFile(target, OldContent);
                QFile::setPermissions(target, QFile::ReadOwner);
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
                return target;
            }
            // Root passes over permission bits; a read-only mount stops it.
            if (!mountTmpfs(folder, "size=64k")) {
                *skip = QStringLiteral("running as root without a way to mount read-only: no honest check");
                return QString();
            }
            writeFile(target, OldContent);
            if (::mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                qFatal("cannot remount read-only");
            return target;
        }};

        QTest::newRow("missing folder") << Fault{[](const QString& dir, QString*, auto*) {
            return dir + QStringLiteral("/missing/folder/Night.theme");
        }};

        QTest::newRow("target is a folder") << Fault{[](const QString& dir, QString*, auto*) {
            const QString target = dir + QStringLiteral("/Night.theme");
            QDir().mkpath(target);
            writeFile(target + QStringLiteral("/inside.txt"), OldContent);
            return target;
        }};

        QTest::newRow("name longer than NAME_MAX") << Fault{[](const QString& dir, QString*, auto*) {
            writeFile(dir + QStringLiteral("/Night.theme"), OldContent);
            return dir + u'/' + QString(NAME_MAX, u'n') + QStringLiteral(".theme");
        }};
    }

    void refusedSave()
    {
        QFETCH(Fault, fault);
        const QString dir = m_base.filePath(QString::number(m_row++));
        QVERIFY(QDir().mkpath(dir));

        // A theme worth keeping: a name and one picked colour.
        TestEditor ed;
        ed.find<QLineEdit>("txtThemeName")->setText(QStringLiteral("Night"));
        ed.slots().chk[19]->click();
        ed.cd->AnswerColor(255);
        ed.slots().cmd[19]->click();
        QCOMPARE(ed.slots().s[19]->Tag(), QStringLiteral("255,0,0"));

        QString skip;
        std::function<void()> undo;
        const QString target = fault.make(dir, &skip, &undo);
        if (target.isEmpty())
            QSKIP(qPrintable(skip));
        const QStringList before = test::TreeSnapshot(dir);

        ed.cd->AnswerFile(target);
        ed.action(QStringLiteral("mnuSave"))->trigger();
        if (undo)
            undo();

        const auto& shown = ed.messages->Shown();
        QCOMPARE(shown.size(), 1);
        const QString prefix = QStringLiteral("Sorry! The theme file could not be created: ");
        QVERIFY2(shown[0].text.startsWith(prefix) && shown[0].text.size() > prefix.size(),
                 qPrintable(shown[0].text));
        QCOMPARE(shown[0].title, QStringLiteral("File Output Error"));
        QCOMPARE(shown[0].style, MessageStyle::Critical);
        qInfo("%s: %s", QTest::currentDataTag(), qPrintable(shown[0].text.mid(prefix.size())));
        // The old file, the folder, and no temporary file left anywhere.
        QCOMPARE(test::TreeSnapshot(dir), before);
    }
};

int main(int argc, char** argv)
{
    // A mount namespace of our own, before any thread starts (unshare needs
    // that), so that a tmpfs mounted here is never seen outside.
    g_canMount = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QApplication app(argc, argv);
    ovex::ConfigureApplication(app);
    DiskFaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_diskfaults.moc"
