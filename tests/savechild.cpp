// A child process for tst_killedsave: saves the two contents of
// KilledSaveContent.h in turn, for ever, until it is killed.
//   ovex_savechild writer PATH   through WriteWholeFile
//   ovex_savechild editor PATH   through IO_CreateFile2 on an offscreen window
// After three saves it prints "ready MICROSECONDS" (the mean time of one
// save) on standard output, so the test can spread its kills over a save.
#include "KilledSaveContent.h"

#include "app/frmMain.h"
#include "fileio/FileWriter.h"
#include "theme/SaveTheme.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

using namespace ovex;

namespace {

// Messages would pile up over thousands of saves; only failures matter.
class StderrMessages final : public MessageBoxService
{
public:
    void Show(const QString& text, const QString& title, MessageStyle style) override
    {
        if (style == MessageStyle::Critical)
            std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

int loop(const std::function<void(char)>& save)
{
    QElapsedTimer timer;
    timer.start();
    char which = 'B';
    for (long n = 0;; ++n) {
        save(which);
        which = which == 'A' ? 'B' : 'A';
        if (n == 2) {
            std::printf("ready %lld\n", static_cast<long long>(timer.nsecsElapsed() / 3000));
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s writer|editor PATH\n", argv[0]);
        return 2;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);

    if (mode == u"writer") {
        const QByteArray bytes[2] = {test::KilledSaveBytes('A'), test::KilledSaveBytes('B')};
        return loop([&](char which) {
            if (const auto failure = WriteWholeFile(path, bytes[which == 'B']))
                std::fprintf(stderr, "%s\n", qPrintable(*failure));
        });
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    frmMain window(DesktopServices{std::make_unique<FakeCommonDialog>(),
                                   std::make_unique<StderrMessages>(), std::make_unique<FakeWebOpener>()});
    Editor& editor = window.editor();
    const QString names[2] = {test::KilledSaveName('A'), test::KilledSaveName('B')};
    return loop([&](char which) {
        editor.txtThemeName->setText(names[which == 'B']);
        window.IO_CreateFile2(path, editor.SaveKeys);
    });
}
