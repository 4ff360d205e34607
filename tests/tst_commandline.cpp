// The command line: what each argument list asks for, what --check prints
// for a file and with which status, and the program itself run with no display.
#include "TestSupport.h"

#include "app/CommandLine.h"
#include "app/ThemeCheck.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace ovex;

namespace {

using Action = CommandLine::Action;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// Readable: every pair at least 4.5:1.
const QByteArray Readable = "name=Day\r\nmenubackground=255,255,255\r\nmenuforeground=0,0,0\r\n";
// Black text on a near-black control colour: two pairs fail.
const QByteArray Dark = "name=Night\r\ncontrol=0,0,0\r\ncontroltextcolor=10,10,10\r\n";

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");      // OpenWindow's file, or Check's files joined by "|"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");      // the start of what is printed; "!" before it: on stderr
        QTest::newRow("none") << QStringList{} << int(Action::OpenWindow) << "" << 0 << "";
        QTest::newRow("relative") << QStringList{"a/x.theme"} << int(Action::OpenWindow) << "/cwd/a/x.theme" << 0 << "";
        QTest::newRow("absolute") << QStringList{"/t/x.theme"} << int(Action::OpenWindow) << "/t/x.theme" << 0 << "";
        QTest::newRow("version") << QStringList{"--version"} << int(Action::Exit) << "" << 0 << "Ovex Theme Editor 1.0.5\n";
        QTest::newRow("help") << QStringList{"-h"} << int(Action::Exit) << "" << 0 << "Usage: ovex-theme-editor [options] [FILE]";
        QTest::newRow("two files") << QStringList{"a.theme", "b.theme"} << int(Action::Exit) << "" << 2 << "!ovex-theme-editor: Only one";
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << int(Action::Exit) << "" << 2 << "!ovex-theme-editor: Unknown option 'frobnicate'";
        QTest::newRow("help-all") << QStringList{"--help-all"} << int(Action::Exit) << "" << 2 << "!ovex-theme-editor: Unknown";
        QTest::newRow("check") << QStringList{"--check", "a.theme", "b"} << int(Action::Check) << "a.theme|b" << 0 << "";
        QTest::newRow("check none") << QStringList{"--check"} << int(Action::Exit) << "" << 2 << "!ovex-theme-editor: --check needs";
    }
    void parse()
    {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, file);
        QFETCH(int, status);
        QFETCH(QString, text);
        const CommandLine c = ParseCommandLine(QStringList{"/usr/bin/ovex-theme-editor"} + args, "/cwd");
        QCOMPARE(int(c.action), action);
        QCOMPARE(action == int(Action::Check) ? c.checkFiles.join('|') : c.file, file);
        QCOMPARE(c.exitStatus, status);
        QCOMPARE(c.toStderr, text.startsWith('!'));
        const QString printed = text.mid(text.startsWith('!') ? 1 : 0);
        QCOMPARE(c.text.left(printed.size()), printed);
    }

    void check_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");   // "-": no file
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("status");
        QTest::newRow("readable") << "day.theme" << Readable << QStringList{"day.theme: ok (10 pairs readable)"} << 0;
        QTest::newRow("empty") << "e.theme" << QByteArray() << QStringList{"e.theme: ok (10 pairs readable)"} << 0;
        QTest::newRow("dark") << "night.theme" << Dark
                              << QStringList{"night.theme: Control text on control colour: 1.06:1, needs 4.5:1",
                                             "night.theme: Label text on control colour: 1.26:1, needs 4.5:1"} << 1;
        // Unticked in the file's meaning: the preview's default stands in.
        QTest::newRow("empty value") << "v.theme" << QByteArray("control=\r\n") << QStringList{"v.theme: ok (10 pairs readable)"} << 0;
        QTest::newRow("missing") << "gone.theme" << QByteArray("-") << QStringList{"gone.theme: error: file not found"} << 2;
        QTest::newRow("extension") << "day.txt" << Readable << QStringList{"day.txt: error: not a .theme file"} << 2;
        QTest::newRow("palette") << "p.theme" << QByteArray("name=P\r\nmenubackground=primary2\r\n")
                                 << QStringList{"p.theme: error: uses the unsupported Primary/Secondary palette words"} << 2;
        QTest::newRow("too big") << "big.theme" << QByteArray(MaxReadBytes + 1, 'x') << QStringList{"big.theme: error: could not be read"} << 2;
    }
    void check()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(int, status);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        if (bytes != "-")
            writeFile(name, bytes);
        ThemeChecker checker;
        // After a refused file and a failing one on the same editor: what
        // they left must not count.
        writeFile("before.theme", Dark);
        QCOMPARE(int(checker.Check("missing-before.theme").status), 2);
        QCOMPARE(int(checker.Check("before.theme").status), 1);
        const ThemeCheckResult result = checker.Check(name);
        QCOMPARE(result.lines, lines);
        QCOMPARE(int(result.status), status);
    }

    // The real program, without any display: the worst file sets the status.
    void program_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("status");
        QTest::newRow("ok") << QStringList{"--check", "day.theme"} << "day.theme: ok (10 pairs readable)\n" << 0;
        QTest::newRow("fails") << QStringList{"--check", "day.theme", "night.theme"}
                               << "day.theme: ok (10 pairs readable)\n"
                                  "night.theme: Control text on control colour: 1.06:1, needs 4.5:1\n"
                                  "night.theme: Label text on control colour: 1.26:1, needs 4.5:1\n" << 1;
        QTest::newRow("missing") << QStringList{"--check", "gone.theme", "day.theme"}
                                 << "gone.theme: error: file not found\nday.theme: ok (10 pairs readable)\n" << 2;
        QTest::newRow("version") << QStringList{"--version"} << "Ovex Theme Editor 1.0.5\n" << 0;
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << "" << 2;
        QTest::newRow("two files") << QStringList{"a.theme", "b.theme"} << "" << 2;
    }
    void program()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        QFETCH(int, status);
        QTemporaryDir dir;
        writeFile(dir.filePath("day.theme"), Readable);
        writeFile(dir.filePath("night.theme"), Dark);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(OVEX_EDITOR_BINARY, args);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()), out);
        QCOMPARE(p.exitCode(), status);
        if (status == 2 && out.isEmpty())   // a usage error says why on stderr
            QVERIFY(p.readAllStandardError().contains("ovex-theme-editor: "));
    }
};

OVEX_TEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
