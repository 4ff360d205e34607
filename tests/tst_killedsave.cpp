// A save killed (SIGKILL) at any moment leaves the target holding either the
// complete old or the complete new content, and no temporary file behind.
#include "KilledSaveContent.h"

#include "fileio/FileWriter.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/vfs.h>
#include <sched.h>

#include <chrono>
#include <thread>

using namespace ovex::test;

namespace {

constexpr long Ext4Magic = 0xEF53;
constexpr long TmpfsMagic = 0x01021994;

// Mounts are private to this process (see main), so they vanish with it.
bool g_canMount = false;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString describe(const QByteArray& bytes)
{
    return QStringLiteral("%1 bytes starting \"%2\"").arg(bytes.size()).arg(QString::fromLatin1(bytes.left(16)));
}

} // namespace

class KilledSaveTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_base;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_base.isValid()); }

    void killedMidSave_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("tmpfs");
        QTest::addColumn<int>("rounds");
        QTest::newRow("WriteWholeFile, temp folder") << "writer" << false << 200;
        QTest::newRow("IO_CreateFile2, temp folder") << "editor" << false << 40;
        QTest::newRow("WriteWholeFile, tmpfs") << "writer" << true << 40;
    }

    void killedMidSave()
    {
        QFETCH(QString, mode);
        QFETCH(bool, tmpfs);
        QFETCH(int, rounds);

        const QString dirPath = m_base.filePath(QStringLiteral("%1-%2").arg(mode).arg(tmpfs));
        QVERIFY(QDir().mkpath(dirPath));
        if (tmpfs) {
            if (!g_canMount)
                QSKIP("cannot mount a tmpfs here (needs root in a private mount namespace)");
            QCOMPARE(::mount("tmpfs", QFile::encodeName(dirPath).constData(), "tmpfs", 0, "size=16m"), 0);
        }
        struct statfs fs {};
        QCOMPARE(::statfs(QFile::encodeName(dirPath).constData(), &fs), 0);
        if (fs.f_type != Ext4Magic && fs.f_type != TmpfsMagic)
            QSKIP("the temp folder is neither ext4 nor tmpfs: a killed save may leave a named temporary file there");

        const QByteArray contents[2] = {KilledSaveBytes('A'), KilledSaveBytes('B')};
        const QString target = QDir(dirPath).filePath(QStringLiteral("killed.theme"));
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(contents[0]), contents[0].size());
        }

        QRandomGenerator random(20240607);
        int sawA = 0;
        int sawB = 0;
        int strays = 0;
        for (int round = 0; round < rounds; ++round) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QStringLiteral(OVEX_SAVECHILD), {mode, target});
            QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
            QVERIFY2(child.waitForReadyRead(60000), "the child never got ready");
            const QByteArray ready = child.readLine().trimmed();
            QVERIFY2(ready.startsWith("ready "), ready.constData());
            const qint64 perSave = std::max<qint64>(ready.mid(6).toLongLong(), 1);

            // Anywhere within the next three saves: opening, writing,
            // syncing, renaming, or between two saves.
            const auto delay = std::chrono::microseconds(random.bounded(perSave * 3));
            std::this_thread::sleep_for(delay);
            QCOMPARE(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            const QByteArray now = readAll(target);
            if (now == contents[0])
                ++sawA;
            else if (now == contents[1])
                ++sawB;
            else
                QFAIL(qPrintable(QStringLiteral("round %1: the target holds %2").arg(round).arg(describe(now))));
            // A kill between naming the new file and renaming it leaves that
            // one name, which the next save clears: never more than one.
            QStringList left = QDir(dirPath).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
            left.removeOne(QStringLiteral("killed.theme"));
            if (left.size() == 1 && left[0].startsWith(QStringLiteral(".ovex-save-")) && left[0].endsWith(QStringLiteral(".tmp")))
                ++strays;
            else
                QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("round %1 left: %2").arg(round).arg(left.join(u' '))));
        }
        qInfo("%s: %d kills, old/new content found %d/%d times, a stray name %d times", QTest::currentDataTag(),
              rounds, sawA, sawB, strays);

        // A save that completes clears a stray name.
        QCOMPARE(ovex::WriteWholeFile(target, contents[0]), std::nullopt);
        QCOMPARE(QDir(dirPath).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("killed.theme")});
        // Both outcomes must occur, or the kills did not land at varied moments.
        QVERIFY(sawA > 0);
        QVERIFY(sawB > 0);
        if (tmpfs)
            QCOMPARE(::umount(QFile::encodeName(dirPath).constData()), 0);
    }
};

int main(int argc, char** argv)
{
    // A mount namespace of our own, before any thread starts (unshare needs
    // that), so that a tmpfs mounted here is never seen outside.
    g_canMount = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QCoreApplication app(argc, argv);
    KilledSaveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killedsave.moc"
