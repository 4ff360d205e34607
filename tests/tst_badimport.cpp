// Import on inputs that are broken, hostile or odd: no crash, no hang, the
// message and editor state the import defines, and nothing written.
#include "TestSupport.h"
#include "TreeSnapshot.h"

#include "theme/NewTheme.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <functional>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace ovex;

namespace {

// The editor's whole visible state, and the lines of the last import.
struct State
{
    QString name;
    std::array<int, SlotCount> ticked{};
    std::array<QString, SlotCount> tag;
    std::array<ColorValue, SlotCount> color{};
    std::array<QString, SizeSlotCount> sizes;
    qsizetype importLines = -1;  // -1: never sized
};

State stateOf(const Editor& ed)
{
    State s;
    s.name = ed.txtThemeName->text();
    for (int k = 0; k < SlotCount; ++k) {
        s.ticked[k] = ed.slots.Value(k);
        s.tag[k] = ed.slots.s[k]->Tag();
        s.color[k] = ed.slots.s[k]->BackColor();
    }
    for (int k = 0; k < SizeSlotCount; ++k)
        s.sizes[k] = ed.slots.sizeBox[k]->text();
    s.importLines = ed.ImportLines.IsDimensioned() ? ed.ImportLines.UBound() + 1 : -1;
    return s;
}

// The open dialog double, which can also act between its answer and the
// command's next step.
class Dialog final : public CommonDialog
{
public:
    QString answer;
    std::function<void()> afterAnswer;
    DialogResult ShowOpen() override
    {
        FileName = answer;
        if (afterAnswer)
            afterAnswer();
        return DialogResult::Chosen;
    }
    DialogResult ShowSave() override { return DialogResult::Cancelled; }
    DialogResult ShowColor() override { return DialogResult::Cancelled; }
};

struct Editor2
{
    Dialog* cd = new Dialog;
    FakeMessageBox* messages = new FakeMessageBox;
    std::unique_ptr<frmMain> window = std::make_unique<frmMain>(DesktopServices{
        std::unique_ptr<Dialog>(cd), std::unique_ptr<FakeMessageBox>(messages), std::make_unique<FakeWebOpener>()});
    Editor& editor() const { return window->editor(); }
};

// What a row expects: a message and the editor untouched, or no message and
// the editor as New leaves it with the changes the lines make.
struct Expected
{
    QString message;
    std::function<void(State&)> apply;
};

Expected asNewWith(std::function<void(State&)> apply) { return {QString(), std::move(apply)}; }

// Makes the input in the folder and returns the path the dialog answers;
// *skip is set when this machine cannot make it honestly. *around, if set,
// wraps the import (to change privileges for it).
using Around = std::function<void(const std::function<void()>&)>;
struct Input
{
    std::function<QString(const QString& dir, Editor2& ed, QString* skip, Around* around)> make;
};

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

Input fileWith(QByteArray bytes)
{
    return {[bytes](const QString& dir, Editor2&, QString*, Around*) { return writeFile(dir + "/input.theme", bytes); }};
}

// An input that `make` creates at dir/name.
Input made(const char* name, std::function<bool(const QString& path)> make)
{
    return {[=](const QString& dir, Editor2&, QString*, Around*) {
        const QString path = dir + u'/' + QLatin1StringView(name);
        if (!make(path))
            qFatal("cannot make %s", name);
        return path;
    }};
}

void setColor(State& s, int slot, const QString& tag, ColorValue color)
{
    s.ticked[slot] = 1;
    s.tag[slot] = tag;
    s.color[slot] = color;
}

// Windows-1252 at 0x80..0x9F, from the code page's published table.
const char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Root reads any file whatever its mode; without these two capabilities in
// the importing thread it is refused like any other user.
class WithoutReadOverride
{
public:
    bool Drop()
    {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return false;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        return m_dropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutReadOverride()
    {
        if (m_dropped)
            ::syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

// A blocked import cannot be stopped from its own thread: end the test.
const char* g_row = "";
extern "C" void onWatchdog(int)
{
    const char text[] = "watchdog: the import did not finish within 60 s in row ";
    [[maybe_unused]] auto a = ::write(2, text, sizeof text - 1);
    [[maybe_unused]] auto b = ::write(2, g_row, std::strlen(g_row));
    ::_exit(3);
}

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Expected)

class BadImportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_base;
    int m_row = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_base.isValid());
        std::signal(SIGALRM, onWatchdog);
    }

    void badInput_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<Expected>("expected");
        const Expected asNew{};
        const Expected notFound{QStringLiteral("Sorry! File not found in this folder."), nullptr};
        const Expected unreadable{QStringLiteral("Sorry! The file could not be read."), nullptr};

        {
            QRandomGenerator random(7);
            QByteArray bytes(64 * 1024, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            // Its line ends fall where they fall: count the leading lines.
            int lines = 0;
            for (qsizetype pos = 0; pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n'; ++lines) {
                while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
                    ++pos;
                if (pos < bytes.size())
                    pos += bytes.mid(pos, 2) == "\r\n" ? 2 : 1;
            }
            QTest::newRow("random binary bytes")
                << fileWith(bytes) << asNewWith([lines](State& s) { s.importLines = lines > 0 ? lines : -1; });
        }
        QTest::newRow("empty file") << fileWith(QByteArray()) << asNew;
        QTest::newRow("NUL bytes inside lines")
            << fileWith(QByteArray("name=Ni\0ght\r\ncontrol=1,2\0,3\r\n", 29)) << asNewWith([](State& s) {
                   s.name = QStringLiteral("Ni") + QChar(0) + QStringLiteral("ght");
                   // Green "2\0" cannot be read and keeps the 0 it started with.
                   setColor(s, 0, QStringLiteral("1,2") + QChar(0) + QStringLiteral(",3"), 1 + 65536 * 3);
                   s.importLines = 2;
               });
        {
            QByteArray high;
            QString decoded;
            for (int b = 0x80; b <= 0xFF; ++b) {
                high += char(b);
                decoded += QChar(b < 0xA0 ? Cp1252High[b - 0x80] : char16_t(b));
            }
            QTest::newRow("every byte 0x80..0xFF")
                << fileWith("name=" + high + "\r\nfontsize.user=" + high + "\r\n") << asNewWith([decoded](State& s) {
                       s.name = decoded;
                       s.ticked[28] = 1;
                       s.tag[28] = QStringLiteral("12");  // ticking copied the box as it was
                       s.sizes[1] = decoded;
                       s.importLines = 2;
                   });
        }
        const QByteArray huge(1024 * 1024, 'x');
        QTest::newRow("1 MiB colour line") << fileWith("focuscolor=1,2,3" + huge + "\r\n") << asNewWith([huge](State& s) {
            setColor(s, 26, QStringLiteral("1,2,3") + QString::fromLatin1(huge), 1 + 256 * 2);
            s.importLines = 1;
        });
        {
            // Lines 0..9998 set control=, the last one the name.
            QByteArray lines;
            for (int i = 0; i < 9999; ++i)
                lines += "control=" + QByteArray::number(i % 256) + ',' + QByteArray::number(i / 256) + ",0\r\n";
            QTest::newRow("exactly 10000 lines") << fileWith(lines + "name=Ten thousand\r\n") << asNewWith([](State& s) {
                s.name = QStringLiteral("Ten thousand");
                setColor(s, 0, QStringLiteral("14,39,0"), 14 + 256 * 39);  // line 9998
                s.importLines = 10000;
            });
            QTest::newRow("10001 lines") << fileWith(lines + "name=Ten thousand\r\nname=One more\r\n") << asNew;
        }
        QTest::newRow("CR-only and LF-only line ends") << fileWith("name=Cr\rcontrol=1,2,3\rcontrolshadow=4,5,6\n") << asNewWith([](State& s) {
            s.name = QStringLiteral("Cr");
            setColor(s, 0, QStringLiteral("1,2,3"), 1 + 256 * 2 + 65536 * 3);
            setColor(s, 1, QStringLiteral("4,5,6"), 4 + 256 * 5 + 65536 * 6);
            s.importLines = 3;
        });
        // Not empty, so the reading goes on past them; they match no key.
        QTest::newRow("lines of blanks and tabs") << fileWith(" \t \r\n\t\r\nname=Blank\r\n   \r\n") << asNewWith([](State& s) {
            s.name = QStringLiteral("Blank");
            s.importLines = 4;
        });
        // Nothing is stripped: the first line starts with the mark.
        QTest::newRow("UTF-8 byte-order mark before name=")
            << fileWith("\xEF\xBB\xBFname=Bom\r\ncontrol=9,9,9\r\n") << asNewWith([](State& s) {
                   setColor(s, 0, QStringLiteral("9,9,9"), 9 + 256 * 9 + 65536 * 9);
                   s.importLines = 2;
               });

        QTest::newRow("symbolic link to /dev/zero")
            << made("zero.theme", [](const QString& path) { return QFile::link("/dev/zero", path); }) << notFound;
        QTest::newRow("FIFO") << made("fifo.theme", [](const QString& path) {
            return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
        }) << notFound;
        QTest::newRow("folder") << made("folder.theme", [](const QString& path) {
            return QDir().mkpath(path) && !writeFile(path + "/name=inside", "name=Inside\r\n").isEmpty();
        }) << notFound;
        QTest::newRow("unreadable file (no read permission)") << Input{[](const QString& dir, Editor2&, QString* skip, Around* around) {
            const QString path = writeFile(dir + QStringLiteral("/locked.theme"), "name=Locked\r\n");
            QFile::setPermissions(path, QFileDevice::Permissions());
            if (::geteuid() == 0)
                *around = [path, skip](const std::function<void()>& import) {
                    WithoutReadOverride noOverride;
                    if (!noOverride.Drop() || QFile(path).open(QIODevice::ReadOnly))
                        *skip = QStringLiteral("running as root and cannot give up reading any file: no honest check");
                    else
                        import();
                };
            return path;
        }} << unreadable;
        // A regular file of the kernel's whose read at offset 0 fails.
        QTest::newRow("a read that fails (I/O error)")
            << made("mem.theme", [](const QString& path) { return QFile::link("/proc/self/mem", path); }) << unreadable;
        QTest::newRow("more than 16 MiB") << made("big.theme", [](const QString& path) {
            return QFile(writeFile(path, "name=Big\r\n")).resize(16 * 1024 * 1024 + 1);
        }) << unreadable;
        QTest::newRow("file deleted between the dialog and the read") << Input{[](const QString& dir, Editor2& ed, QString*, Around*) {
            const QString path = writeFile(dir + QStringLiteral("/gone.theme"), "name=Gone\r\n");
            ed.cd->afterAnswer = [path] { QFile::remove(path); };
            return path;
        }} << notFound;
    }

    void badInput()
    {
        QFETCH(Input, input);
        QFETCH(Expected, expected);
        const QString dir = m_base.filePath(QString::number(m_row++));
        QVERIFY(QDir().mkpath(dir));

        // An editor holding a theme, so that both "untouched" and "as New" show.
        Editor2 ed;
        Editor& editor = ed.editor();
        editor.txtThemeName->setText(QStringLiteral("Before"));
        editor.slots.chk[5]->click();
        editor.slots.s[5]->SetBackColor(0x123456);
        editor.slots.s[5]->SetTag(QStringLiteral("86,52,18"));
        editor.slots.sizeBox[0]->setText(QStringLiteral("9"));
        editor.slots.chk[27]->click();
        const State before = stateOf(editor);

        QString skip;
        Around around;
        ed.cd->answer = input.make(dir, ed, &skip, &around);
        const QStringList filesBefore = test::TreeSnapshot(dir);

        const auto import = [&] { ed.window->findChild<QAction*>(QStringLiteral("mnuImport"))->trigger(); };
        g_row = QTest::currentDataTag();
        ::alarm(60);
        if (around)
            around(import);
        else
            import();
        ::alarm(0);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));

        const auto& shown = ed.messages->Shown();
        QCOMPARE(shown.value(0).text, expected.message);
        QCOMPARE(shown.size(), expected.message.isEmpty() ? 0 : 1);
        if (!shown.isEmpty())
            QVERIFY(shown[0].title == "File Input Error" && shown[0].style == MessageStyle::Information);

        State want = before;
        if (expected.message.isEmpty()) {
            Editor2 fresh;
            NewTheme(fresh.editor());
            want = stateOf(fresh.editor());
            if (expected.apply)
                expected.apply(want);
        }
        const State got = stateOf(editor);
        QCOMPARE(got.name, want.name);
        QCOMPARE(got.importLines, want.importLines);
        QVERIFY(got.sizes == want.sizes);
        for (int k = 0; k < SlotCount; ++k)
            QVERIFY2(got.ticked[k] == want.ticked[k] && got.tag[k] == want.tag[k] && got.color[k] == want.color[k],
                     qPrintable(QStringLiteral("slot %1: %2 %3 %4").arg(k).arg(got.ticked[k]).arg(got.tag[k].left(40)).arg(got.color[k])));

        // The deleted file is the one change, and the test made it.
        QStringList filesAfter = test::TreeSnapshot(dir);
        if (ed.cd->afterAnswer)
            filesAfter.prepend(filesBefore.value(0));
        QCOMPARE(filesAfter, filesBefore);
    }
};

OVEX_TEST_MAIN(BadImportTest)
#include "tst_badimport.moc"
