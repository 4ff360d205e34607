// Reading theme files line by line, Windows-1252 text and the string arrays.
#include "fileio/Cp1252.h"
#include "fileio/MRW_File_IO.h"
#include "fileio/MRW_Import.h"
#include "fileio/MRW_Memory.h"
#include <QTemporaryDir>
#include <QtTest>
#include <numeric>
#include <sys/stat.h>
using namespace ovex;
using namespace Qt::StringLiterals;

class FileIoTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    FileSystemObject m_fs;
    QString write(const QString& name, const QByteArray& bytes, qint64 size = 0)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.resize(std::max<qint64>(size, bytes.size())))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
private Q_SLOTS:
    void readLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");   // none: counts 0, array kept
        QStringList many(10000);
        for (int i = 0; i < 10000; ++i)
            many[i] = u"line%1"_s.arg(i + 1);
        const QByteArray manyBytes = many.join(u"\r\n"_s).toLatin1() + "\r\n";
        QTest::newRow("CRLF, LF, CR, last without end") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("blanks line, stops at empty") << QByteArray("a\n   \nb\r\n\r\nc") << QStringList{"a", "   ", "b"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("first line empty") << QByteArray("\r\na\r\n") << QStringList{};
        QTest::newRow("10000") << manyBytes << many;
        QTest::newRow("10001") << manyBytes + "x\r\n" << QStringList{};
    }
    void readLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const QString path = write(u"lines.theme"_s, bytes);
        QCOMPARE(Import_CountLines(m_fs, path), lines.size());
        StringArray array;
        QVERIFY(Mem_Resize(array, 0));
        array[0] = u"old"_s;
        QCOMPARE(Import_ReadLines(m_fs, path, array), !lines.isEmpty());
        QCOMPARE(array.Items(), lines.isEmpty() ? QStringList{u"old"_s} : lines);
    }
    void refusedPaths_data()   // a FIFO would block, a device never ends; nothing may be created
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("accepted");
        const QString fifo = m_dir.filePath(u"fifo"_s), zero = m_dir.filePath(u"zero"_s);
        QVERIFY(QDir(m_dir.path()).mkdir(u"folder"_s) && QFile::link(u"/dev/zero"_s, zero));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::newRow("missing") << m_dir.filePath(u"missing"_s) << false;
        QTest::newRow("folder") << m_dir.filePath(u"folder"_s) << false;
        QTest::newRow("FIFO") << fifo << false;
        QTest::newRow("symlink to /dev/zero") << zero << false;
        QTest::newRow("over MaxReadBytes") << write(u"over"_s, "a\r\n", MaxReadBytes + 1) << false;
        QTest::newRow("exactly MaxReadBytes") << write(u"at"_s, "a\r\n", MaxReadBytes) << true;
    }
    void refusedPaths()
    {
        QFETCH(QString, path);
        QFETCH(bool, accepted);
        const bool onDisk = QFileInfo::exists(path);
        // Ends reads that would never end; 16 MiB takes seconds in a sanitizer build on a busy machine.
        const QDeadlineTimer deadline(20000);
        const auto bytes = m_fs.ReadAllBytes(path);
        QCOMPARE(qint64(bytes ? bytes->size() : -1), accepted ? MaxReadBytes : -1);
        QCOMPARE(Import_CountLines(m_fs, path), accepted ? 2 : 0);   // "a" and the NULs
        QCOMPARE(QFileInfo::exists(path), onDisk);
        QVERIFY(!deadline.hasExpired());
    }
    void cp1252()
    {
        QByteArray all(256, 0);
        std::iota(all.begin(), all.end(), char(0));
        const QString text = Cp1252_Decode(all);
        QCOMPARE(text.mid(0x7F, 4), u"\u007F\u20AC\u0081\u201A"_s);   // not Latin-1
        QCOMPARE(Cp1252_Encode(text), all);
        QCOMPARE(Cp1252_Encode(u"\u0080a\u0100b\U0001F600"_s), QByteArray("?a?b?"));
    }
    void memResizeAndCount()
    {
        StringArray array;
        QVERIFY(!Mem_Count(array) && !Mem_Resize(array, -1) && !array.IsDimensioned());
        QVERIFY(Mem_Resize(array, 31) && Mem_Count(array) == 32);
        array[31] = u"x"_s;
        QVERIFY(!Mem_Resize(array, -1) && array[31] == u"x"_s);   // refused: contents kept
    }
};
QTEST_GUILESS_MAIN(FileIoTest)
#include "tst_fileio.moc"
