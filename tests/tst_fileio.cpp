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
        QTest::newRow("LF LF is an empty line") << QByteArray("a\n\nb\n") << QStringList{"a"};
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
        // Refused whole: never a "?" in place of a character.
        for (const QString& bad : {u"a\u0100b"_s, u"\U0001F600"_s, QString(QChar(0xD800)), u"\u0080"_s})
            QVERIFY(!Cp1252_Encode(bad));
    }
    // 0x80..0x9F against the published Windows-1252 table; the five bytes it
    // leaves undefined stay the C1 controls of the same number.
    void cp1252High_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("codePoint");
        const struct { int byte, codePoint; const char* name; } table[] = {
            {0x80, 0x20AC, "euro sign"}, {0x81, 0x0081, "undefined"}, {0x82, 0x201A, "single low-9 quote"},
            {0x83, 0x0192, "f with hook"}, {0x84, 0x201E, "double low-9 quote"}, {0x85, 0x2026, "ellipsis"},
            {0x86, 0x2020, "dagger"}, {0x87, 0x2021, "double dagger"}, {0x88, 0x02C6, "circumflex accent"},
            {0x89, 0x2030, "per mille"}, {0x8A, 0x0160, "S with caron"}, {0x8B, 0x2039, "single left angle quote"},
            {0x8C, 0x0152, "ligature OE"}, {0x8D, 0x008D, "undefined"}, {0x8E, 0x017D, "Z with caron"},
            {0x8F, 0x008F, "undefined"}, {0x90, 0x0090, "undefined"}, {0x91, 0x2018, "left single quote"},
            {0x92, 0x2019, "right single quote"}, {0x93, 0x201C, "left double quote"},
            {0x94, 0x201D, "right double quote"}, {0x95, 0x2022, "bullet"}, {0x96, 0x2013, "en dash"},
            {0x97, 0x2014, "em dash"}, {0x98, 0x02DC, "small tilde"}, {0x99, 0x2122, "trade mark"},
            {0x9A, 0x0161, "s with caron"}, {0x9B, 0x203A, "single right angle quote"}, {0x9C, 0x0153, "ligature oe"},
            {0x9D, 0x009D, "undefined"}, {0x9E, 0x017E, "z with caron"}, {0x9F, 0x0178, "Y with diaeresis"},
        };
        for (const auto& row : table)
            QTest::addRow("0x%X %s", row.byte, row.name) << row.byte << row.codePoint;
    }
    void cp1252High()
    {
        QFETCH(int, byte);
        QFETCH(int, codePoint);
        const QByteArray bytes(1, char(byte));
        QCOMPARE(Cp1252_Decode(bytes), QString(QChar(codePoint)));
        QCOMPARE(Cp1252_Encode(QString(QChar(codePoint))), bytes);
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
