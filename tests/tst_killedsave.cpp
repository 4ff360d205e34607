// A save killed (SIGKILL) at any moment leaves the target holding the whole
// old or the whole new content, and at most one temporary name behind.
#include "fileio/FileWriter.h"
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <thread>

// Big enough that kills often land inside a write; any mix of the two shows.
static QByteArray content(bool b) { return QByteArray(b ? 120000 : 100000, b ? 'B' : 'A'); }

class KilledSaveTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedMidSave()
    {
        QTemporaryDir dir;
        const auto entries = [&] { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot
                                                                     | QDir::Hidden); };
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("killed.theme"));
        QCOMPARE(ovex::WriteWholeFile(target, content(false)), std::nullopt);

        QRandomGenerator random(20240607);
        int seen[2] = {0, 0};
        for (int round = 0; round < 200; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-forever"), target});
            QVERIFY2(child.waitForReadyRead(60000), "the child never got ready");
            // Anywhere within the next three saves, or between two.
            const qint64 perSave = std::max<qint64>(child.readLine().mid(6).trimmed().toLongLong(), 1);
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(perSave * 3)));
            QCOMPARE(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
            QVERIFY(child.waitForFinished(30000));

            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray now = file.readAll();
            QVERIFY2(now == content(false) || now == content(true), qPrintable(QString::number(now.size())));
            ++seen[now == content(true)];
            // A kill before the rename may leave one temporary name, which the next save clears.
            const QStringList left = entries().filter(QStringLiteral(".ovex-save-"));
            QVERIFY2(entries().size() == left.size() + 1 && left.size() <= 1, qPrintable(entries().join(u" ")));
        }
        QCOMPARE(ovex::WriteWholeFile(target, content(false)), std::nullopt);
        QCOMPARE(entries(), QStringList{QStringLiteral("killed.theme")});
        QVERIFY(seen[0] > 0 && seen[1] > 0);  // or the kills did not land at varied moments
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--save-forever") == 0) {
        // The child: saves in turn until killed; prints the mean time of one save after three.
        QElapsedTimer timer;
        timer.start();
        for (long n = 0;; ++n) {
            if (const auto failure = ovex::WriteWholeFile(QString::fromLocal8Bit(argv[2]), content(n % 2 == 0)))
                qFatal("%s", qPrintable(*failure));
            if (n == 2)
                std::printf("ready %lld\n", timer.nsecsElapsed() / 3000), std::fflush(stdout);
        }
    }
    KilledSaveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killedsave.moc"
