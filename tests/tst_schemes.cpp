// Schemes of other programs: base16 and base24 YAML in both layouts and KDE
// .colors read, refused with a reason, mapped to readable themes, and
// converted by the real program with no display.
#include "RunProgram.h"
#include "SampleSchemes.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "TreeSnapshot.h"

#include "app/SchemeConvert.h"
#include "colour/ColourScience.h"
#include "fileio/FileWriter.h"
#include "fileio/MRW_File_IO.h"
#include "schemes/SchemeFile.h"
#include "schemes/SchemeSources.h"
#include "schemes/SchemeText.h"
#include "schemes/YamlScheme.h"
#include "schemes/SchemeTheme.h"
#include "theme/ThemeKeys.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ovex;
using namespace ovex::test;

namespace {

// A scheme that a test breaks by replacing one text in it.
QByteArray changed(QByteArray bytes, const char* from, const char* to)
{
    const qsizetype at = bytes.indexOf(from);
    Q_ASSERT(at >= 0);
    return bytes.replace(at, qsizetype(qstrlen(from)), to);
}

// Every slot that checked pairs draw on and never move: the surfaces, but a
// further surface, which moves where its text cannot.
QList<int> surfaces()
{
    QList<int> slots;
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k) {
        const CheckedPair& pair = CheckedPairs[k];
        const bool moves = IsFurtherSurface(k) || std::any_of(CheckedPairs.begin(), CheckedPairs.end(), [&](const CheckedPair& p) { return p.front == pair.back; });
        if (!moves && !slots.contains(pair.back))
            slots << pair.back;
    }
    return slots;
}

// What MapScheme must give for any scheme: every pair readable, every
// surface exactly the scheme's, every other slot the scheme's unless listed
// as adjusted, and each adjusted slot moved no further than its pair needs.
void verifyMapping(const Scheme& scheme, const SchemeTheme& theme)
{
    QVERIFY2(AllPairsPass(theme.colors), qPrintable(scheme.name));
    QList<int> adjusted;
    for (const SlotAdjustment& a : theme.adjusted)
        adjusted << a.slot;
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        const QColor source = scheme.colors.value(SourceKey(slot, scheme));
        QVERIFY(source.isValid());
        if (surfaces().contains(slot))
            QVERIFY2(!adjusted.contains(slot) && theme.colors[slot] == source, qPrintable(SlotCaption(slot)));
        QCOMPARE(theme.colors[slot] != source, adjusted.contains(slot));
    }
    for (const SlotAdjustment& a : theme.adjusted) {
        QCOMPARE(a.readable, theme.colors[a.slot]);
        const OkLab p = ToOkLab(a.fromScheme), q = ToOkLab(a.readable);
        QVERIFY(qAbs(a.distance - std::hypot(p.L - q.L, p.a - q.a, p.b - q.b)) < 1e-9 && a.distance > 0);
        // Just over the threshold of the pair it was moved for: not pushed to black or white.
        double nearest = 100;
        for (const CheckedPair& pair : CheckedPairs) {
            if (pair.front == a.slot || pair.back == a.slot)
                nearest = std::min(nearest, PairRatio(theme.colors, pair) / Threshold(pair.kind));
        }
        QVERIFY2(nearest < 1.06, qPrintable(QStringLiteral("%1 at %2 times its threshold").arg(SlotCaption(a.slot)).arg(nearest)));
    }
}

} // namespace

class SchemesTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void layouts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QColor>("window");    // windowbackground
        QTest::addColumn<QColor>("control");   // control and menubackground
        QTest::addColumn<QColor>("accent");
        const int base16 = int(SchemeFormat::Base16), base24 = int(SchemeFormat::Base24), kde = int(SchemeFormat::Kde);
        const int dark = int(ThemeMode::Dark), light = int(ThemeMode::Light);
        QTest::newRow("flat base16") << FlatBase16 << base16 << "Ember Coast" << dark << QColor(0x201a17)
                                     << QColor(0x2c2420) << QColor(0x6f9fd8);
        QTest::newRow("palette base16") << PaletteBase16 << base16 << "Moss Night" << dark << QColor(0x16201a)
                                        << QColor(0x1f2b23) << QColor(0x5aa0c8);
        QTest::newRow("palette base24") << PaletteBase24 << base24 << "Paper Lantern" << light << QColor(0xfbf8ef)
                                        << QColor(0xefe9d9) << QColor(0x3b6fb0);
        QTest::newRow("flat base24") << FlatBase16 + "base10: \"1a1512\"\nbase11: \"120e0c\"\n" << base24 << "Ember Coast"
                                     << dark << QColor(0x201a17) << QColor(0x2c2420) << QColor(0x6f9fd8);
        // The variant decides the mode, not the background.
        QTest::newRow("variant light") << changed(PaletteBase16, "\"dark\"", "light") << base16 << "Moss Night" << light
                                       << QColor(0x16201a) << QColor(0x1f2b23) << QColor(0x5aa0c8);
        // An anchored colour used again by an alias.
        QTest::newRow("alias") << changed(changed(PaletteBase16, "\"#5fb8a8\"", "&teal \"#5fb8a8\""), "\"#5aa0c8\"", "*teal")
                               << base16 << "Moss Night" << dark << QColor(0x16201a) << QColor(0x1f2b23) << QColor(0x5fb8a8);
        // Neither layout names the scheme: the file's base name stands in.
        QTest::newRow("no name") << changed(FlatBase16, "scheme: \"Ember Coast\"", "scheme: \"  \"") << base16 << "input"
                                 << dark << QColor(0x201a17) << QColor(0x2c2420) << QColor(0x6f9fd8);
        // A name the theme file cannot hold is cleaned; nothing left: the base name.
        QTest::newRow("name cleaned") << changed(FlatBase16, "\"Ember Coast\"", "\"\\u6D77\\u6D0B Ember\\t\\n Coast \\U0001F30A\"")
                                      << base16 << "Ember Coast" << dark << QColor(0x201a17) << QColor(0x2c2420) << QColor(0x6f9fd8);
        QTest::newRow("name of controls") << changed(FlatBase16, "\"Ember Coast\"", "\"\\r\\n\\t\\x7f\"") << base16 << "input"
                                          << dark << QColor(0x201a17) << QColor(0x2c2420) << QColor(0x6f9fd8);
        QTest::newRow("KDE name a space") << changed(KdeColors, "Name=Harbour Light", "Name=\\s") << kde << "input" << light
                                          << QColor(250, 251, 247) << QColor(236, 238, 232) << QColor(46, 120, 180);
        // Sixteen levels of nesting are read: the top map and fifteen lists.
        QTest::newRow("16 levels") << FlatBase16 + "deep: " + QByteArray(15, '[') + QByteArray(15, ']') + "\n" << base16
                                   << "Ember Coast" << dark << QColor(0x201a17) << QColor(0x2c2420) << QColor(0x6f9fd8);
        QTest::newRow("KDE") << KdeColors << kde << "Harbour Light" << light << QColor(250, 251, 247)
                             << QColor(236, 238, 232) << QColor(46, 120, 180);
    }
    void layouts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QString, name);
        QFETCH(int, mode);
        QFETCH(QColor, window);
        QFETCH(QColor, control);
        QFETCH(QColor, accent);
        const SchemeReading reading = ReadScheme(bytes, QStringLiteral("input"));
        QVERIFY2(reading.scheme, qPrintable(reading.error));
        const Scheme& scheme = *reading.scheme;
        QCOMPARE(int(scheme.format), format);
        QCOMPARE(scheme.name, name);

        const SchemeTheme theme = MapScheme(scheme);
        QCOMPARE(theme.name, name);
        QCOMPARE(theme.colors[18], window);
        QCOMPARE(theme.colors[0], control);
        QCOMPARE(theme.colors[19], control);
        verifyMapping(scheme, theme);
        QCOMPARE(int(theme.mode), mode);
        const OkLch surface = ToOkLch(ToOkLab(window)), tint = ToOkLch(ToOkLab(accent));
        QVERIFY(qAbs(theme.seed.surface.L - surface.L) < 1e-9 && qAbs(theme.seed.surface.h - surface.h) < 1e-9);
        QVERIFY(qAbs(theme.seed.accent.C - tint.C) < 1e-9 && qAbs(theme.seed.accent.h - tint.h) < 1e-9);
    }

    // Schemes of random colours, which read badly in every way there is.
    void everySchemeReadable()
    {
        QRandomGenerator random(20261207);
        for (int i = 0; i < 600; ++i) {
            const QByteArray bytes = i % 3 == 2 ? RandomKdeScheme(random) : RandomBase16Scheme(random, i % 3 == 0);
            const SchemeReading reading = ReadScheme(bytes, QStringLiteral("random"));
            QVERIFY2(reading.scheme, qPrintable(reading.error + "\n" + bytes));
            verifyMapping(*reading.scheme, MapScheme(*reading.scheme));
            if (QTest::currentTestFailed())
                QFAIL(bytes.constData());
        }
    }

    // A real base24 scheme: its darker backgrounds start the disabled
    // control (base10) and the popup border and slider shadow (base11);
    // without them, base16's colours do.
    void base24()
    {
        for (const bool extras : {true, false}) {
            const QByteArray bytes = extras ? DraculaBase24 : changed(changed(DraculaBase24, "base10", "base1x"), "base11", "base1y");
            const SchemeReading reading = ReadScheme(bytes, QStringLiteral("dracula"));
            QVERIFY2(reading.scheme, qPrintable(reading.error));
            const Scheme& scheme = *reading.scheme;
            QCOMPARE(scheme.format, SchemeFormat::Base24);
            QCOMPARE(scheme.name, QStringLiteral("Dracula"));
            const SchemeTheme theme = MapScheme(scheme);
            verifyMapping(scheme, theme);
            QCOMPARE(SourceKey(5, scheme), extras ? QStringLiteral("base10") : QStringLiteral("base01"));
            QCOMPARE(SourceKey(9, scheme), extras ? QStringLiteral("base11") : QStringLiteral("base03"));
            QCOMPARE(theme.colors[5], extras ? QColor(0x1e2029) : QColor(0x363447));
            QCOMPARE(theme.colors[18], QColor(0x282a36));
            QCOMPARE(theme.mode, ThemeMode::Dark);
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QString notScheme = QStringLiteral("not a base16, base24 or KDE colour scheme");
        QTest::newRow("empty") << QByteArray() << notScheme;
        QTest::newRow("other YAML map") << QByteArray("title: Notes\nitems: 3\n") << notScheme;
        QTest::newRow("other INI") << QByteArray("[Desktop Entry]\nName=Editor\n") << notScheme;
        QTest::newRow("flat, base0D missing") << changed(FlatBase16, "base0d: \"6f9fd8\"", "") << "base0D is missing";
        // What was found and the form expected.
        const auto notColour = [](const char* key, const char* found, const char* form = HexColourForm) {
            return QStringLiteral("%1 is not a colour: found %2, expected %3").arg(key, found, form);
        };
        QTest::newRow("flat, base05 in five digits") << changed(FlatBase16, "D9C8B8", "D9C8B") << notColour("base05", "\"D9C8B\"");
        // QColor would take eight, nine or twelve digits.
        for (const char* digits : {"6f9fd8ff", "6f9fd8fff", "6f9fd86f9fd8"})
            QTest::addRow("flat, base0D in %d digits", int(qstrlen(digits))) << changed(FlatBase16, "6f9fd8", digits)
                                                                           << notColour("base0D", qPrintable(u'"' + QString::fromLatin1(digits) + u'"'));
        QTest::newRow("flat, 0x") << changed(FlatBase16, "\"201a17\"", "\"0x201a17\"") << notColour("base00", "\"0x201a17\"");
        QTest::newRow("flat, not hex") << changed(FlatBase16, "6f9fd8", "6f9fdg") << notColour("base0D", "\"6f9fdg\"");
        QTest::newRow("flat, sign") << changed(FlatBase16, "\"6f9fd8\"", "\"+f9fd8\"") << notColour("base0D", "\"+f9fd8\"");
        QTest::newRow("flat, # outside quotes") << changed(FlatBase16, "\"201a17\"", "#201a17")
                                                << "base00 has no value (a # outside quotes starts a comment)";
        QTest::newRow("palette, base0D a map") << changed(PaletteBase16, "\"#5aa0c8\"", "{hex: \"#5aa0c8\"}")
                                               << notColour("base0D", "a map");
        QTest::newRow("base24, base10 a list") << changed(DraculaBase24, "\"#1e2029\"", "[1, 2]") << notColour("base10", "a list");
        QTest::newRow("system, colours at the top") << "system: base16\n" + FlatBase16 << "palette is missing";
        QTest::newRow("palette not a map") << QByteArray("system: base16\npalette: \"#000000\"\n")
                                           << "palette is not a map of colours";
        QTest::newRow("system base17") << changed(PaletteBase24, "\"base24\"", "base17")
                                       << "system \"base17\" is neither base16 nor base24";
        QTest::newRow("broken YAML") << QByteArray("scheme: x\nbase00: \"201a17\"\nbase01: [1, 2\n")
                                     << "not valid YAML: line ...";
        QTest::newRow("KDE, group missing") << changed(KdeColors, "[Colors:Tooltip]", "[Colors:ToolTip]")
                                            << "[Colors:Tooltip] is missing";
        // Keys are case-sensitive, and a nested group is another group.
        QTest::newRow("KDE, key in lower case") << changed(KdeColors, "BackgroundNormal=250,251,247", "backgroundnormal=250,251,247")
                                                << "BackgroundNormal in [Colors:View] is missing";
        QTest::newRow("KDE, two components") << changed(KdeColors, "BackgroundNormal=250,251,247", "BackgroundNormal=250,251")
                                             << notColour("BackgroundNormal in [Colors:View]", "\"250,251\"", KdeColourForm);
        QTest::newRow("KDE, over 255") << changed(KdeColors, "ForegroundNormal=255,255,255", "ForegroundNormal=256,255,255")
                                       << notColour("ForegroundNormal in [Colors:Selection]", "\"256,255,255\"", KdeColourForm);
        QTest::newRow("KDE, negative") << changed(KdeColors, "DecorationFocus=46,120,180\nForeground", "DecorationFocus=-46,120,180\nForeground")
                                       << notColour("DecorationFocus in [Colors:View]", "\"-46,120,180\"", KdeColourForm);
        // Hostile: 200 000 open brackets; one under the size cap; an alias bomb.
        QTest::newRow("200 000 brackets") << QByteArray(200000, '[')
                                          << "larger than 64 KiB, too large for a base16 or base24 scheme";
        QTest::newRow("60 000 brackets") << QByteArray(60000, '[') << "nested more than 16 levels deep";
        QTest::newRow("17 levels") << FlatBase16 + "deep: " + QByteArray(16, '[') + QByteArray(16, ']') + "\n"
                                   << "nested more than 16 levels deep";
        QByteArray bomb = "a0: &a0 [\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\",\"lol\"]\n";
        for (int k = 1; k < 10; ++k) {
            bomb += QStringLiteral("a%1: &a%1 [").arg(k).toUtf8();
            for (int j = 0; j < 9; ++j)
                bomb += QStringLiteral("%1*a%2").arg(j ? "," : "").arg(k - 1).toUtf8();
            bomb += "]\n";
        }
        QTest::newRow("alias bomb") << bomb << notScheme;
    }
    void refusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(20);   // a reader that hangs ends the test
        const SchemeReading reading = ReadScheme(bytes, QStringLiteral("input"));
        ::alarm(0);
        QVERIFY(!reading.scheme);
        // yaml-cpp's own words are not pinned down, only where it found the fault.
        if (reason.endsWith(QLatin1String("...")))
            QVERIFY2(reading.error.startsWith(reason.chopped(3)), qPrintable(reading.error));
        else
            QCOMPARE(reading.error, reason);
    }

    // What is refused before a byte is parsed, as Import refuses it.
    void files_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing" << "file not found";
        QTest::newRow("FIFO") << "fifo" << "not a regular file";
        QTest::newRow("link to /dev/zero") << "zero" << "not a regular file";
        QTest::newRow("over 16 MiB") << "big" << "larger than 16 MiB";
        QTest::newRow("unreadable") << "locked" << "could not be read";
        QTest::newRow("16 MiB of INI") << "ini" << "BackgroundNormal in [Colors:View] is missing";
    }
    void files()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(kind + QStringLiteral(".scheme"));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind == "big")
            QVERIFY(WriteTestFile(path, QByteArray(MaxReadBytes + 1, '\n')));
        else if (kind == "ini")
            QVERIFY(WriteTestFile(path, "[Colors:View]\n" + QByteArray(MaxReadBytes - 20, 'a').replace(0, 1, "\n")));
        else if (kind == "locked") {
            QVERIFY(WriteTestFile(path, FlatBase16) && QFile::setPermissions(path, QFile::Permissions())
                    && ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0);
        }
        const int fsuid = kind == "locked" ? ::setfsuid(65534) : -1;   // root reads any file, but not as 65534
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(20);   // a FIFO opened for reading would wait for a writer
        const SchemeReading reading = ReadSchemeFile(path);
        ::alarm(0);
        ::setfsuid(fsuid);
        QVERIFY(!reading.scheme);
        QCOMPARE(reading.error, reason);
    }

    // Distances to two places; below 0.01 as "< 0.01".
    void note()
    {
        SchemeTheme theme;
        QCOMPARE(AdjustmentNote(theme), QStringLiteral("No colour needed adjusting."));
        theme.adjusted = {{15, Qt::gray, Qt::black, 0.0812}, {26, Qt::gray, Qt::black, 0.004}};
        QCOMPARE(AdjustmentNote(theme), QStringLiteral("Adjusted for readability: User text color by 0.08, Focus color by < 0.01 (distances in OKLab)."));
    }

    // ExistingFile::Keep writes no file through a link that points nowhere
    // (Convert looks first, but another program may make one in between).
    void keepExisting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ashes.theme"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere.theme")), path));
        const QStringList before = TreeSnapshot(dir.path());
        QCOMPARE(WriteWholeFile(path, "name=New\r\n", WriteOptions::KeepExisting()).value_or(QString()), QStringLiteral("File exists"));
        QCOMPARE(TreeSnapshot(dir.path()), before);
    }

    // The program: one line per scheme, the files as Save writes them, an
    // existing file kept, nothing else left on disk, and no display.
    void convert()
    {
        QTemporaryDir root;
        const QString in = root.filePath(QStringLiteral("in")), out = root.filePath(QStringLiteral("in/out"));
        const QString home = root.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(out) && QDir().mkpath(home));
        QVERIFY(WriteTestFile(in + QStringLiteral("/ember.yml"), FlatBase16)
                && WriteTestFile(in + QStringLiteral("/lantern.yaml"), changed(PaletteBase24, "'Paper Lantern'", "\"Paper\\r\\ncontrol=0,0,0 Lantern \\u2013 \\u6771\""))
                && WriteTestFile(in + QStringLiteral("/harbour.colors"), KdeColors)
                && WriteTestFile(in + QStringLiteral("/broken.yml"), changed(FlatBase16, "base0d: \"6f9fd8\"", ""))
                && WriteTestFile(in + QStringLiteral("/moss.yml"), PaletteBase16)
                && WriteTestFile(out + QStringLiteral("/moss.theme"), "name=Mine\r\n"));
        const QStringList homeBefore = TreeSnapshot(home);
        const QStringList outBefore = TreeSnapshot(out);
        const auto outside = [&] {
            QStringList entries = TreeSnapshot(in);
            entries.removeIf([&](const QString& e) { return e.startsWith(out); });
            return entries;
        };
        const QStringList inBefore = outside();

        const ProgramRun run = RunProgram({"--convert", "ember.yml", "lantern.yaml", "harbour.colors", "broken.yml", "moss.yml",
                                    "--output-dir", "out"}, in, home);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.status, 1);
        const auto adjusted = [&](const QString& file) {
            const qsizetype n = MapScheme(*ReadSchemeFile(in + u'/' + file).scheme).adjusted.size();
            return QStringLiteral("%1 colour%2 adjusted for readability").arg(n).arg(n == 1 ? "" : "s");
        };
        QCOMPARE(run.out, QStringLiteral("ember.yml: wrote out/ember.theme (%1)\n"
                                         "lantern.yaml: wrote out/lantern.theme (%2; name \"Paper\\r\\ncontrol=0,0,0 Lantern \u2013 \u6771\" "
                                         "written as \"Paper control=0,0,0 Lantern \u2013\")\n"
                                         "harbour.colors: wrote out/harbour.theme (%3)\n"
                                         "broken.yml: error: base0D is missing\n"
                                         "moss.yml: error: out/moss.theme already exists\n")
                              .arg(adjusted("ember.yml"), adjusted("lantern.yaml"), adjusted("harbour.colors")));
        QCOMPARE(TreeSnapshot(home), homeBefore);
        QCOMPARE(outside(), inBefore);
        QStringList outAfter = TreeSnapshot(out);
        QCOMPARE(outAfter.size(), outBefore.size() + 3);
        QCOMPARE(outAfter.filter(QStringLiteral("moss.theme")), outBefore);

        // Name first and one line; then every colour slot in order, surfaces as in the scheme.
        QList<QByteArray> rows = ReadTestFile(out + QStringLiteral("/lantern.theme")).split('\n');
        QCOMPARE(rows.takeLast(), QByteArray());
        QCOMPARE(rows.size(), 1 + ColorSlotCount);
        QCOMPARE(rows[0], QByteArray("name=Paper control=0,0,0 Lantern \x96\r"));
        for (int slot = 0; slot < ColorSlotCount; ++slot)
            QVERIFY2(rows[1 + slot].startsWith(SlotTable[slot].key) && rows[1 + slot].endsWith('\r'), rows[1 + slot].constData());
        QCOMPARE(rows[1 + 18], QByteArray("windowbackground=251,248,239\r"));
        QVERIFY(ReadTestFile(out + QStringLiteral("/harbour.theme")).startsWith("name=Harbour Light\r\ncontrol=236,238,232\r\n"));

        const ProgramRun check = RunProgram({"--check", "out/ember.theme", "out/lantern.theme", "out/harbour.theme"}, in, home);
        QCOMPARE(check.out, QStringLiteral("out/ember.theme: ok (12 pairs readable)\n"
                                           "out/lantern.theme: ok (12 pairs readable)\n"
                                           "out/harbour.theme: ok (12 pairs readable)\n"));
        QCOMPARE(check.status, 0);
        QCOMPARE(TreeSnapshot(home), homeBefore);  // no recovery copy, nor its folder
    }

    // Schemes whose themes would take the same file name, in any letter
    // case: the first given takes it, whether or not it can be written, and
    // the later one is refused naming it, however the threads run.
    void sameName()
    {
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("a"))) && QDir().mkpath(root.filePath(QStringLiteral("b"))));
        QRandomGenerator random(11);
        QStringList args{"--convert"}, expected;
        for (int i = 0; i < 24; ++i) {
            // The first of a pair takes longer to convert than the second.
            const QString first = QStringLiteral("a/p%1.yaml").arg(i);
            const QString second = (i % 2 ? QStringLiteral("b/P%1.colors") : QStringLiteral("b/p%1.colors")).arg(i);
            const bool broken = i % 4 == 3;
            QByteArray slow = RandomBase16Scheme(random, false);
            QVERIFY(WriteTestFile(root.filePath(first), broken ? changed(slow, "base05", "base5") : slow)
                    && WriteTestFile(root.filePath(second), KdeColors));
            args << first << second;
            expected << (broken ? first + QStringLiteral(": error: base05 is missing") : first + QStringLiteral(": wrote out/p%1.theme").arg(i))
                     << second + QStringLiteral(": error: out/%1.theme is already taken by %2").arg(QFileInfo(second).completeBaseName(), first);
        }
        const ProgramRun run = RunProgram(args + QStringList{"--output-dir", "out"}, root.path(), root.path());
        QCOMPARE(run.status, 1);
        QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        for (QString& line : lines)
            line = line.section(QStringLiteral(" ("), 0, 0);
        QCOMPARE(lines, expected);
    }

    // For scripts: a missing folder made, an existing theme kept unless
    // --overwrite replaces it whole, names a theme can hold and output names
    // never hidden, each scheme on one line; a refused scheme exits 1, a
    // folder that cannot be used 2 with nothing written.
    void scriptable()
    {
        QTemporaryDir root;
        const QString dir = root.path();
        QVERIFY(WriteTestFile(root.filePath(QStringLiteral("deep sea.yaml")), changed(FlatBase16, "\"Ember Coast\"", "\"\u6D77\u6D0B Deep Sea \U0001F30A\""))
                && WriteTestFile(root.filePath(QStringLiteral(".moss.yml")), PaletteBase16)
                && WriteTestFile(root.filePath(QStringLiteral("two\nlines.yml")), FlatBase16)
                && WriteTestFile(root.filePath(QStringLiteral("a file")), "x"));
        const auto lines = [](const ProgramRun& run) {
            QStringList out = run.out.split(u'\n', Qt::SkipEmptyParts);
            for (QString& line : out)
                line = line.section(QStringLiteral(" ("), 0, 0);
            return out;
        };
        ProgramRun run = RunProgram({"--convert", "deep sea.yaml", ".moss.yml", "two\nlines.yml", "--output-dir", "new/themes"}, dir, dir);
        QCOMPARE(run.status, 0);
        QCOMPARE(lines(run), QStringList({"deep sea.yaml: wrote new/themes/deep sea.theme", ".moss.yml: wrote new/themes/moss.theme",
                                          "two\\nlines.yml: wrote new/themes/two\\nlines.theme"}));
        QVERIFY(run.out.contains(QStringLiteral("name \"\u6D77\u6D0B Deep Sea \U0001F30A\" written as \"Deep Sea\"")));
        QVERIFY(ReadTestFile(root.filePath(QStringLiteral("new/themes/deep sea.theme"))).startsWith("name=Deep Sea\r\ncontrol="));

        QVERIFY(WriteTestFile(root.filePath(QStringLiteral("new/themes/moss.theme")), "name=Mine\r\n"));
        const QStringList kept = TreeSnapshot(root.filePath(QStringLiteral("new")));
        run = RunProgram({"--convert", ".moss.yml", "--output-dir", "new/themes"}, dir, dir);
        QCOMPARE(lines(run), QStringList{".moss.yml: error: new/themes/moss.theme already exists"});
        QCOMPARE(run.status, 1);
        QCOMPARE(TreeSnapshot(root.filePath(QStringLiteral("new"))), kept);
        run = RunProgram({"--convert", ".moss.yml", "--output-dir", "new/themes", "--overwrite"}, dir, dir);
        QCOMPARE(run.status, 0);
        QVERIFY(ReadTestFile(root.filePath(QStringLiteral("new/themes/moss.theme"))).startsWith("name=Moss Night\r\n"));
        QCOMPARE(TreeSnapshot(root.filePath(QStringLiteral("new"))).size(), kept.size());   // no temporary file left

        for (const char* unusable : {"a file", "a file/under"}) {
            const QStringList before = TreeSnapshot(dir);
            run = RunProgram({"--convert", ".moss.yml", "--output-dir", unusable}, dir, dir);
            QCOMPARE(run.status, 2);
            QCOMPARE(run.out, QString());
            QVERIFY2(run.err.startsWith(QStringLiteral("ovex-theme-editor: The output folder '%1' ").arg(unusable)), qPrintable(run.err));
            QCOMPARE(TreeSnapshot(dir), before);
        }
    }

    // Hostile files through the program, held to 1 GiB of address space (the
    // worker threads reserve some 600 MiB of it but use little):
    // each refused with its reason, none of them a crash.
    void hostileInProgram()
    {
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("out"))));
        QVERIFY(WriteTestFile(root.filePath(QStringLiteral("deep.yml")), QByteArray(60000, '{'))
                && WriteTestFile(root.filePath(QStringLiteral("flow.yml")), "[" + QByteArray(32000, '1').replace("1", "1,").left(MaxYamlSchemeBytes - 2) + "]")
                && WriteTestFile(root.filePath(QStringLiteral("huge.yml")), QByteArray(MaxReadBytes, '['))
                && WriteTestFile(root.filePath(QStringLiteral("ember.yml")), FlatBase16));
        const ProgramRun run = RunProgram({"--convert", "deep.yml", "flow.yml", "huge.yml", "ember.yml", "--output-dir", "out"},
                                   root.path(), root.path(), 1024);
        QCOMPARE(run.err, QString());
        const QStringList lines = run.out.split(u'\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("deep.yml: error: nested more than 16 levels deep"));
        QCOMPARE(lines[1], QStringLiteral("flow.yml: error: not a base16, base24 or KDE colour scheme"));
        QCOMPARE(lines[2], QStringLiteral("huge.yml: error: larger than 64 KiB, too large for a base16 or base24 scheme"));
        QVERIFY(lines[3].startsWith(QStringLiteral("ember.yml: wrote out/ember.theme")));
        QCOMPARE(run.status, 1);
    }
};

OVEX_TEST_MAIN(SchemesTest)
#include "tst_schemes.moc"
