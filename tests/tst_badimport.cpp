// Import on inputs that are broken, hostile or odd: no crash, no hang, the
// message and editor state the import defines, and nothing written. Likewise
// recovery copies: each refused for its reason, passed over for an older
// good copy, and left as it is.
#include "SampleCopy.h"
#include "TestFiles.h"
#include "TestSupport.h"
#include "TreeSnapshot.h"
#include "recovery/RecoveryFolder.h"
#include "theme/NewTheme.h"
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
using namespace ovex;
using State = QMap<QString, QString>;  // what the editor shows, by field
Q_DECLARE_METATYPE(ovex::CopyDefect)
static State colour(int slot, const QString& tag, ColorValue color, State s, int ticked = 1) {
    s.insert({{QStringLiteral("tick%1").arg(slot), QString::number(ticked)}, {QStringLiteral("tag%1").arg(slot), tag},
              {QStringLiteral("color%1").arg(slot), QString::number(color)}});
    return s;
}
static State stateOf(const Editor& ed, const State& changes = {}) {
    State s{{"name", ed.txtThemeName->text()},
            {"lines", QString::number(ed.ImportLines.IsDimensioned() ? ed.ImportLines.UBound() + 1 : -1)}};
    for (int k = 0; k < SlotCount; ++k) s = colour(k, ed.slots.s[k]->Tag(), ed.slots.s[k]->BackColor(), s, ed.slots.Value(k));
    for (int k = 0; k < SizeSlotCount; ++k) s[QStringLiteral("size%1").arg(k)] = ed.slots.sizeBox[k]->text();
    return s.insert(changes), s;
}
// An open dialog that can act between its answer and the import's read.
struct Dialog final : CommonDialog {
    std::function<void()> chosen;
    DialogResult ShowOpen() override { return chosen(), DialogResult::Chosen; }
    DialogResult ShowSave() override { return DialogResult::Cancelled; }
    DialogResult ShowColor() override { return ShowSave(); }
};
class BadImportTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_base;
private Q_SLOTS:
    void badInput_data() {
        QTest::addColumn<QString>("kind"), QTest::addColumn<QByteArray>("bytes");  // kind: how to make the input
        QTest::addColumn<QString>("message"), QTest::addColumn<State>("changes");  // to a New editor, if no message
        const QString notFound = QStringLiteral("Sorry! File not found in this folder.");
        QByteArray random;
        QRandomGenerator generator(7);
        for (int i = 0; i < 64 * 1000; ++i)  // 64 lines, none starting with a key
            if (const char c = char(generator.bounded(256)); i % 1000 == 0 || (c != '\r' && c != '\n'))
                random += i % 1000 == 0 ? QByteArray("\r\n\x80") : QByteArray(1, c);
        QTest::newRow("random binary") << "" << random.mid(2) + "\r\n" << "" << State{{"lines", "64"}};
        QTest::newRow("NUL bytes") << "" << QByteArray("name=Ni\0ght\r\ncontrol=1,2\0,3\r\n", 29) << ""
            << colour(0, QStringLiteral("1,2") + QChar(0) + ",3", 1 + 65536 * 3,  // green "2\0" reads as 0
                      {{"name", QStringLiteral("Ni") + QChar(0) + "ght"}, {"lines", "2"}});
        const QByteArray huge(1024 * 1024, 'x');
        QTest::newRow("1 MiB line") << "" << "focuscolor=1,2,3" + huge + "\r\n" << ""
            << colour(26, "1,2,3" + QString::fromLatin1(huge), 1 + 256 * 2, {{"lines", "1"}});
        // With the preview open, which draws the name in its title bar.
        const QByteArray longName(15 * 1024 * 1024, 'n');
        QTest::newRow("15 MiB name, preview open") << "preview" << "name=" + longName + "\r\n" << ""
            << State{{"name", QString::fromLatin1(longName)}, {"lines", "1"}};
        QTest::newRow("symbolic link to /dev/zero") << "zero" << QByteArray() << notFound << State();
        QTest::newRow("unreadable file") << "locked" << QByteArray("name=Locked\r\n")
                                         << QStringLiteral("Sorry! The file could not be read.") << State();
        QTest::newRow("deleted between dialog and read") << "gone" << QByteArray("name=Gone\r\n") << notFound << State();
    }
    void badInput() {
        QFETCH(QString, kind); QFETCH(QByteArray, bytes);
        QFETCH(QString, message); QFETCH(State, changes);
        QVERIFY(m_base.isValid() && ::chmod(QFile::encodeName(m_base.path()).constData(), 0755) == 0);
        const QString dir = m_base.filePath(QString::fromLatin1(QTest::currentDataTag()));
        const QString path = dir + QStringLiteral("/input.theme");
        QVERIFY(QDir().mkpath(dir));
        if (QFile file(path); kind == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
                    && file.setPermissions(kind == "locked" ? QFile::Permissions() : file.permissions()));
        QStringList filesBefore = TreeSnapshot(dir);
        // An editor holding a theme, so that both "untouched" and "as New" show.
        auto* cd = new Dialog;
        auto* messages = new FakeMessageBox;
        frmMain window(DesktopServices{std::unique_ptr<Dialog>(cd), std::unique_ptr<FakeMessageBox>(messages),
                                       std::make_unique<FakeWebOpener>()});
        Editor& editor = window.editor();
        editor.txtThemeName->setText(QStringLiteral("Before"));
        editor.slots.chk[5]->click();
        editor.slots.sizeBox[0]->setText(QStringLiteral("9"));
        const State before = stateOf(editor);
        // "gone" is removed after the answer, before the read.
        cd->chosen = [&] {
            cd->FileName = path;
            if (kind == "gone") {
                QFile::remove(path);
                filesBefore.clear();
            }
        };
        if (kind == "preview")
            window.findChild<QAction*>(QStringLiteral("mnuPreview"))->trigger();
        const int fsuid = kind == "locked" ? ::setfsuid(65534) : -1;  // root reads any file, but not as 65534
        // A hanging import ends the test after 60 s.
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(60);
        window.findChild<QAction*>(QStringLiteral("mnuImport"))->trigger();
        ::alarm(0);
        ::setfsuid(fsuid);  // -1 changes nothing
        const auto& shown = messages->Shown();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        QVERIFY(message.isEmpty() || (shown[0].text == message && shown[0].title == "File Input Error"
                                      && shown[0].style == MessageStyle::Information));
        test::TestEditor fresh;
        NewTheme(fresh.editor());
        const State want = message.isEmpty() ? stateOf(fresh.editor(), changes) : before;
        const State got = stateOf(editor);
        for (auto it = want.cbegin(); it != want.cend(); ++it)
            QVERIFY2(got[it.key()] == it.value(), qPrintable(it.key() + ": " + got[it.key()].left(60)));
        QCOMPARE(TreeSnapshot(dir), filesBefore);
        if (kind == "preview") {
            // One change and the preview's repaint: far within 2 s (a whole name laid out took 16 s).
            QWidget* preview = nullptr;
            for (QWidget* w : test::visibleWindows())
                preview = w->objectName() == "frmPreview" ? w : preview;
            QVERIFY(preview);
            QElapsedTimer timer;
            timer.start();
            editor.slots.chk[19]->click();
            preview->grab();
            QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
        }
    }
    // A newer copy that is bad in some way, beside an older good one.
    void badRecoveryCopy_data() {
        QTest::addColumn<QString>("kind"), QTest::addColumn<QByteArray>("bytes");  // kind: how to make the file
        QTest::addColumn<CopyDefect>("defect");
        const QByteArray newer = test::Encoded(test::SampleCopy(9));
        QByteArray flipped = newer;
        flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x10);
        QTest::newRow("truncated") << "" << newer.chopped(10) << CopyDefect::Truncated;
        QTest::newRow("empty") << "" << QByteArray() << CopyDefect::Truncated;
        QTest::newRow("bit-flipped") << "" << flipped << CopyDefect::Damaged;
        QTest::newRow("a theme file") << "" << QByteArray("name=Night\r\n") << CopyDefect::Foreign;
        QTest::newRow("over 1 MiB") << "" << newer + QByteArray(1024 * 1024, '\0') << CopyDefect::Oversized;
        QTest::newRow("future version") << "" << test::WithVersion(newer, RecoveryFormatVersion + 1) << CopyDefect::FutureVersion;
        QTest::newRow("link to a good copy") << "link" << newer << CopyDefect::NotOurs;
        QTest::newRow("link to /dev/zero") << "zero" << QByteArray() << CopyDefect::NotOurs;
        QTest::newRow("FIFO") << "fifo" << QByteArray() << CopyDefect::NotOurs;
        QTest::newRow("a folder") << "folder" << QByteArray() << CopyDefect::NotOurs;
        QTest::newRow("another user's") << "other" << newer << CopyDefect::NotOurs;
        QTest::newRow("readable by others") << "0644" << newer << CopyDefect::NotOurs;
    }
    void badRecoveryCopy() {
        QFETCH(QString, kind); QFETCH(QByteArray, bytes); QFETCH(CopyDefect, defect);
        if (kind == "other" && ::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        const QString dir = m_base.filePath(QStringLiteral("recovery ") + QString::fromLatin1(QTest::currentDataTag()));
        const QString older = test::EndedCopy(dir, test::SampleCopy(1));
        // Named as ended work is, and as an editor's live copy is.
        const QString path = dir + u'/' + KeptCopyName(test::SampleCopy(9).state), outside = dir + QStringLiteral(".copy");
        const QString live = dir + QStringLiteral("/1-bad.recovery");
        const QByteArray native = QFile::encodeName(path);
        if (QFile file(kind == "link" ? outside : path); kind == "zero" || kind == "fifo" || kind == "folder")
            QVERIFY(kind == "zero" ? QFile::link("/dev/zero", path) : kind == "fifo" ? ::mkfifo(native.constData(), 0600) == 0
                                                                                      : ::mkdir(native.constData(), 0700) == 0);
        else
            QVERIFY(!older.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
                    && file.setPermissions(kind == "0644" ? QFile::Permissions(0x6644) : QFile::ReadOwner | QFile::WriteOwner)
                    && (kind != "link" || QFile::link(outside, path))
                    && (kind != "other" || ::chown(native.constData(), 65534, 65534) == 0));
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(60);  // a read that waits on the FIFO ends the test
        const auto read = ReadRecoveryCopy(path);
        QVERIFY(std::holds_alternative<CopyDefect>(read));
        QCOMPARE(std::get<CopyDefect>(read), defect);
        QVERIFY(!kind.isEmpty() || (test::WriteTestFile(live, bytes) && QFile::setPermissions(live, QFile::ReadOwner | QFile::WriteOwner)));
        const RecoveryStore store(dir);
        const QStringList before = TreeSnapshot(dir);
        QCOMPARE(store.TakeInLeftCopies(), 0);
        QCOMPARE(ListKeptCopies(dir), (QList<KeptCopy>{{older, test::SampleCopy(1)}}));
        QCOMPARE(store.RemoveStale(QDateTime::currentMSecsSinceEpoch()), 0);
        ::alarm(0);
        QCOMPARE(TreeSnapshot(dir), before);
    }
};
OVEX_TEST_MAIN(BadImportTest)
#include "tst_badimport.moc"
