// Recovery copies: the format read back exactly and refused whole when
// anything is wrong with it, the private folder, which copy is offered,
// adopting and cleaning up, and copies of editors killed at random moments.
#include "SampleCopy.h"
#include "TestFiles.h"
#include "theme/RecoveryFolder.h"
#include <QDateTime>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <climits>
#include <cstdio>
#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace ovex;
using namespace ovex::test;
Q_DECLARE_METATYPE(ovex::RecoveryCopy)
Q_DECLARE_METATYPE(ovex::CopyDefect)

namespace {
constexpr qint64 Day = 24 * 60 * 60 * 1000;
constexpr qsizetype Body = RecoveryHeaderBytes;  // where the first slot's tick is

QByteArray sealed(QByteArray bytes) { return SealRecoveryCopy(bytes), bytes; }
int modeOf(const QString& path) { struct stat st {}; return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1; }
// A lock as QLockFile writes it for process pid, without holding it.
bool lockOf(const QString& path, qint64 pid) {
    return WriteTestFile(path, QByteArray::number(pid) + '\n' + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8()
                               + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n'
                               + QSysInfo::bootUniqueId() + '\n');
}
} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_base;

    QString rowFolder() const { return m_base.filePath(QString::fromLatin1(QTest::currentDataTag())); }

private Q_SLOTS:
    // ------------------------------------------------------------ format

    void roundTrip_data()
    {
        QTest::addColumn<RecoveryCopy>("copy");
        QTest::newRow("a new editor") << RecoveryCopy{};
        QTest::newRow("full theme, clean") << SampleCopy(1, true);
        QTest::newRow("unticked colours, lone surrogates") << SampleCopy(2);
        RecoveryCopy extremes = SampleCopy(3);
        extremes.changedAtMs = LLONG_MIN;
        extremes.state.slots[0].color = INT_MIN;
        extremes.state.slots[1].color = INT_MAX;
        extremes.state.slots[2].tag.clear();
        extremes.state.name = QString(70000, QChar(0xFFFF));
        QTest::newRow("extremes") << extremes;
    }
    void roundTrip()
    {
        QFETCH(RecoveryCopy, copy);
        const QByteArray bytes = Encoded(copy);
        const auto decoded = DecodeRecoveryCopy(bytes);
        QVERIFY(std::holds_alternative<RecoveryCopy>(decoded));
        QCOMPARE(std::get<RecoveryCopy>(decoded), copy);
    }

    // The copies this version wrote stay readable: a seed of the fuzzer's corpus.
    void readsCommittedCopy()
    {
        QFile file(QStringLiteral(OVEX_FUZZ_DIR "/corpus/recovery/full.copy"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto decoded = DecodeRecoveryCopy(file.readAll());
        QVERIFY(std::holds_alternative<RecoveryCopy>(decoded));
        QCOMPARE(std::get<RecoveryCopy>(decoded), SampleCopy(1));
    }

    void everyBitFlipIsRefused()
    {
        const QByteArray good = Encoded(SampleCopy(4));
        for (qsizetype at = 0; at < good.size(); ++at)
            for (int bit = 0; bit < 8; ++bit) {
                QByteArray bad = good;
                bad[at] = char(bad[at] ^ (1 << bit));
                QVERIFY2(std::holds_alternative<CopyDefect>(DecodeRecoveryCopy(bad)), qPrintable(QString::number(at)));
            }
    }

    void defects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<CopyDefect>("defect");
        const QByteArray good = Encoded(SampleCopy(5));
        QByteArray body = good;
        body[Body] = 2;  // a tick of 2
        QByteArray longText = good;
        qToLittleEndian(quint32(good.size()), longText.data() + Body + 5);
        QByteArray flags = good;
        flags[10] = 3;
        QTest::newRow("empty") << QByteArray() << CopyDefect::Truncated;
        QTest::newRow("half the magic") << good.left(4) << CopyDefect::Truncated;
        QTest::newRow("header cut") << good.left(Body - 1) << CopyDefect::Truncated;
        QTest::newRow("last byte missing") << good.chopped(1) << CopyDefect::Truncated;
        QTest::newRow("a byte more") << good + 'x' << CopyDefect::Damaged;
        QTest::newRow("a theme file") << QByteArray("name=Night\r\ncontrol=1,2,3\r\n") << CopyDefect::Foreign;
        QTest::newRow("version 2") << WithVersion(good, 2) << CopyDefect::FutureVersion;
        QTest::newRow("version 0") << WithVersion(good, 0) << CopyDefect::Damaged;
        QTest::newRow("over 1 MiB") << good + QByteArray(MaxRecoveryCopyBytes, '\0') << CopyDefect::Oversized;
        // Sealed again: checksum right, content no writer makes.
        QTest::newRow("unknown flag") << sealed(flags) << CopyDefect::Malformed;
        QTest::newRow("tick of 2") << sealed(body) << CopyDefect::Malformed;
        QTest::newRow("text longer than the copy") << sealed(longText) << CopyDefect::Malformed;
        QTest::newRow("bytes after the last text") << sealed(good + "xy") << CopyDefect::Malformed;
    }
    void defects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(CopyDefect, defect);
        const auto decoded = DecodeRecoveryCopy(bytes);
        QVERIFY(std::holds_alternative<CopyDefect>(decoded));
        QCOMPARE(std::get<CopyDefect>(decoded), defect);
    }

    void sizeLimit()
    {
        RecoveryCopy copy = SampleCopy(6);
        copy.state.name += QString((MaxRecoveryCopyBytes - Encoded(copy).size()) / 2, u'n');
        QCOMPARE(Encoded(copy).size(), MaxRecoveryCopyBytes);
        QVERIFY(std::holds_alternative<RecoveryCopy>(DecodeRecoveryCopy(Encoded(copy))));
        copy.state.sizes[0] += u'1';
        QCOMPARE(EncodeRecoveryCopy(copy), std::nullopt);
    }

    // ------------------------------------------------------------ folder

    void folder_data()
    {
        QTest::addColumn<QByteArray>("stateHome");
        QTest::addColumn<QString>("folder");
        const QString fallback = QStringLiteral("/home/u/.local/state/ovex-theme-editor");
        QTest::newRow("absolute") << QByteArray("/srv/state/") << QStringLiteral("/srv/state/ovex-theme-editor");
        QTest::newRow("relative") << QByteArray("state") << fallback;
        QTest::newRow("empty") << QByteArray("") << fallback;
    }
    void folder()
    {
        QFETCH(QByteArray, stateHome);
        QFETCH(QString, folder);
        const QByteArray oldHome = qgetenv("HOME"), oldState = qgetenv("XDG_STATE_HOME");
        const bool hadState = qEnvironmentVariableIsSet("XDG_STATE_HOME");
        qputenv("HOME", "/home/u");
        qputenv("XDG_STATE_HOME", stateHome);
        const QString got = RecoveryFolder();
        qputenv("HOME", oldHome);
        hadState ? qputenv("XDG_STATE_HOME", oldState) : qunsetenv("XDG_STATE_HOME");
        QCOMPARE(got, folder);
    }

    void privateFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("mode");  // the folder's afterwards; -1: refused
        QTest::newRow("missing, with its parents") << "missing" << 0700;
        QTest::newRow("existing, open to all") << "0777" << 0700;
        QTest::newRow("existing, private") << "0700" << 0700;
        QTest::newRow("another user's") << "other" << -1;
        QTest::newRow("a file in its place") << "file" << -1;
    }
    void privateFolder()
    {
        QFETCH(QString, kind);
        QFETCH(int, mode);
        const QString folder = rowFolder() + QStringLiteral("/state/ovex-theme-editor");
        if (kind == "other" && ::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        if (kind == "file")
            QVERIFY(QDir().mkpath(rowFolder() + "/state") && WriteTestFile(folder, "x"));
        else if (kind != "missing")
            QVERIFY(QDir().mkpath(folder) && ::chmod(QFile::encodeName(folder).constData(), 0777) == 0
                    && (kind != "other" || ::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0)
                    && (kind != "0700" || ::chmod(QFile::encodeName(folder).constData(), 0700) == 0));
        const int before = modeOf(folder);
        const mode_t umask = ::umask(0);  // so that only the code makes anything private
        RecoveryStore store(folder);
        const auto written = store.Write(SampleCopy(1));
        const auto rewritten = store.Write(SampleCopy(2));
        ::umask(umask);

        QCOMPARE(store.Problem().has_value(), mode < 0);
        QCOMPARE(modeOf(folder), mode < 0 ? before : mode);
        if (mode < 0) {
            QVERIFY(written && rewritten && !store.FindOffer());
            return;
        }
        QVERIFY(!written && !rewritten);
        if (kind == "missing")
            QCOMPARE(modeOf(rowFolder() + "/state"), 0700);
        QCOMPARE(modeOf(store.CopyPath()), 0600);
    }

    // ------------------------------------------------------------ offers

    // Copies as "kind:time": left by a closed editor (dead), a running one
    // (alive), clean, damaged (bad) or from a newer editor (future).
    void offer_data()
    {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<qint64>("offered");  // its time; -1: none
        QTest::newRow("none") << "" << qint64(-1);
        QTest::newRow("a closed editor's") << "dead:5" << qint64(5);
        QTest::newRow("the latest change") << "dead:5 dead:9 dead:7" << qint64(9);
        QTest::newRow("times before 1970 and far ahead") << "dead:4000000000000 dead:-5" << qint64(4000000000000);
        QTest::newRow("latest running") << "alive:9 dead:5" << qint64(5);
        QTest::newRow("latest clean") << "clean:9 dead:5" << qint64(5);
        QTest::newRow("latest damaged") << "bad:9 dead:5" << qint64(5);
        QTest::newRow("latest from a newer editor") << "future:9 dead:5" << qint64(5);
    }
    void offer()
    {
        QFETCH(QString, copies);
        QFETCH(qint64, offered);
        const QString folder = rowFolder();
        std::vector<std::unique_ptr<RecoveryStore>> running;
        for (const QString& copy : copies.split(u' ', Qt::SkipEmptyParts)) {
            const QString kind = copy.section(u':', 0, 0);
            auto store = std::make_unique<RecoveryStore>(folder);
            QVERIFY(!store->Write(SampleCopy(copy.section(u':', 1).toLongLong(), kind == "clean")));
            QFile file(store->CopyPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QByteArray bytes = file.readAll();
            if (kind == "bad" || kind == "future")
                bytes = kind == "bad" ? bytes.replace(bytes.size() - 1, 1, "?") : WithVersion(bytes, 2);
            QVERIFY(file.resize(0) && file.write(bytes) == bytes.size());
            if (kind == "alive")
                running.push_back(std::move(store));
        }
        const RecoveryStore store(folder);
        const std::optional<RecoveryOffer> offer = store.FindOffer();
        QCOMPARE(offer ? offer->Copy().changedAtMs : -1, offered);
        if (offer)
            QCOMPARE(offer->Copy(), SampleCopy(offered));
    }

    // An offer keeps the copy from other editors until it is dropped or
    // adopted; adopted, it is that editor's own copy.
    void offerHeldThenAdopted()
    {
        const QString folder = m_base.filePath(QStringLiteral("adopt"));
        const QString left = ClosedEditorCopy(folder, SampleCopy(1));
        QVERIFY(!left.isEmpty());
        auto b = std::make_unique<RecoveryStore>(folder);
        const RecoveryStore c(folder);
        std::optional<RecoveryOffer> offer = b->FindOffer();
        QVERIFY(offer && offer->Path() == left);
        QVERIFY(!c.FindOffer());
        offer.reset();
        QVERIFY(c.FindOffer());

        QCOMPARE(b->Write(SampleCopy(7)), std::nullopt);  // b's own edits before the recovery
        QCOMPARE(b->Adopt(b->FindOffer().value()), std::nullopt);
        QVERIFY(!QFile::exists(left) && !QFile::exists(left + ".lock"));
        QCOMPARE(std::get<RecoveryCopy>(ReadRecoveryCopy(b->CopyPath())), SampleCopy(1));
        QVERIFY(!c.FindOffer());  // b runs

        // Closed with the work unsaved, b's copy is offered; removed, it is not.
        const QString adopted = b->CopyPath();
        b.reset();
        QCOMPARE(c.FindOffer().value().Path(), adopted);
        const RecoveryStore d(folder);
        QCOMPARE(d.Adopt(d.FindOffer().value()), std::nullopt);
        d.Remove();
        QVERIFY(!c.FindOffer());
        // c has kept nothing and holds no lock; d holds its own.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(d.CopyPath()).fileName() + ".lock"});
    }

    // Looking for an offer and cleaning up take no lock of one's own, and
    // sync nothing; the first write takes the lock, and from then on the
    // copy is this store's.
    void lockTakenByFirstWrite()
    {
        const QString folder = m_base.filePath(QStringLiteral("first-write"));
        const RecoveryStore store(folder);
        const RecoveryStore other(folder);
        QVERIFY(!store.FindOffer());
        QCOMPARE(store.RemoveStale(QDateTime::currentMSecsSinceEpoch()), 0);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(store.Write(SampleCopy(1)), std::nullopt);
        QVERIFY(QFile::exists(store.CopyPath() + ".lock"));
        QVERIFY(!other.FindOffer());
        QCOMPARE(other.RemoveStale(QDateTime::currentMSecsSinceEpoch() + 31 * Day), 0);
        QVERIFY(QFile::exists(store.CopyPath()));
    }

    void refusedWriteKeepsOldCopy()
    {
        const RecoveryStore store(m_base.filePath(QStringLiteral("refused")));
        QCOMPARE(store.Write(SampleCopy(1)), std::nullopt);
        RecoveryCopy huge = SampleCopy(2);
        huge.state.name = QString(MaxRecoveryCopyBytes, u'n');
        QVERIFY(store.Write(huge));
        QCOMPARE(std::get<RecoveryCopy>(ReadRecoveryCopy(store.CopyPath())), SampleCopy(1));
    }

    // ------------------------------------------------------------ clean-up

    void removeStale_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("ageMs");
        QTest::addColumn<bool>("removed");
        const qint64 old = 31 * Day, young = 29 * Day, minutes = 11 * 60 * 1000;
        QTest::newRow("closed, unclean") << "dead" << young << false;
        QTest::newRow("closed, clean") << "clean" << qint64(0) << true;
        QTest::newRow("closed, unclean, 31 days") << "dead" << old << true;
        QTest::newRow("running, clean") << "alive clean" << qint64(0) << false;
        QTest::newRow("running, unclean, 31 days") << "alive" << old << false;
        QTest::newRow("offered, 31 days") << "offered" << old << false;
        QTest::newRow("damaged") << "bad" << young << false;
        QTest::newRow("damaged, 31 days") << "bad" << old << true;
        QTest::newRow("link, 31 days") << "link" << old << false;
        QTest::newRow("another user's, 31 days") << "other" << old << false;
        QTest::newRow("stale lock, no copy") << "x.recovery.lock stale" << qint64(0) << true;
        QTest::newRow("running editor's lock, no copy") << "x.recovery.lock alive" << old << false;
        QTest::newRow("running process's lock, no copy, 31 days") << "x.recovery.lock live" << old << false;
        QTest::newRow("empty lock, no copy, 11 minutes") << "x.recovery.lock" << minutes << true;
        QTest::newRow("empty lock, no copy, new") << "x.recovery.lock" << qint64(0) << false;
        QTest::newRow("temporary file, 11 minutes") << ".ovex-save-0123456789abcdef.tmp" << minutes << true;
        QTest::newRow("temporary file, new") << ".ovex-save-0123456789abcdef.tmp" << qint64(0) << false;
        QTest::newRow("lock removal lock, 11 minutes") << "x.recovery.lock.rmlock" << minutes << true;
        QTest::newRow("another file, 31 days") << "notes.txt" << old << false;
    }
    void removeStale()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, ageMs);
        QFETCH(bool, removed);
        const QString folder = rowFolder();
        if (kind == "other" && ::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        const RecoveryStore keeper(folder);
        QVERIFY(!keeper.Write(SampleCopy(5)));  // its own copy and lock stay
        std::unique_ptr<RecoveryStore> running;
        std::optional<RecoveryOffer> offer;
        QString path = QDir(folder).filePath(kind.section(u' ', 0, 0));
        if (kind.startsWith(u'x') || kind.startsWith(u'.') || kind.startsWith(u'n')) {
            if (kind.endsWith("alive")) {  // a store whose copy went: its work was saved
                running = std::make_unique<RecoveryStore>(folder);
                QVERIFY(!running->Write(SampleCopy(1)));
                running->Remove();
                path = running->CopyPath() + ".lock";
            } else {
                QVERIFY(kind.endsWith("stale") ? lockOf(path, 999999999)  // no such process
                        : kind.endsWith("live") ? lockOf(path, QCoreApplication::applicationPid()) : WriteTestFile(path, ""));
            }
        } else if (kind.startsWith("alive")) {
            running = std::make_unique<RecoveryStore>(folder);
            QVERIFY(!running->Write(SampleCopy(1, kind.endsWith("clean"))));
            path = running->CopyPath();
        } else if (kind == "link") {
            const QString target = ClosedEditorCopy(m_base.path(), SampleCopy(1, true));
            QVERIFY(Age(target, ageMs) && QFile::link(target, path += ".recovery"));
        } else {
            path = ClosedEditorCopy(folder, SampleCopy(1, kind == "clean"));
            const QByteArray native = QFile::encodeName(path);
            QVERIFY((kind != "bad" || WriteTestFile(path, "damaged")) && (kind != "other" || ::chown(native.constData(), 65534, 65534) == 0));
            if (kind == "offered")
                QVERIFY((offer = keeper.FindOffer()));
        }
        QVERIFY(!QFileInfo(path).isSymLink() ? Age(path, ageMs) : true);
        const int count = keeper.RemoveStale(QDateTime::currentMSecsSinceEpoch());
        QCOMPARE(!QFileInfo(path).exists() && !QFileInfo(path).isSymLink(), removed);
        QCOMPARE(count, int(removed));
        QVERIFY(QFile::exists(keeper.CopyPath()) && QFile::exists(keeper.CopyPath() + ".lock"));
        // What a removal leaves: no lock of a closed editor.
        QVERIFY(!removed || !QFile::exists(path + ".lock"));
    }

    // ------------------------------------------------------------ killed

    // Editors killed while writing copies: each leaves its last whole copy,
    // offered once it is gone and never while it runs; the clean-up leaves
    // nothing behind in the end.
    void killedWriters()
    {
        const QString folder = m_base.filePath(QStringLiteral("killed"));
        QRandomGenerator random(20240701);
        constexpr int Rounds = 100;
        QSet<qint64> writesDone;
        for (int round = 0; round < Rounds; ++round) {
            QProcess child;
            const qint64 base = qint64(round) * 1000000;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--write-forever"), folder, QString::number(base)});
            QVERIFY2(child.waitForReadyRead(60000), "the child never got ready");
            const QList<QByteArray> ready = child.readLine().trimmed().split(' ');
            QCOMPARE(ready.size(), 3);
            const QString childCopy = QString::fromLocal8Bit(ready[1]);
            {
                const RecoveryStore store(folder);
                const auto offer = store.FindOffer();
                QVERIFY(!offer || offer->Path() != childCopy);
            }
            const qint64 perWrite = std::max<qint64>(ready[2].toLongLong(), 1);
            std::this_thread::sleep_for(std::chrono::nanoseconds(random.bounded(perWrite * 3)));
            QCOMPARE(::kill(pid_t(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));

            const RecoveryStore store(folder);
            const auto offer = store.FindOffer();
            QVERIFY(offer && offer->Path() == childCopy);
            QCOMPARE(offer->Copy(), SampleCopy(offer->Copy().changedAtMs));
            QVERIFY(offer->Copy().changedAtMs >= base);
            writesDone << offer->Copy().changedAtMs - base;
        }
        QVERIFY(writesDone.size() > 1);  // or the kills did not land at varied moments
        const QDir dir(folder);
        const QDir::Filters all = QDir::Files | QDir::Hidden | QDir::System;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        RecoveryStore(folder).RemoveStale(now);
        QCOMPARE(dir.entryList({"*.recovery"}, all).size(), Rounds);
        QCOMPARE(dir.entryList({"*.lock"}, all).size(), 0);
        RecoveryStore(folder).RemoveStale(now + 11 * 60 * 1000);  // the writes' temporary files
        QCOMPARE(dir.entryList(all).size(), Rounds);
        RecoveryStore(folder).RemoveStale(now + 31 * Day);
        QCOMPARE(dir.entryList(all), QStringList());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--write-forever") == 0) {
        // The child: writes copies until killed; after three, prints its copy's
        // path and the mean time of one write.
        const RecoveryStore store(QString::fromLocal8Bit(argv[2]));
        const qint64 base = QByteArray(argv[3]).toLongLong();
        QElapsedTimer timer;
        timer.start();
        for (qint64 n = 0;; ++n) {
            if (const auto failure = store.Write(SampleCopy(base + n)))
                qFatal("%s", qPrintable(*failure));
            if (n == 2)
                std::printf("ready %s %lld\n", qPrintable(store.CopyPath()), timer.nsecsElapsed() / 3), std::fflush(stdout);
        }
    }
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
