// The command line: what each argument list asks for, what --check prints
// for its files and with which status, and the program itself run with no display.
#include "RunProgram.h"
#include "TestSupport.h"

#include "app/CommandLine.h"
#include "app/ThemeCheck.h"
#include "colour/ThemePicture.h"
#include "theme/ThemeFile.h"

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
        usage({"--render", "--output-dir", "/"}, "--render needs at least one THEME.");
        usage({"--render", "--convert", "a", "--output-dir", "/"}, "--convert and --render cannot be used together.");
        usage({"--convert", "a", "--output-dir", "/", "--size", "9x9"}, "--size needs --render.");
        for (const char* size : {"0x10", "10x", "4097x10", "10x10x10", "-5x10"})
            QTest::addRow("--size %s", size) << QStringList{"--render", "a", "--output-dir", "/", "--size", size} << int(Action::Exit) << ""
                                             << 2 << "!ovex-theme-editor: --size takes WIDTHxHEIGHT, each 1 to 4096, such as 1120x760.";
        usage({"--convert", "--output-dir", "/"}, "--convert needs at least one SCHEME.");
        usage({"a.yml", "--output-dir", "/"}, "--output-dir needs --convert or --render.");
        usage({"--check", "--convert", "a.yml", "--output-dir", "/"}, "--check and --convert cannot be used together.");
        // An unset shell variable: never the current folder.
        usage({"--convert", "a.yml", "--output-dir", ""}, "--output-dir is empty; give it a folder.");
        usage({"--overwrite", "a.yml"}, "--overwrite needs --convert or --render.");
        QTest::newRow("render") << QStringList{"--render", "a.theme", "--output-dir", "o", "--size", "12x34"} << int(Action::Render) << "" << 0 << "";
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
        QVERIFY(action != int(Action::Convert) || (c.overwrite && c.outputDir == "gone" && c.inputFiles == QStringList{"a.yml"}));
        QVERIFY(action != int(Action::Render) || (c.size == QSize(12, 34) && c.inputFiles == QStringList{"a.theme"}));
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

    // --render draws what the preview draws: the picture in the file is the theme's own, pixel for pixel,
    // where the form's control colour covers most of the window; the folder is made, a refused theme
    // gets its reason, a picture already there is kept unless --overwrite, and --size scales it.
    void render()
    {
        QTemporaryDir dir;
        writeThemes(dir);
        const QStringList args{"--render", "night.theme", "palette.theme", "--output-dir", "pics/a"};
        ovex::test::ProgramRun run = ovex::test::RunProgram(args, dir.path(), dir.path());
        QCOMPARE(run.out, "night.theme: wrote pics/a/night.png (560x380)\n"
                          "palette.theme: error: uses the unsupported Primary/Secondary palette words\n");
        QCOMPARE(run.status, 1);
        const QImage night = DrawThemePicture(PreviewThemeOf(ReadThemeFile(FileSystemObject(), dir.filePath("night.theme")).state));
        QImage written(dir.filePath("pics/a/night.png"));
        QCOMPARE(written.convertToFormat(night.format()), night);
        qsizetype control = 0;
        for (int y = 0; y < written.height(); ++y)
            for (int x = 0; x < written.width(); ++x)
                control += written.pixel(x, y) == qRgb(0, 0, 0);
        QVERIFY2(control > written.width() * written.height() / 4, qPrintable(QString::number(control)));

        run = ovex::test::RunProgram(args.mid(0, 2) + QStringList{"--output-dir", "pics/a", "--size", "1120x760"}, dir.path(), dir.path());
        QCOMPARE(run.out, "night.theme: error: pics/a/night.png already exists\n");
        QCOMPARE(QImage(dir.filePath("pics/a/night.png")).size(), MockSize);
        run = ovex::test::RunProgram(args.mid(0, 2) + QStringList{"--output-dir", "pics/a", "--size", "1120x760", "--overwrite"}, dir.path(), dir.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(QImage(dir.filePath("pics/a/night.png")).size(), MockSize * 2);
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
        const ThemeCheckResult result = CheckThemeFile(f.fileName());
        QCOMPARE(result.lines, QStringList{f.fileName() + ": " + out});
        QCOMPARE(result.status, out.startsWith("ok") ? CheckStatus::Readable : CheckStatus::NotChecked);
    }
};

OVEX_TEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
