// Recovery copies: the format read back exactly and refused whole when
// anything is wrong with it, the private folder, which copies are listed,
// ended work kept once, the clean-up, and copies of editors killed at random
// moments.
#include "SampleCopy.h"
#include "TestFiles.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/KeptCopies.h"
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
        QTest::newRow("full theme, replaced by Import") << SampleCopy(1, CopyEnding::ReplacedByImport);
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

    // The copies each version wrote stay readable: seeds of the fuzzer's corpus.
    void readsCommittedCopy_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<RecoveryCopy>("copy");
        QTest::newRow("format 1") << "full.copy" << SampleCopy(1, CopyEnding::Unrecorded);
        QTest::newRow("format 2") << "full-closed.copy" << SampleCopy(1);
    }
    void readsCommittedCopy()
    {
        QFETCH(QString, file);
        QFETCH(RecoveryCopy, copy);
        const auto decoded = DecodeRecoveryCopy(ReadTestFile(QStringLiteral(OVEX_FUZZ_DIR "/corpus/recovery/") + file));
        QVERIFY(std::holds_alternative<RecoveryCopy>(decoded));
        QCOMPARE(std::get<RecoveryCopy>(decoded), copy);
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
        QByteArray ending = good;
        ending[10] = 9;
        QTest::newRow("empty") << QByteArray() << CopyDefect::Truncated;
        QTest::newRow("half the magic") << good.left(4) << CopyDefect::Truncated;
        QTest::newRow("header cut") << good.left(Body - 1) << CopyDefect::Truncated;
        QTest::newRow("last byte missing") << good.chopped(1) << CopyDefect::Truncated;
        QTest::newRow("a byte more") << good + 'x' << CopyDefect::Damaged;
        QTest::newRow("a theme file") << QByteArray("name=Night\r\ncontrol=1,2,3\r\n") << CopyDefect::Foreign;
        QTest::newRow("version 3") << WithVersion(good, 3) << CopyDefect::FutureVersion;
        QTest::newRow("version 0") << WithVersion(good, 0) << CopyDefect::Damaged;
        QTest::newRow("over 1 MiB") << good + QByteArray(MaxRecoveryCopyBytes, '\0') << CopyDefect::Oversized;
        // Sealed again: checksum right, content no writer makes.
        QTest::newRow("unknown ending") << sealed(ending) << CopyDefect::Malformed;
        QTest::newRow("format 1 with a flag") << WithVersion(good, 1) << CopyDefect::Malformed;
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
        const auto written = store.Keep(SampleCopy(1));
        const auto rewritten = store.Keep(SampleCopy(2));
        ::umask(umask);

        QCOMPARE(store.Problem().has_value(), mode < 0);
        QCOMPARE(modeOf(folder), mode < 0 ? before : mode);
        if (mode < 0) {
            QVERIFY(written && rewritten && *written == store.Problem());
            return;
        }
        QVERIFY(!written && !rewritten);
        if (kind == "missing")
            QCOMPARE(modeOf(rowFolder() + "/state"), 0700);
        QCOMPARE(modeOf(store.LivePath()), 0600);
    }

    // ------------------------------------------------------------ the list

    // How an entry says when its work last changed, and its name.
    void entryTexts_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("text");
        const QDateTime now(QDate(2026, 12, 7), QTime(15, 40, 12));
        QTest::addColumn<QDateTime>("now");
        QTest::newRow("today") << QDateTime(QDate(2026, 12, 7), QTime(0, 5, 59)) << "Today 00:05" << now;
        QTest::newRow("yesterday") << QDateTime(QDate(2026, 12, 6), QTime(23, 59)) << "Yesterday 23:59" << now;
        QTest::newRow("earlier") << QDateTime(QDate(2026, 12, 5), QTime(12, 0)) << QLocale::c().toString(QDate(2026, 12, 5), QLocale::ShortFormat) << now;
        QTest::newRow("ahead of the clock") << QDateTime(QDate(2027, 1, 1), QTime(12, 0)) << QLocale::c().toString(QDate(2027, 1, 1), QLocale::ShortFormat) << now;
    }
    void entryTexts()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, text);
        QFETCH(QDateTime, now);
        const QLocale locale;
        QLocale::setDefault(QLocale::c());  // whose short time has seconds
        const QString got = EntryWhen(when.toMSecsSinceEpoch(), now);
        QLocale::setDefault(locale);
        QCOMPARE(got, text);
        QCOMPARE(EntryName(QString()), QStringLiteral("(no name)"));
        QCOMPARE(EntryName(QStringLiteral("a\nb\tc")), QStringLiteral("a b c"));
        const QString longName = QString(79, u'n') + QChar(0xD83D) + QChar(0xDE00) + u'x';
        QCOMPARE(EntryName(longName), QString(79, u'n') + u'\u2026');
    }

    // Copies as "kind:time[:state]": ended work (ended), the live copy of an
    // editor killed (killed) or running (alive), damaged (bad), from a newer
    // editor (future) or of format 1 (old). The state is the time's unless given.
    void list_data()
    {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("listed");  // times, newest first
        QTest::newRow("none") << "" << "";
        QTest::newRow("ended work, newest first") << "ended:5 ended:9 ended:7" << "9 7 5";
        QTest::newRow("times before 1970 and far ahead") << "ended:4000000000000 ended:-5" << "4000000000000 -5";
        QTest::newRow("a killed editor's work") << "killed:9 ended:5" << "9 5";
        QTest::newRow("a running editor's work") << "alive:9 ended:5" << "5";
        QTest::newRow("worked on by a running editor") << "alive:9:5 ended:5 ended:7" << "7";
        QTest::newRow("the same state twice: the newer") << "ended:5:1 killed:8:1 ended:3" << "8 3";
        QTest::newRow("damaged, newer editor's") << "bad:9 future:8 ended:5" << "5";
        QTest::newRow("format 1") << "old:9 ended:5" << "9 5";
    }
    void list()
    {
        QFETCH(QString, copies);
        QFETCH(QString, listed);
        const QString folder = rowFolder();
        std::vector<std::unique_ptr<RecoveryStore>> running;
        for (const QString& copy : copies.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList part = copy.split(u':');
            const QString kind = part[0];
            RecoveryCopy made = SampleCopy(part[1].toLongLong());
            made.state = SampleCopy(part.value(2, part[1]).toLongLong()).state;
            if (kind == "alive" || kind == "killed") {
                made.ending = CopyEnding::Open;
                auto store = std::make_unique<RecoveryStore>(folder);
                QVERIFY(!store->Keep(made));
                if (kind == "alive")
                    running.push_back(std::move(store));
                continue;
            }
            const QString path = EndedCopy(folder, made);
            QVERIFY(!path.isEmpty());
            if (kind == "bad" || kind == "future" || kind == "old") {
                QByteArray bytes = ReadTestFile(path);
                bytes = kind == "bad" ? bytes.replace(bytes.size() - 1, 1, "?")
                                      : WithVersion(kind == "old" ? WithEnding(bytes, 0) : bytes, kind == "old" ? 1 : RecoveryFormatVersion + 1);
                QVERIFY(WriteTestFile(path, bytes));
            }
        }
        const RecoveryStore store(folder);
        store.TakeInLeftCopies();
        QStringList times;
        for (const KeptCopy& entry : ListKeptCopies(folder)) {
            times << QString::number(entry.copy.changedAtMs);
            QCOMPARE(entry.copy.state, SampleCopy(entry.copy.changedAtMs == 8 ? 1 : entry.copy.changedAtMs).state);
            QCOMPARE(entry.path, QDir(folder).filePath(KeptCopyName(entry.copy.state)));
        }
        QCOMPARE(times.join(u' '), listed);
    }

    // Ended work is kept under its state's name: the same state again keeps
    // the newer time; saving a state or discarding its copy removes it, and
    // nothing else.
    void endedWork()
    {
        const QString folder = m_base.filePath(QStringLiteral("ended"));
        const RecoveryStore store(folder);
        QCOMPARE(store.Keep(SampleCopy(5, CopyEnding::Open)), std::nullopt);
        QCOMPARE(store.End(SampleCopy(5, CopyEnding::ReplacedByNew)), std::nullopt);
        QVERIFY(!QFile::exists(store.LivePath()) && QFile::exists(store.LivePath() + ".lock"));
        const QString kept = QDir(folder).filePath(KeptCopyName(SampleCopy(5).state));
        QCOMPARE(std::get<RecoveryCopy>(ReadRecoveryCopy(kept)), SampleCopy(5, CopyEnding::ReplacedByNew));
        RecoveryCopy same = SampleCopy(5);
        for (const qint64 at : {4, 7, 6}) {
            same.changedAtMs = at;
            QCOMPARE(store.End(same), std::nullopt);
        }
        same.changedAtMs = 7;
        QCOMPARE(ListKeptCopies(folder), (QList<KeptCopy>{{kept, same}}));
        QCOMPARE(modeOf(kept), 0600);

        QVERIFY(EndedCopy(folder, SampleCopy(6)).size());
        store.RemoveSaved(SampleCopy(7).state);
        store.Discard(folder + QStringLiteral("/../ended/") + QFileInfo(store.LivePath()).fileName());
        QCOMPARE(ListKeptCopies(folder).size(), 2);
        store.RemoveSaved(SampleCopy(5).state);
        store.Discard(QDir(folder).filePath(KeptCopyName(SampleCopy(6).state)));
        QCOMPARE(ListKeptCopies(folder), QList<KeptCopy>());
    }

    // Looking at the folder and cleaning it up take no lock of one's own,
    // and sync nothing; the first write takes the lock (private, as the
    // copies are), and from then on the live copy is this store's.
    void lockTakenByFirstWrite()
    {
        const QString folder = m_base.filePath(QStringLiteral("first-write"));
        const RecoveryStore store(folder);
        const RecoveryStore other(folder);
        QCOMPARE(store.TakeInLeftCopies(), 0);
        QCOMPARE(store.RemoveStale(QDateTime::currentMSecsSinceEpoch()), 0);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(store.Keep(SampleCopy(1)), std::nullopt);
        QCOMPARE(modeOf(store.LivePath() + ".lock"), 0600);
        QCOMPARE(other.TakeInLeftCopies(), 0);
        QCOMPARE(other.RemoveStale(QDateTime::currentMSecsSinceEpoch() + 31 * Day), 0);
        QVERIFY(QFile::exists(store.LivePath()));
    }

    // A live copy that cannot be replaced goes, so that no copy poses as the
    // latest work; the reason is in the user's words.
    void refusedWriteRemovesLiveCopy()
    {
        const RecoveryStore store(m_base.filePath(QStringLiteral("refused")));
        QCOMPARE(store.Keep(SampleCopy(1)), std::nullopt);
        RecoveryCopy huge = SampleCopy(2);
        huge.state.name = QString(MaxRecoveryCopyBytes, u'n');
        QCOMPARE(store.Keep(huge), QStringLiteral("the theme is too large to keep (a copy holds at most 1 MiB)"));
        QVERIFY(!QFile::exists(store.LivePath()));
    }

    // ------------------------------------------------------------ clean-up

    void removeStale_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("ageMs");
        QTest::addColumn<bool>("removed");
        const qint64 old = 31 * Day, young = 29 * Day, minutes = 11 * 60 * 1000;
        QTest::newRow("ended, 29 days") << "ended" << young << false;
        QTest::newRow("ended, 31 days") << "ended" << old << true;
        QTest::newRow("killed editor's, 29 days") << "killed" << young << false;
        QTest::newRow("killed editor's, 31 days") << "killed" << old << true;
        QTest::newRow("running, 31 days") << "alive" << old << false;
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
        QVERIFY(!keeper.Keep(SampleCopy(5)));  // its own copy and lock stay
        std::unique_ptr<RecoveryStore> running;
        QString path = QDir(folder).filePath(kind.section(u' ', 0, 0));
        if (kind.startsWith(u'x') || kind.startsWith(u'.') || kind.startsWith(u'n')) {
            if (kind.endsWith("alive")) {  // a store whose copy went: its work was saved
                running = std::make_unique<RecoveryStore>(folder);
                QVERIFY(!running->Keep(SampleCopy(1)));
                running->RemoveLive();
                path = running->LivePath() + ".lock";
            } else {
                QVERIFY(kind.endsWith("stale") ? lockOf(path, 999999999)  // no such process
                        : kind.endsWith("live") ? lockOf(path, QCoreApplication::applicationPid()) : WriteTestFile(path, ""));
            }
        } else if (kind == "alive" || kind == "killed") {
            running = std::make_unique<RecoveryStore>(folder);
            QVERIFY(!running->Keep(SampleCopy(1)));
            path = running->LivePath();
            if (kind == "killed")
                running.reset();
        } else if (kind == "link") {
            const QString target = EndedCopy(m_base.path(), SampleCopy(1));
            QVERIFY(Age(target, ageMs) && QFile::link(target, path += ".recovery"));
        } else {
            path = EndedCopy(folder, SampleCopy(1));
            const QByteArray native = QFile::encodeName(path);
            QVERIFY((kind != "bad" || WriteTestFile(path, "damaged")) && (kind != "other" || ::chown(native.constData(), 65534, 65534) == 0));
        }
        QVERIFY(!QFileInfo(path).isSymLink() ? Age(path, ageMs) : true);
        const int count = keeper.RemoveStale(QDateTime::currentMSecsSinceEpoch());
        QCOMPARE(!QFileInfo(path).exists() && !QFileInfo(path).isSymLink(), removed);
        QCOMPARE(count, int(removed));
        QVERIFY(QFile::exists(keeper.LivePath()) && QFile::exists(keeper.LivePath() + ".lock"));
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
            QCOMPARE(RecoveryStore(folder).TakeInLeftCopies(), 0);
            QVERIFY(QFile::exists(childCopy));
            const qint64 perWrite = std::max<qint64>(ready[2].toLongLong(), 1);
            std::this_thread::sleep_for(std::chrono::nanoseconds(random.bounded(perWrite * 3)));
            QCOMPARE(::kill(pid_t(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));

            QCOMPARE(RecoveryStore(folder).TakeInLeftCopies(), 1);
            QVERIFY(!QFile::exists(childCopy));
            const QList<KeptCopy> kept = ListKeptCopies(folder);
            QVERIFY(!kept.isEmpty());
            const RecoveryCopy& left = kept.first().copy;  // the newest
            QCOMPARE(left, SampleCopy(left.changedAtMs, CopyEnding::Open));
            QVERIFY(left.changedAtMs >= base);
            writesDone << left.changedAtMs - base;
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
            if (const auto failure = store.Keep(SampleCopy(base + n, CopyEnding::Open)))
                qFatal("%s", qPrintable(*failure));
            if (n == 2)
                std::printf("ready %s %lld\n", qPrintable(store.LivePath()), timer.nsecsElapsed() / 3), std::fflush(stdout);
        }
    }
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
