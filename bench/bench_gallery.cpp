// The theme gallery on a folder of 250 converted themes, beside a plain
// Import of the same themes; then scrolling, memory, and a folder of 10000
// files. Runs offscreen.
//   ovex_bench_gallery [Google Benchmark flags, e.g. --benchmark_repetitions=3]
#include "app/AppSetup.h"
#include "app/SchemeConvert.h"
#include "app/frmMain.h"
#include "preview/GalleryModel.h"
#include "preview/GalleryPictures.h"
#include "preview/GalleryWindow.h"
#include "SampleSchemes.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <malloc.h>

using namespace ovex;

namespace {

struct Bench
{
    QTemporaryDir disk;
    QString folder;       // 250 themes converted from base16 schemes of random colours
    QString bigFolder;    // 10000 theme files
    QStringList themes;
    FakeCommonDialog* cd = nullptr;
    std::unique_ptr<frmMain> window;

    Bench()
    {
        auto dialog = std::make_unique<FakeCommonDialog>();
        cd = dialog.get();
        window = std::make_unique<frmMain>(DesktopServices{std::move(dialog), std::make_unique<FakeMessageBox>(),
                                                           std::make_unique<FakeWebOpener>()});
        folder = disk.filePath(QStringLiteral("themes"));
        bigFolder = disk.filePath(QStringLiteral("many"));
        QDir().mkpath(folder);
        QDir().mkpath(bigFolder);
        QRandomGenerator random(250);
        QStringList schemes;
        for (int i = 0; i < 250; ++i) {
            const QString path = disk.filePath(QStringLiteral("scheme%1.yaml").arg(i));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(test::RandomBase16Scheme(random, i % 3 == 0)) < 0)
                qFatal("cannot write a scheme");
            schemes << path;
        }
        QString lines;
        QTextStream out(&lines);
        if (RunSchemeConvert(QStringLiteral("bench"), schemes, folder, Overwrite::Keep, out, out) != 0)
            qFatal("a scheme was not converted");
        for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
            themes << QDir(folder).filePath(name);
        for (int i = 0; i < 10000; ++i)
            QFile::copy(themes[i % themes.size()], QDir(bigFolder).filePath(QStringLiteral("t%1.theme").arg(i)));
    }

    // View, Theme Gallery on folder, as a user opens it after importing from there.
    GalleryWindow* open(const QString& on)
    {
        cd->FileName = on + QStringLiteral("/last.theme");
        window->findChild<QAction*>(QStringLiteral("mnuGallery"))->trigger();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* g = qobject_cast<GalleryWindow*>(w); g && g->isVisible())
                return g;
        return nullptr;
    }
};

Bench* g_bench = nullptr;

// Runs the event loop until done() holds; false after 30 s.
template <typename Done>
bool runUntil(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 30000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    // What the last events asked to be painted.
    QCoreApplication::processEvents();
    return true;
}

// How many entries the window shows at once, before any scrolling.
int firstScreen(const GalleryWindow* gallery)
{
    const QSize tile = gallery->View()->sizeHintForIndex(gallery->Proxy()->index(0, 0)) + QSize(8, 8);
    const QSize view = gallery->View()->viewport()->size();
    return std::max(1, view.width() / tile.width()) * ((view.height() + tile.height() - 1) / tile.height());
}

void closeGallery(GalleryWindow* gallery)
{
    delete gallery;   // waits for the pictures still being drawn
    QCoreApplication::processEvents();
}

// From View, Theme Gallery on the 250 themes until done(gallery) holds.
template <typename Done>
void measureOpening(benchmark::State& state, Done done)
{
    for (auto _ : state) {
        GalleryWindow* gallery = g_bench->open(g_bench->folder);
        if (!gallery || !runUntil([&] { return done(gallery); }))
            state.SkipWithError("the gallery never got there");
        state.PauseTiming();
        closeGallery(gallery);
        state.ResumeTiming();
    }
}

// Until the first screen of entries (names and grades) is painted.
void BM_Gallery_FirstScreen_250(benchmark::State& state)
{
    measureOpening(state, [](GalleryWindow* g) { return g->Proxy()->rowCount() >= std::min(250, firstScreen(g)); });
}

// Until every one of the 250 entries is read and graded.
void BM_Gallery_AllEntries_250(benchmark::State& state)
{
    measureOpening(state, [](GalleryWindow* g) { return !g->Model()->Busy() && g->Proxy()->rowCount() == 250; });
}

// Until all 250 pictures are drawn and the screen shows its own.
void BM_Gallery_AllPictures_250(benchmark::State& state)
{
    measureOpening(state, [](GalleryWindow* g) { return g->Pictures()->Count() == 250; });
}

// One file read as Import reads it, graded, and its lightness measured,
// beside the reading alone.
void BM_Gallery_ReadEntry(benchmark::State& state)
{
    const auto fs = IO_CreateFileSystem();
    const QList<ThemeFolderFile> files = ListThemeFolder(g_bench->folder);
    qsizetype i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadGalleryEntry(*fs, files[i++ % files.size()]));
}

void BM_Baseline_ReadThemeFile(benchmark::State& state)
{
    const auto fs = IO_CreateFileSystem();
    qsizetype i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadThemeFile(*fs, g_bench->themes[i++ % g_bench->themes.size()]));
}

// The baseline: File, Import of each of the same 250 themes, one after the
// other, each painted.
void BM_Baseline_Import_250(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QString& theme : g_bench->themes) {
            g_bench->window->OpenThemeFile(theme);
            QCoreApplication::processEvents();
        }
    }
}

// One frame of scrolling through 250 drawn entries: a wheel step and the
// repaint it causes.
void BM_Gallery_ScrollFrame_250(benchmark::State& state)
{
    GalleryWindow* gallery = g_bench->open(g_bench->folder);
    if (!gallery || !runUntil([&] { return gallery->Pictures()->Count() == 250; })) {
        state.SkipWithError("the pictures did not come");
        return;
    }
    QScrollBar* bar = gallery->View()->verticalScrollBar();
    int step = 120;
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < 0)
            step = -step;
        bar->setValue(bar->value() + step);
        gallery->View()->viewport()->repaint();
    }
    closeGallery(gallery);
}

// A folder of 10000 theme files: until every entry is read, and the longest
// the window waits for its event loop meanwhile.
void BM_Gallery_10000Files(benchmark::State& state)
{
    qint64 longest = 0;
    for (auto _ : state) {
        GalleryWindow* gallery = g_bench->open(g_bench->bigFolder);
        QElapsedTimer gap;
        gap.start();
        if (!gallery || !runUntil([&] {
                longest = std::max(longest, gap.restart());
                return !gallery->Model()->Busy() && gallery->Model()->rowCount() == 10000;
            }))
            state.SkipWithError("the entries did not come");
        state.PauseTiming();
        closeGallery(gallery);
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = double(longest);
}

// Resident memory in KiB.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// What the gallery of 250 drawn entries holds above the editor's own.
void printMemory()
{
    malloc_trim(0);
    const long before = residentKiB();
    GalleryWindow* gallery = g_bench->open(g_bench->folder);
    if (!gallery || !runUntil([&] { return gallery->Pictures()->Count() == 250; }))
        return;
    const long open = residentKiB();
    closeGallery(gallery);
    malloc_trim(0);
    std::printf("\nmemory: editor %.1f MiB; with the gallery of 250 drawn entries %.1f MiB, %.1f MiB more (target < 100 MiB); "
                "%.1f MiB after it closed\n",
                before / 1024.0, open / 1024.0, (open - before) / 1024.0, residentKiB() / 1024.0);
}

} // namespace

BENCHMARK(BM_Gallery_FirstScreen_250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gallery_AllEntries_250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gallery_AllPictures_250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_Import_250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gallery_ReadEntry)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_ReadThemeFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Gallery_ScrollFrame_250)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gallery_10000Files)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ConfigureApplication(app);
    Bench bench;
    if (!bench.disk.isValid() || bench.themes.size() != 250)
        qFatal("cannot make the themes");
    bench.window->show();
    QCoreApplication::processEvents();
    g_bench = &bench;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // First, while nothing else has used the heap.
    printMemory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
