// Reading theme files line by line, Windows-1252 text and the string arrays.
#include "fileio/Cp1252.h"
#include "fileio/MRW_File_IO.h"
#include "fileio/MRW_Import.h"
#include "fileio/MRW_Memory.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace ovex;
using namespace Qt::StringLiterals;

namespace {

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "line" + QByteArray::number(i) + "\r\n";
    return bytes;
}

// An array that already holds something, to see whether a read replaced it.
StringArray heldArray()
{
    StringArray array;
    Mem_Resize(array, 1);
    array[0] = QStringLiteral("old");
    return array;
}

const QStringList heldItems{QStringLiteral("old"), QString()};

} // namespace

class FileIoTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    FileSystemObject m_fs;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void readsLinesUpToFirstEmptyLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");   // empty: counts 0, nothing loads

        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lone LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd\r\n") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("stops at empty line") << QByteArray("a\r\nb\r\n\r\nc\r\n") << QStringList{"a", "b"};
        QTest::newRow("empty line of lone LFs") << QByteArray("a\n\nc\n") << QStringList{"a"};
        QTest::newRow("empty line of lone CRs") << QByteArray("a\r\rc\r") << QStringList{"a"};
        QTest::newRow("line of blanks counts") << QByteArray("a\r\n   \r\nb") << QStringList{"a", "   ", "b"};
        QTest::newRow("Windows-1252") << QByteArray("\x80 caf\xe9\r\n") << QStringList{u"\u20AC caf\u00E9"_s};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("starts with empty line") << QByteArray("\r\na\r\nb\r\n") << QStringList{};
    }

    void readsLinesUpToFirstEmptyLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const QString path = write(QStringLiteral("lines.theme"), bytes);

        QVERIFY(m_fs.FileExists(path));
        QCOMPARE(Import_CountLines(m_fs, path), lines.size());
        StringArray array = heldArray();
        QCOMPARE(Import_ReadLines(m_fs, path, array), !lines.isEmpty());
        QCOMPARE(array.Items(), lines.isEmpty() ? heldItems : lines);
    }

    void lineLimit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");

        QTest::newRow("10000") << numberedLines(10000) << 10000;
        QTest::newRow("10000, last without end") << numberedLines(10000).chopped(2) << 10000;
        QTest::newRow("10000, empty, more") << numberedLines(10000) + "\r\n" + numberedLines(5) << 10000;
        QTest::newRow("10001") << numberedLines(10001) << 0;
        QTest::newRow("20000") << numberedLines(20000) << 0;
    }

    void lineLimit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        const QString path = write(QStringLiteral("many.theme"), bytes);

        QCOMPARE(Import_CountLines(m_fs, path), count);
        StringArray array = heldArray();
        QCOMPARE(Import_ReadLines(m_fs, path, array), count > 0);
        if (count == 0) {
            QCOMPARE(array.Items(), heldItems);
            return;
        }
        QCOMPARE(Mem_Count(array).value_or(-1), count);
        QCOMPARE(array[0], QStringLiteral("line1"));
        QCOMPARE(array[count - 1], QStringLiteral("line%1").arg(count));
    }

    void symlinkToFileIsFollowed()
    {
        const QString target = write(QStringLiteral("target.theme"), "name=x\r\n");
        const QString link = m_dir.filePath(QStringLiteral("link.theme"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(m_fs.FileExists(link));
        QCOMPARE(Import_CountLines(m_fs, link), 1);
    }

    // Nothing here may be read or created; a FIFO would block, a device
    // never ends.
    void refusesWhatCannotBeRead_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.theme")) << false;
        QTest::newRow("empty path") << QString() << false;
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
        QTest::newRow("folder") << m_dir.filePath(QStringLiteral("folder")) << false;
        const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::newRow("FIFO") << fifo << false;
        const QString zeroLink = m_dir.filePath(QStringLiteral("zero.theme"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zeroLink));
        QTest::newRow("symlink to /dev/zero") << zeroLink << false;
        // Root reads any file whatever its mode; a read of /proc/self/mem at
        // offset 0 fails for everyone.
        if (QFileInfo(QStringLiteral("/proc/self/mem")).isFile())
            QTest::newRow("read fails") << QStringLiteral("/proc/self/mem") << true;
        if (::geteuid() != 0) {
            const QString locked = write(QStringLiteral("locked.theme"), "name=x\r\n");
            QVERIFY(QFile::setPermissions(locked, {}));
            QTest::newRow("mode 000") << locked << true;
        }
    }

    void refusesWhatCannotBeRead()
    {
        QFETCH(QString, path);
        QFETCH(bool, exists);
        const bool onDisk = QFileInfo::exists(path);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m_fs.FileExists(path), exists);
        QVERIFY(!m_fs.ReadAllBytes(path));
        QVERIFY(!m_fs.Load(path));
        QVERIFY(!m_fs.OpenTextFile(path));
        QCOMPARE(Import_CountLines(m_fs, path), 0);
        StringArray array = heldArray();
        QVERIFY(!Import_ReadLines(m_fs, path, array));
        QCOMPARE(array.Items(), heldItems);
        QCOMPARE(QFileInfo::exists(path), onDisk);   // reading created nothing
        QVERIFY(timer.elapsed() < 5000);
    }

    void sizeBound()
    {
        QFile file(m_dir.filePath(QStringLiteral("big.theme")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("name=big\r\n") > 0);
        QVERIFY(file.resize(MaxReadBytes));
        file.close();
        const auto bytes = m_fs.ReadAllBytes(file.fileName());
        QVERIFY(bytes);
        QCOMPARE(bytes->size(), MaxReadBytes);
        QVERIFY(bytes->startsWith("name=big\r\n"));
        QCOMPARE(Import_CountLines(m_fs, file.fileName()), 2);

        QVERIFY(file.resize(MaxReadBytes + 1));
        QVERIFY(m_fs.FileExists(file.fileName()));
        QVERIFY(!m_fs.ReadAllBytes(file.fileName()));
        QCOMPARE(Import_CountLines(m_fs, file.fileName()), 0);
    }

    void cp1252_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("euro") << QByteArray("\x80") << u"\u20AC"_s;
        QTest::newRow("0x8A 0x9F") << QByteArray("\x8a\x9f") << u"\u0160\u0178"_s;
        QTest::newRow("0x91..0x94 quotes") << QByteArray("\x91\x92\x93\x94") << u"\u2018\u2019\u201C\u201D"_s;
        QTest::newRow("Latin-1 half") << QByteArray("\xa0\xe9\xff") << u"\u00A0\u00E9\u00FF"_s;
        // Bytes the code page leaves undefined round-trip as C1 controls.
        QTest::newRow("undefined bytes") << QByteArray("\x81\x8d\x8f\x90\x9d") << u"\u0081\u008D\u008F\u0090\u009D"_s;
    }

    void cp1252()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Cp1252_Decode(bytes), text);
        QCOMPARE(Cp1252_Encode(text), bytes);
    }

    void cp1252RoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Cp1252_Decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(Cp1252_Encode(text), all);
    }

    void cp1252UnknownCharacterBecomesQuestionMark_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("outside the code page") << u"a\u0100b"_s << QByteArray("a?b");
        QTest::newRow("U+0080, whose byte is the euro") << u"\u0080"_s << QByteArray("?");
        QTest::newRow("surrogate pair is one character") << u"a\U0001F600b"_s << QByteArray("a?b");
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u'x' << QByteArray("?x");
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QByteArray("?");
    }

    void cp1252UnknownCharacterBecomesQuestionMark()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp1252_Encode(text), bytes);
    }

    void memResizeAndCount()
    {
        StringArray array;
        QVERIFY(!array.IsDimensioned());
        QVERIFY(!Mem_Count(array));
        QVERIFY(!Mem_Resize(array, -1));
        QVERIFY(!array.IsDimensioned());

        QVERIFY(Mem_Resize(array, 31));
        QCOMPARE(Mem_Count(array).value_or(-1), 32);
        QCOMPARE(array.Items(), QStringList(32));
        array[0] = QStringLiteral("control=");
        array[31] = QStringLiteral("fontsize.subtext=");

        // A refused size leaves the contents alone.
        QVERIFY(!Mem_Resize(array, -1));
        QCOMPARE(Mem_Count(array).value_or(-1), 32);
        QCOMPARE(array[31], QStringLiteral("fontsize.subtext="));

        // Re-dimensioning discards everything, even to the same size.
        QVERIFY(Mem_Resize(array, 31));
        QCOMPARE(array.Items(), QStringList(32));
        array[0] = QStringLiteral("x");
        QVERIFY(Mem_Resize(array, 0));
        QCOMPARE(array.Items(), QStringList{QString()});
    }

    void memCountFitsSixteenBits()
    {
        StringArray array;
        QVERIFY(Mem_Resize(array, 32766));
        QCOMPARE(Mem_Count(array).value_or(-1), 32767);
        QVERIFY(Mem_Resize(array, 32767));
        QVERIFY(!Mem_Count(array));
    }

    void readNextLineStaysAtEmptyLine()
    {
        QCOMPARE(IO_ReadNextLine(nullptr), QString());
        QVERIFY(IO_IsUnset(FileSystemRef{}));
        QVERIFY(!IO_IsUnset(IO_CreateFileSystem()));

        TextStream stream(QStringLiteral("a\r\n\r\nb"));
        QCOMPARE(IO_ReadNextLine(&stream), QStringLiteral("a"));
        QCOMPARE(IO_ReadNextLine(&stream), QString());
        QCOMPARE(IO_ReadNextLine(&stream), QString());
        // Still in front of the empty line: reading it by hand reaches "b".
        QVERIFY(stream.AtEndOfLine());
        QCOMPARE(stream.ReadLine(), QString());
        QCOMPARE(IO_ReadNextLine(&stream), QStringLiteral("b"));
        QVERIFY(stream.AtEndOfLine());
        QCOMPARE(IO_ReadNextLine(&stream), QString());
        QCOMPARE(IO_ReadNextLine(&stream), QString());
    }
};

QTEST_GUILESS_MAIN(FileIoTest)
#include "tst_fileio.moc"
