// The command line: what each argument list asks for, what --check prints
// for its files and with which status, and the program itself run with no display.
#include "RunProgram.h"
#include "TestSupport.h"

#include "app/CommandLine.h"
#include "app/ThemeCheck.h"

#include <QTemporaryDir>
#include <QUndoStack>

using namespace ovex;

namespace {

using Action = CommandLine::Action;

const QString DayOk = QStringLiteral("day.theme: ok (12 pairs readable)\n");
const QString NightFails = QStringLiteral("night.theme: Control text on control colour: 1.06:1, needs 4.5:1\n"
                                          "night.theme: Label text on control colour: 1.26:1, needs 4.5:1\n"
                                          "night.theme: Check marks and arrows on control colour: 1.59:1, needs 3:1\n");

// The files the checks read, in dir.
void writeThemes(const QTemporaryDir& dir)
{
    const QList<QPair<QString, QByteArray>> files = {
        // Every pair at least 4.5:1.
        {"day.theme", "name=Day\r\nmenubackground=255,255,255\r\nmenuforeground=0,0,0\r\n"},
        // Black text on a near-black control colour: two pairs fail.
        {"night.theme", "name=Night\r\ncontrol=0,0,0\r\ncontroltextcolor=10,10,10\r\n"},
        // Unticked in the file's meaning: the preview's default stands in.
        {"unset.theme", "control=\r\n"},
        {"day.txt", "name=Day\r\n"},
        {"palette.theme", "name=P\r\nmenubackground=primary2\r\n"},
        {"big.theme", QByteArray(MaxReadBytes + 1, 'x')},
        // An icon theme's: Import finds nothing in it.
        {"index.theme", "[Icon Theme]\nName=Foo\nInherits=hicolor\nDirectories=16x16/apps\n"},
    };
    for (const auto& [name, bytes] : files) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
}

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
        QTest::newRow("empty FILE") << QStringList{""} << int(Action::OpenWindow) << "" << 0 << "";
        QTest::newRow("help") << QStringList{"-h"} << int(Action::Exit) << "" << 0 << "Usage: ovex-theme-editor [options] [FILE]";
        QTest::newRow("two files") << QStringList{"a.theme", "b.theme"} << int(Action::Exit) << "" << 2 << "!ovex-theme-editor: Only one";
        QTest::newRow("check") << QStringList{"--check", "a.theme", "b"} << int(Action::Check) << "a.theme|b" << 0 << "";
        QTest::newRow("check none") << QStringList{"--check"} << int(Action::Exit) << "" << 2 << "!ovex-theme-editor: --check needs";
        const auto usage = [](const QStringList& args, const char* why) {
            QTest::addRow("%s", why) << args << int(Action::Exit) << "" << 2 << QStringLiteral("!ovex-theme-editor: ") + why;
        };
        usage({"--convert", "a.yml"}, "--convert needs --output-dir DIR.");
        usage({"--convert", "--output-dir", "/"}, "--convert needs at least one SCHEME.");
        usage({"a.yml", "--output-dir", "/"}, "--output-dir needs --convert.");
        usage({"--check", "--convert", "a.yml", "--output-dir", "/"}, "--check and --convert cannot be used together.");
        // An unset shell variable: never the current folder.
        usage({"--convert", "a.yml", "--output-dir", ""}, "--output-dir is empty; give it a folder.");
        usage({"--overwrite", "a.yml"}, "--overwrite needs --convert.");
        // The folder is made, or found unusable, when the conversion runs.
        QTest::newRow("convert into a missing folder") << QStringList{"--convert", "a.yml", "--output-dir", "gone", "--overwrite"}
                                                       << int(Action::Convert) << "" << 0 << "";
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
        QVERIFY(action != int(Action::Convert) || (c.overwrite && c.outputDir == "gone" && c.schemeFiles == QStringList{"a.yml"}));
        QCOMPARE(c.exitStatus, status);
        QCOMPARE(c.toStderr, text.startsWith('!'));
        const QString printed = text.mid(text.startsWith('!') ? 1 : 0);
        QCOMPARE(c.text.left(printed.size()), printed);
    }

    // The real program, without any display or session (as from cron, or
    // root in CI). Files are checked in turn on one hidden editor: the worst
    // sets the status, and a refused or failing file leaves nothing behind
    // for the next. Stderr is kept for usage errors: Qt's warnings about the
    // missing session stay out of it.
    void program_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("status");
        QTest::newRow("unset value") << QStringList{"--check", "unset.theme"} << "unset.theme: ok (12 pairs readable)\n" << 0;
        QTest::newRow("fails") << QStringList{"--check", "day.theme", "night.theme"} << DayOk + NightFails << 1;
        QTest::newRow("worst of") << QStringList{"--check", "gone.theme", "night.theme", "day.theme"}
                                  << "gone.theme: error: file not found\n" + NightFails + DayOk << 2;
        QTest::newRow("extension") << QStringList{"--check", "day.txt"} << "day.txt: error: not a .theme file\n" << 2;
        QTest::newRow("gone, no extension") << QStringList{"--check", "gone.txt"} << "gone.txt: error: file not found\n" << 2;
        QTest::newRow("no settings") << QStringList{"--check", "index.theme", "day.theme"}
                                     << "index.theme: error: no theme settings found\n" + DayOk << 2;
        QTest::newRow("palette") << QStringList{"--check", "palette.theme"}
                                 << "palette.theme: error: uses the unsupported Primary/Secondary palette words\n" << 2;
        QTest::newRow("too big") << QStringList{"--check", "big.theme"} << "big.theme: error: could not be read\n" << 2;
        QTest::newRow("version") << QStringList{"--version"} << "Ovex Theme Editor 1.0.5\n" << 0;
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << "" << 2;
    }
    void program()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        QFETCH(int, status);
        QTemporaryDir dir;
        writeThemes(dir);
        const ovex::test::ProgramRun run = ovex::test::RunProgram(args, dir.path(), dir.path());
        QCOMPARE(run.out, out);
        QCOMPARE(run.status, status);
        QVERIFY(!QFileInfo::exists(dir.filePath("XDG_STATE_HOME")));   // --check keeps no recovery copy
        if (out.isEmpty())   // a usage error says why on stderr
            QCOMPARE(run.err, "ovex-theme-editor: Unknown option 'frobnicate'.\nTry 'ovex-theme-editor --help' for more information.\n");
        else
            QCOMPARE(run.err, QString());
    }

    // What Import must find for a file to count as a theme: a name or any
    // theme key, even without a value, in the lines it reads.
    void themeSettings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("out");   // after "x.theme: "
        QTest::newRow("name only") << QByteArray("name=Night\r\n") << "ok (12 pairs readable)";
        QTest::newRow("key, no value") << QByteArray("[x]\r\nfocuscolor=\r\n") << "ok (12 pairs readable)";
        QTest::newRow("icon theme") << QByteArray("[Icon Theme]\nName=Foo\n") << "error: no theme settings found";
        QTest::newRow("key inside a line") << QByteArray("#name=Night\r\n") << "error: no theme settings found";
        QTest::newRow("empty") << QByteArray() << "error: no theme settings found";
        QTest::newRow("after an empty line") << QByteArray("\r\nname=Night\r\n") << "error: no theme settings found";
    }
    void themeSettings()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, out);
        QTemporaryDir dir;
        QFile f(dir.filePath("x.theme"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(text), text.size());
        f.close();
        ThemeChecker checker;
        const ThemeCheckResult result = checker.Check(f.fileName());
        QCOMPARE(result.lines, QStringList{f.fileName() + ": " + out});
        QCOMPARE(result.status, out.startsWith("ok") ? CheckStatus::Readable : CheckStatus::NotChecked);
    }

    // One hidden editor checks file after file without keeping each import
    // to undo: its memory stays flat however many files it is given.
    void checkerKeepsNoHistory()
    {
        QTemporaryDir dir;
        writeThemes(dir);
        ThemeChecker checker;
        for (int k = 0; k < 3; ++k)
            for (const char* name : {"day.theme", "night.theme", "unset.theme"})
                checker.Check(dir.filePath(name));
        QVERIFY(checker.Window().undoStack().count() <= 1);
    }
};

OVEX_TEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
