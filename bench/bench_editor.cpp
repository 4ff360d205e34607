// The editor's commands beside baselines measured in the same run, with the
// ratios and the targets printed at the end. Runs offscreen.
//   ovex_bench [Google Benchmark flags, e.g. --benchmark_filter=Import]
#include "app/AppSetup.h"
#include "recovery/RecoveryKeeper.h"
#include "preview/PreviewWindow.h"
#include "preview/ThemePreview.h"
#include "app/GenerateDialog.h"
#include "app/RecoverDialog.h"
#include "app/SchemeConvert.h"
#include "app/ThemeCheck.h"
#include "app/ThemeRender.h"
#include "colour/ThemePicture.h"
#include "theme/ThemeFile.h"
#include "app/frmMain.h"
#include "fileio/Cp1252.h"
#include "colour/ContrastFix.h"
#include "colour/ImagePalette.h"
#include "colour/ThemeGenerator.h"
#include "preview/PreviewWindow.h"
#include "preview/ReadabilityPanel.h"
#include "preview/ThemePreview.h"
#include "SampleColors.h"
#include "SampleCopy.h"
#include "SampleSchemes.h"
#include "SamplePicture.h"
#include "schemes/SchemeFile.h"
#include "slots/MRW_Color.h"
#include "theme/NewTheme.h"
#include "theme/ThemeCapture.h"
#include "recovery/RecoveryStore.h"
#include "theme/ThemeKeys.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>

using namespace ovex;
using ovex::test::PaleFronts;
using namespace ovex::test;

namespace {

// Dialog and message box doubles that keep nothing, so a million calls cost
// the same as the first.
struct Dialog final : CommonDialog
{
    QString answer;
    ColorValue color = 0;
    DialogResult ShowOpen() override { return file(); }
    DialogResult ShowSave() override { return file(); }
    DialogResult ShowColor() override
    {
        Color = color;
        return DialogResult::Chosen;
    }
    DialogResult file()
    {
        FileName = answer;
        return DialogResult::Chosen;
    }
};

struct Messages final : MessageBoxService
{
    long count = 0;
    void Show(const QString&, const QString&, MessageStyle) override { ++count; }
};

struct Bench
{
    Dialog* cd = nullptr;
    Messages* messages = nullptr;
    std::unique_ptr<frmMain> window;
    QTemporaryDir disk;                                      // the temp folder's file system
    QTemporaryDir memory{QStringLiteral("/dev/shm/ovex-bench-XXXXXX")};  // tmpfs
    QString fullTheme;
    QString colourLines;
    QString shortName;
    QString longName;
    QByteArray fullThemeBytes;

    Bench()
    {
        auto dialog = std::make_unique<Dialog>();
        auto box = std::make_unique<Messages>();
        cd = dialog.get();
        messages = box.get();
        window = std::make_unique<frmMain>(
            DesktopServices{std::move(dialog), std::move(box), std::make_unique<FakeWebOpener>()});

        // A full theme: the name, 27 colours and 5 sizes.
        QByteArray full = "name=Benchmark Night\r\n";
        for (int k = 0; k < ColorSlotCount; ++k) {
            full += SlotTable[k].key + QByteArray::number(k * 9) + ',' + QByteArray::number(255 - k * 9) + ','
                  + QByteArray::number(k * 5) + "\r\n";
        }
        for (int k = FirstSizeSlot; k < SlotCount; ++k)
            full += SlotTable[k].key + QByteArray::number(k - 17) + "\r\n";
        fullThemeBytes = full;
        fullTheme = write(QStringLiteral("full.theme"), full);

        // 10000 colour lines of about 30 bytes each.
        QByteArray lines;
        for (int i = 0; i < 10000; ++i) {
            const int k = i % ColorSlotCount;
            lines += SlotTable[k].key + QByteArray::number(i % 256) + ',' + QByteArray::number((i / 7) % 256)
                   + ',' + QByteArray::number((i / 3) % 256) + "\r\n";
        }
        colourLines = write(QStringLiteral("lines.theme"), lines);

        // The name alone, of a usual length and of 15 MiB (within the 16 MiB read cap).
        shortName = write(QStringLiteral("shortname.theme"), "name=Benchmark Night\r\n");
        longName = write(QStringLiteral("longname.theme"), "name=" + QByteArray(15 * 1024 * 1024, 'n') + "\r\n");
    }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = disk.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    Editor& editor() const { return window->editor(); }
    void trigger(const char* action) const { window->findChild<QAction*>(QLatin1String(action))->trigger(); }

    // Every slot ticked with a value, as after importing the full theme.
    void fill() const
    {
        cd->answer = fullTheme;
        trigger("mnuImport");
    }
};

Bench* g_bench = nullptr;

// ------------------------------------------------------------------ import

// What the user waits for ends with the window repainted.
void settle() { QCoreApplication::processEvents(); }

void importFile(benchmark::State& state, const QString& path)
{
    g_bench->cd->answer = path;
    for (auto _ : state) {
        g_bench->trigger("mnuImport");
        settle();
    }
}

// The least the reading needs: read, decode, split into lines; twice, as the
// count pass and the reading pass each go over the file.
void readDecodeSplitTwice(benchmark::State& state, const QString& path)
{
    for (auto _ : state) {
        for (int pass = 0; pass < 2; ++pass) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("cannot read");
            const QString text = Cp1252_Decode(file.readAll());
            const QStringList lines = text.split(QStringLiteral("\r\n"));
            benchmark::DoNotOptimize(lines.size());
        }
    }
}

void BM_Import_FullTheme(benchmark::State& state) { importFile(state, g_bench->fullTheme); }
void BM_Baseline_ReadDecodeSplitTwice_FullTheme(benchmark::State& state)
{
    readDecodeSplitTwice(state, g_bench->fullTheme);
}
void BM_Import_10000Lines(benchmark::State& state) { importFile(state, g_bench->colourLines); }
void BM_Baseline_ReadDecodeSplitTwice_10000Lines(benchmark::State& state)
{
    readDecodeSplitTwice(state, g_bench->colourLines);
}

// ------------------------------------------------------------------ save

void saveTo(benchmark::State& state, const QTemporaryDir& dir)
{
    g_bench->fill();
    g_bench->cd->answer = dir.filePath(QStringLiteral("saved.theme"));
    for (auto _ : state) {
        g_bench->trigger("mnuSave");
        settle();
    }
    if (g_bench->editor().txtThemeName->text() != QStringLiteral("Benchmark Night"))
        state.SkipWithError("the theme was not filled");
}

void plainWrite(benchmark::State& state, const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("plain.theme"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(g_bench->fullThemeBytes) != g_bench->fullThemeBytes.size())
            state.SkipWithError("cannot write");
    }
}

void BM_Save_FullTheme_Disk(benchmark::State& state) { saveTo(state, g_bench->disk); }
void BM_Baseline_QFileWrite_Disk(benchmark::State& state) { plainWrite(state, g_bench->disk); }
void BM_Save_FullTheme_Tmpfs(benchmark::State& state) { saveTo(state, g_bench->memory); }
void BM_Baseline_QFileWrite_Tmpfs(benchmark::State& state) { plainWrite(state, g_bench->memory); }

// ------------------------------------------------------------------ recovery

// A recovery copy of the full theme as the editor keeps one after a change:
// the state read from the controls, encoded and written; beside Save above.
void writeRecoveryCopy(benchmark::State& state, const QTemporaryDir& dir)
{
    g_bench->fill();
    const RecoveryStore store(dir.filePath(QStringLiteral("recovery-write")));
    qint64 changedAt = QDateTime::currentMSecsSinceEpoch();
    for (auto _ : state) {
        if (store.Keep(RecoveryCopy{CaptureTheme(g_bench->editor()), ++changedAt, CopyEnding::Open}))
            state.SkipWithError("the copy was not written");
    }
    state.counters["copy_bytes"] = double(QFileInfo(store.LivePath()).size());
    store.RemoveLive();
}

void BM_RecoveryWrite_FullTheme_Disk(benchmark::State& state) { writeRecoveryCopy(state, g_bench->disk); }
void BM_RecoveryWrite_FullTheme_Tmpfs(benchmark::State& state) { writeRecoveryCopy(state, g_bench->memory); }

void BM_RecoveryEncode_FullTheme(benchmark::State& state)
{
    g_bench->fill();
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeRecoveryCopy(RecoveryCopy{CaptureTheme(g_bench->editor()), 0, CopyEnding::Open}));
}

// A folder of 100 copies left by closed editors, each with unsaved work.
const QString& hundredCopies()
{
    static const QString folder = [] {
        const QString path = g_bench->disk.filePath(QStringLiteral("recovery-100"));
        for (int i = 0; i < 100; ++i)
            ovex::test::EndedCopy(path, ovex::test::SampleCopy(i));
        return path;
    }();
    return folder;
}

// Listing the ended work: every copy read whole and decoded, one per state,
// newest first.
void BM_RecoveryList_100Copies(benchmark::State& state)
{
    const QString folder = hundredCopies();
    for (auto _ : state) {
        const QList<KeptCopy> listed = ListKeptCopies(folder);
        if (listed.size() != 100 || listed.first().copy.changedAtMs != 99)
            state.SkipWithError("not the 100 copies, newest first");
    }
}

// The clean-up that start-up leaves for later, over the same folder.
void BM_RecoveryRemoveStale_100Copies(benchmark::State& state)
{
    const RecoveryStore store(hundredCopies());
    for (auto _ : state) {
        if (store.RemoveStale(QDateTime::currentMSecsSinceEpoch()) != 0)
            state.SkipWithError("a copy with unsaved work was removed");
    }
}

// Reading the same 100 files whole with QFile.
void BM_Baseline_Read100Copies(benchmark::State& state)
{
    const QDir dir(hundredCopies());
    const QStringList names = dir.entryList({QStringLiteral("*.recovery")}, QDir::Files);
    for (auto _ : state) {
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("cannot read");
            benchmark::DoNotOptimize(file.readAll());
        }
    }
}

// A colour pick in a window that keeps recovery copies in a folder on disk,
// timed on the GUI thread: the change, the keeper noting it and, when
// written, the state read from the controls and handed to the worker, which
// writes it beside the GUI thread. Writing every change is what a change
// costs at most (the timer writes at most one a second); within a burst a
// change only notes its time.
void pickWithRecovery(benchmark::State& state, bool writeEach)
{
    auto dialog = std::make_unique<Dialog>();
    Dialog* cd = dialog.get();
    // Each run's window ends with unsaved work and leaves its copy.
    const QString folder = g_bench->disk.filePath(QStringLiteral("recovery-changes"));
    QDir(folder).removeRecursively();
    frmMain window(DesktopServices{std::move(dialog), std::make_unique<Messages>(), std::make_unique<FakeWebOpener>(), folder});
    window.show();
    settle();
    cd->answer = g_bench->fullTheme;
    window.findChild<QAction*>(QStringLiteral("mnuImport"))->trigger();
    RecoveryKeeper& keeper = *window.recovery();
    keeper.WriteNow();
    keeper.Settle();
    QPushButton* button = window.editor().slots.cmd[19];
    ColorValue value = 0;
    for (auto _ : state) {
        cd->color = value;
        button->click();
        if (writeEach)
            keeper.WriteNow();
        settle();
        value = (value + 0x010203) & 0xFFFFFF;
    }
    keeper.WriteNow();
    keeper.Settle();
    if (QDir(folder).entryList({QStringLiteral("*.recovery")}, QDir::Files).size() != 1)
        state.SkipWithError("no copy was written");
}

// Edit, Recover Unsaved Themes... with 100 pieces of ended work listed: the
// dialog shown until its first paint, or until every picture is drawn (off
// the GUI thread) and set.
class FirstPaint final : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && qobject_cast<QDialog*>(static_cast<QWidget*>(watched)->window()))
            painted = true;
        return false;
    }
};

void openRecoverList(benchmark::State& state, bool allPictures)
{
    frmMain window(DesktopServices{std::make_unique<Dialog>(), std::make_unique<Messages>(), std::make_unique<FakeWebOpener>(), hundredCopies()});
    window.show();
    settle();
    RecoveryKeeper& keeper = *window.recovery();
    keeper.LookUp();
    keeper.Settle();
    QAction* item = window.findChild<QAction*>(QStringLiteral("mnuRecover"));
    FirstPaint paint;
    qApp->installEventFilter(&paint);
    for (auto _ : state) {
        paint.painted = false;
        item->trigger();
        auto* dialog = window.findChild<RecoverDialog*>();
        while (!paint.painted || (allPictures && !dialog->PicturesDrawn()))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (allPictures)
            QCoreApplication::processEvents();  // the last icons set and painted
        state.PauseTiming();
        if (dialog->findChild<QListWidget*>()->count() != 100)
            state.SkipWithError("not 100 entries");
        delete dialog;
        keeper.Settle();
        settle();
        state.ResumeTiming();
    }
    qApp->removeEventFilter(&paint);
}

void BM_RecoverList_100Copies_Shown(benchmark::State& state) { openRecoverList(state, false); }

// A plain dialog with a list of 100 two-line entries, shown until its first paint.
void BM_Baseline_PlainListDialog(benchmark::State& state)
{
    QWidget owner;
    owner.show();
    settle();
    FirstPaint paint;
    qApp->installEventFilter(&paint);
    for (auto _ : state) {
        paint.painted = false;
        auto* dialog = new QDialog(&owner);
        auto* list = new QListWidget(dialog);
        (new QVBoxLayout(dialog))->addWidget(list);
        for (int i = 0; i < 100; ++i)
            list->addItem(QStringLiteral("Theme %1\nToday 15:33, closed").arg(i));
        dialog->show();
        while (!paint.painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.PauseTiming();
        delete dialog;
        settle();
        state.ResumeTiming();
    }
    qApp->removeEventFilter(&paint);
}
void BM_RecoverList_100Copies_AllPictures(benchmark::State& state) { openRecoverList(state, true); }

void BM_RecoveryPick_EachWritten(benchmark::State& state) { pickWithRecovery(state, true); }
void BM_RecoveryPick_InBurst(benchmark::State& state) { pickWithRecovery(state, false); }

// ------------------------------------------------------------------ new

void BM_New_FullTheme(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        g_bench->fill();
        settle();
        state.ResumeTiming();
        g_bench->trigger("mnuNew");
        settle();
    }
}

// The toolkit's share of New: untick 32 plain check boxes, reset 6 boxes,
// repaint.
void BM_Baseline_ResetPlainControls(benchmark::State& state)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    std::vector<QCheckBox*> boxes;
    std::vector<QLineEdit*> edits;
    for (int i = 0; i < SlotCount; ++i)
        boxes.push_back(new QCheckBox(QStringLiteral("Setting %1").arg(i), &form));
    for (int i = 0; i < 6; ++i)
        edits.push_back(new QLineEdit(&form));
    for (QCheckBox* box : boxes)
        layout->addWidget(box);
    for (QLineEdit* edit : edits)
        layout->addWidget(edit);
    form.show();
    for (auto _ : state) {
        state.PauseTiming();
        for (QCheckBox* box : boxes)
            box->setChecked(true);
        for (QLineEdit* edit : edits)
            edit->setText(QStringLiteral("x"));
        settle();
        state.ResumeTiming();
        for (QCheckBox* box : boxes)
            box->setChecked(false);
        for (QLineEdit* edit : edits)
            edit->setText(QStringLiteral("12"));
        settle();
    }
}

// ------------------------------------------------------------------ colours

void BM_Color_ToText(benchmark::State& state)
{
    ColorValue value = 0x336699;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Color_ToText(value));
        value = (value + 0x010203) & 0xFFFFFF;
    }
}

void BM_Baseline_Asprintf(benchmark::State& state)
{
    ColorValue value = 0x336699;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            QString::asprintf("%d,%d,%d", value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF));
        value = (value + 0x010203) & 0xFFFFFF;
    }
}

// A colour pick: the ">" button, the dialog's answer, the swatch and text.
void BM_ColorPick(benchmark::State& state)
{
    QPushButton* button = g_bench->editor().slots.cmd[19];
    ColorValue value = 0;
    for (auto _ : state) {
        g_bench->cd->color = value;
        button->click();
        settle();
        value = (value + 0x010203) & 0xFFFFFF;
    }
}

// The toolkit's share: clicking a plain button that recolours a plain
// widget of the swatch's size, and the repaint.
void BM_Baseline_PlainButtonClick(benchmark::State& state)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* button = new QPushButton(QStringLiteral(">"), &form);
    auto* patch = new QWidget(&form);
    patch->setFixedSize(73, 13);
    patch->setAutoFillBackground(true);
    layout->addWidget(button);
    layout->addWidget(patch);
    form.show();
    int value = 0;
    QObject::connect(button, &QPushButton::clicked, patch, [&] {
        QPalette palette = patch->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(QRgb(value)));
        patch->setPalette(palette);
    });
    for (auto _ : state) {
        button->click();
        settle();
        value = (value + 0x010203) & 0xFFFFFF;
    }
}

// ------------------------------------------------------------------ readability

void BM_FixAll_EightPairs(benchmark::State& state)
{
    const SlotColors colors = PaleFronts();
    if (Warnings(colors).size() != 8)
        state.SkipWithError("not eight failing pairs");
    for (auto _ : state) {
        const FixAllResult fixed = FixAll(colors);
        benchmark::DoNotOptimize(fixed.colors);
        if (!fixed.unfixed.isEmpty())
            state.SkipWithError("a pair was left unfixed");
    }
}

// What the preview does with a simulation chosen: simulate, evaluate, and
// name the pairs that fail only for some vision type.
void BM_SimulateAndEvaluate(benchmark::State& state)
{
    const SlotColors colors = PaleFronts();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EvaluatePairs(colors, VisionType::Deuteranopia));
        benchmark::DoNotOptimize(FailuresOnlyWithSimulation(colors));
    }
}

void BM_Baseline_EvaluatePlain(benchmark::State& state)
{
    const SlotColors colors = PaleFronts();
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluatePairs(colors));
}

// ------------------------------------------------------------------ history

// Undo, then redo, of an Import of 10000 lines, each timed on its own beside
// the Import itself.
void undoRedoImport(benchmark::State& state, bool timeUndo)
{
    QUndoStack& stack = g_bench->window->undoStack();
    g_bench->trigger("mnuNew");
    g_bench->cd->answer = g_bench->colourLines;
    g_bench->trigger("mnuImport");
    settle();
    if (stack.undoText() != QStringLiteral("Import"))
        state.SkipWithError("the import left no step");
    const auto step = [&](bool timed, bool undo) {
        if (!timed)
            state.PauseTiming();
        undo ? stack.undo() : stack.redo();
        settle();
        if (!timed)
            state.ResumeTiming();
    };
    for (auto _ : state) {
        step(timeUndo, true);
        step(!timeUndo, false);
    }
}

void BM_Undo_Import10000Lines(benchmark::State& state) { undoRedoImport(state, true); }
void BM_Redo_Import10000Lines(benchmark::State& state) { undoRedoImport(state, false); }

// The heap a history of 1000 full-theme steps holds: two full themes imported
// in turn, each step replacing every setting. Beside it, what keeping each
// step's theme file would take.
void BM_History_1000FullThemeSteps(benchmark::State& state)
{
    QByteArray other = g_bench->fullThemeBytes;
    other.replace(',', ";").replace(';', ",9");   // every colour different
    const QString otherTheme = g_bench->write(QStringLiteral("other.theme"), other);
    QUndoStack& stack = g_bench->window->undoStack();
    double bytesPerStep = 0;
    for (auto _ : state) {
        stack.clear();
        settle();
        const size_t before = mallinfo2().uordblks;
        for (int k = 0; k < 1000; ++k) {
            g_bench->cd->answer = k % 2 ? otherTheme : g_bench->fullTheme;
            g_bench->trigger("mnuImport");
        }
        settle();
        if (stack.count() < 1000)
            state.SkipWithError("fewer than 1000 steps");
        bytesPerStep = double(mallinfo2().uordblks - before) / stack.count();
    }
    state.counters["history_MiB"] = bytesPerStep * 1000 / (1024 * 1024);
    state.counters["bytes_per_step"] = bytesPerStep;
    state.counters["file_bytes"] = double(g_bench->fullThemeBytes.size());
}

// ------------------------------------------------------------------ preview

// A change with View, Preview open: the theme read again from the controls,
// the mock laid out and the whole window painted.
void previewRepaint(benchmark::State& state, const QString& path)
{
    g_bench->cd->answer = path;
    g_bench->trigger("mnuImport");
    g_bench->trigger("mnuPreview");
    settle();
    PreviewWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* open = qobject_cast<PreviewWindow*>(w); open && open->isVisible())
            window = open;
    }
    if (!window) {
        state.SkipWithError("the preview did not open");
        return;
    }
    ThemePreview* preview = window->Preview();
    for (auto _ : state) {
        preview->Invalidate();
        benchmark::DoNotOptimize(preview->grab());
    }
    window->close();
    g_bench->trigger("mnuNew");
    settle();
}

void BM_PreviewRepaint_FullTheme(benchmark::State& state) { previewRepaint(state, g_bench->fullTheme); }
void BM_PreviewRepaint_ShortName(benchmark::State& state) { previewRepaint(state, g_bench->shortName); }
void BM_PreviewRepaint_15MiBName(benchmark::State& state) { previewRepaint(state, g_bench->longName); }

// 100 full themes, each in a file of its own, as --check is given them.
const QStringList& hundredThemes()
{
    static const QStringList files = [] {
        QStringList paths;
        for (int i = 0; i < 100; ++i)
            paths << g_bench->write(QStringLiteral("check%1.theme").arg(i), g_bench->fullThemeBytes);
        return paths;
    }();
    return files;
}

// --check on 100 files: each read as Import reads it, without a window, and judged.
void BM_Check_100FullThemes(benchmark::State& state)
{
    const QStringList& files = hundredThemes();
    for (auto _ : state) {
        for (const QString& file : files)
            benchmark::DoNotOptimize(CheckThemeFile(file));
    }
}

// The same imports into a hidden editor, without a judgement.
void BM_Baseline_Import_100FullThemes(benchmark::State& state)
{
    const QStringList& files = hundredThemes();
    for (auto _ : state) {
        frmMain window(DesktopServices{std::make_unique<Dialog>(), std::make_unique<Messages>(),
                                       std::make_unique<FakeWebOpener>()});
        for (const QString& file : files)
            window.OpenThemeFile(file);
    }
}

// ------------------------------------------------------------------ Generate Theme

// What choosing a base colour or a mode costs before the previews are drawn.
void BM_ProposeThemes(benchmark::State& state)
{
    const GeneratorSeed seed = SeedFromColour(QColor(52, 101, 164));
    int mode = 0;
    for (auto _ : state) {
        const QList<ThemeProposal> proposals = ProposeThemes(seed, mode++ % 2 ? ThemeMode::Dark : ThemeMode::Light);
        benchmark::DoNotOptimize(proposals.data());
        if (proposals.size() != 4)
            state.SkipWithError("not four proposals");
    }
}

// What the user waits for after switching Light and Dark: the proposals and
// their four drawn previews.
void BM_GenerateDialog_SwitchMode(benchmark::State& state)
{
    g_bench->trigger("mnuGenerate");
    QPointer<GenerateDialog> dialog = g_bench->window->findChild<GenerateDialog*>();
    std::array<QRadioButton*, 2> modes{dialog->findChild<QRadioButton*>(QStringLiteral("optDark")),
                                       dialog->findChild<QRadioButton*>(QStringLiteral("optLight"))};
    int k = 0;
    for (auto _ : state) {
        modes[k++ % 2]->click();
        settle();
    }
    dialog->reject();
    settle();
}

// A decoded 12-megapixel photo, made once.
const QImage& photo()
{
    static const QImage picture = ovex::test::SampleLandscape(QSize(4000, 3000));
    return picture;
}

// Downsampling, k-means and the seed: all of a picture's analysis.
void BM_AnalysePicture_4000x3000(benchmark::State& state)
{
    const QImage& picture = photo();
    for (auto _ : state) {
        const std::optional<GeneratorSeed> seed = SeedFromPicture(picture);
        benchmark::DoNotOptimize(seed);
    }
}

// Plain downsampling of the same picture to the same size, with Qt.
void BM_Baseline_QtScale_4000x3000(benchmark::State& state)
{
    const QImage& picture = photo();
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.scaled(PaletteSampleSide, PaletteSampleSide * 3 / 4, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation));
}

// The preview window over eight failing pairs, as the user sees it.
struct PreviewBench
{
    PreviewBench()
    {
        QList<frmMain::SlotColor> colors;
        const SlotColors failing = PaleFronts();
        for (int i = 0; i < ColorSlotCount; ++i)
            colors.append({i, QColorToPacked(failing[i])});
        g_bench->window->SetSlotColors(QStringLiteral("Set up"), colors);
        g_bench->window->findChild<QAction*>(QStringLiteral("mnuPreview"))->trigger();
        for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<PreviewWindow*>(w); p && p->isVisible())
                    window = p;
        settle();
    }
    ~PreviewBench() { window->close(); settle(); }

    PreviewWindow* window = nullptr;
};

// A repaint after a change: the theme read again, the mock built, the
// pairs graded, the list updated and the picture painted.
void repaintPreview(benchmark::State& state, VisionType vision)
{
    PreviewBench bench;
    bench.window->SimulateBox()->setCurrentIndex(int(vision));
    ThemePreview* preview = bench.window->Preview();
    for (auto _ : state) {
        preview->Invalidate();
        preview->repaint();
    }
    if (preview->Warnings().isEmpty())
        state.SkipWithError("nothing to warn of");
}

void BM_PreviewRepaint_Deuteranopia(benchmark::State& state) { repaintPreview(state, VisionType::Deuteranopia); }
void BM_Baseline_PreviewRepaint(benchmark::State& state) { repaintPreview(state, VisionType::Normal); }

// Fix All through the window, the undo step and the repaint included; the
// undo that restores the failing pairs is not timed.
void BM_FixAllWindow_EightPairs(benchmark::State& state)
{
    PreviewBench bench;
    ThemePreview* preview = bench.window->Preview();
    QPushButton* fixAll = bench.window->Panel()->FixAllButton();
    for (auto _ : state) {
        fixAll->click();
        preview->repaint();
        state.PauseTiming();
        if (!preview->Warnings().isEmpty())
            state.SkipWithError("a pair still fails");
        g_bench->window->undoStack().undo();
        preview->repaint();
        state.ResumeTiming();
    }
}

// ------------------------------------------------------------------ schemes

// One scheme file read and mapped to a theme, the readability fixes included,
// as --convert and the Generate Theme dialog do it.
void readAndMap(benchmark::State& state, const QByteArray& scheme, const char* name)
{
    const QString path = g_bench->write(QString::fromLatin1(name), scheme);
    for (auto _ : state) {
        const SchemeReading reading = ReadSchemeFile(path);
        if (!reading.scheme) {
            state.SkipWithError("refused");
            break;
        }
        benchmark::DoNotOptimize(MapScheme(*reading.scheme));
    }
}

void BM_Scheme_ReadMap_Base16(benchmark::State& state) { readAndMap(state, FlatBase16, "ember.yaml"); }
void BM_Scheme_ReadMap_Base24(benchmark::State& state) { readAndMap(state, PaletteBase24, "lantern.yaml"); }
void BM_Scheme_ReadMap_Kde(benchmark::State& state) { readAndMap(state, KdeColors, "harbour.colors"); }

// Hostile YAML refused: 64 KiB of nested brackets (as deep as the size cap
// allows) and an alias bomb of 10^9 strings.
void refuse(benchmark::State& state, const QByteArray& bytes)
{
    for (auto _ : state) {
        const SchemeReading reading = ReadScheme(bytes, QString());
        if (reading.scheme)
            state.SkipWithError("read");
    }
}

void BM_Scheme_Refuse_NestedBrackets(benchmark::State& state) { refuse(state, QByteArray(64 * 1024, '[')); }
void BM_Scheme_Refuse_AliasBomb(benchmark::State& state)
{
    QByteArray bomb = "a0: &a0 [lol,lol,lol,lol,lol,lol,lol,lol,lol]\n";
    for (int k = 1; k < 10; ++k) {
        bomb += "a" + QByteArray::number(k) + ": &a" + QByteArray::number(k) + " [";
        for (int j = 0; j < 9; ++j)
            bomb += (j ? ",*a" : "*a") + QByteArray::number(k - 1);
        bomb += "]\n";
    }
    refuse(state, bomb);
}

// --convert on 250 schemes of random colours (base16 flat and with a
// palette, KDE) into an empty folder on disk, each file synced as Save syncs.
void BM_Convert_250Schemes(benchmark::State& state)
{
    static const QStringList schemes = [] {
        QRandomGenerator random(250);
        QStringList paths;
        for (int i = 0; i < 250; ++i) {
            const bool kde = i % 3 == 2;
            paths << g_bench->write(QStringLiteral("scheme%1.%2").arg(i).arg(kde ? "colors" : "yaml"),
                                    kde ? RandomKdeScheme(random) : RandomBase16Scheme(random, i % 3 == 0));
        }
        return paths;
    }();
    const QString out = g_bench->disk.filePath(QStringLiteral("converted"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        QString lines;
        QTextStream stream(&lines);
        state.ResumeTiming();
        if (RunSchemeConvert(QStringLiteral("bench"), schemes, out, Overwrite::Keep, stream, stream) != 0)
            state.SkipWithError("a scheme was not written");
    }
}

// --render on 250 full themes into an empty folder on disk: each read as
// Import reads it, drawn at the preview's size and written as PNG, synced.
void BM_Render_250Themes(benchmark::State& state)
{
    static const QStringList themes = [] {
        QStringList paths;
        for (int i = 0; i < 250; ++i)
            paths << g_bench->write(QStringLiteral("render%1.theme").arg(i), g_bench->fullThemeBytes);
        return paths;
    }();
    const QString out = g_bench->disk.filePath(QStringLiteral("rendered"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(out).removeRecursively();
        QString lines;
        QTextStream stream(&lines);
        state.ResumeTiming();
        if (RunThemeRender(QStringLiteral("bench"), themes, out, Overwrite::Keep, MockSize, stream, stream) != 0)
            state.SkipWithError("a picture was not written");
    }
}

// One picture drawn, without reading or writing: what every list of themes pays per entry.
void BM_DrawThemePicture(benchmark::State& state)
{
    const PreviewTheme theme = PreviewThemeOf(ReadThemeFile(FileSystemObject(), g_bench->write(QStringLiteral("picture.theme"), g_bench->fullThemeBytes)).state);
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawThemePicture(theme));
}

BENCHMARK(BM_Import_FullTheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_ReadDecodeSplitTwice_FullTheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Import_10000Lines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_ReadDecodeSplitTwice_10000Lines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save_FullTheme_Disk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_QFileWrite_Disk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save_FullTheme_Tmpfs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_QFileWrite_Tmpfs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryWrite_FullTheme_Disk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryWrite_FullTheme_Tmpfs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryEncode_FullTheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryList_100Copies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryRemoveStale_100Copies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_Read100Copies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoverList_100Copies_Shown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoverList_100Copies_AllPictures)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_PlainListDialog)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryPick_EachWritten)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryPick_InBurst)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_New_FullTheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_ResetPlainControls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Color_ToText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_Asprintf)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColorPick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_PlainButtonClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FixAll_EightPairs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SimulateAndEvaluate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_EvaluatePlain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProposeThemes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GenerateDialog_SwitchMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalysePicture_4000x3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_QtScale_4000x3000)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Undo_Import10000Lines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Redo_Import10000Lines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_History_1000FullThemeSteps)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PreviewRepaint_FullTheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewRepaint_ShortName)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewRepaint_15MiBName)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Check_100FullThemes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_Import_100FullThemes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewRepaint_Deuteranopia)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FixAllWindow_EightPairs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_PreviewRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scheme_ReadMap_Base16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scheme_ReadMap_Base24)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scheme_ReadMap_Kde)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scheme_Refuse_NestedBrackets)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scheme_Refuse_AliasBomb)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert_250Schemes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Render_250Themes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawThemePicture)->Unit(benchmark::kMicrosecond);

// Collects each case's real time per iteration, the median over repetitions
// (--benchmark_repetitions), to print the ratios at the end.
class RatioReporter final : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> microseconds;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        }
        for (auto& [name, times] : m_times) {
            std::sort(times.begin(), times.end());
            microseconds[name] = times[times.size() / 2];
        }
    }

private:
    std::map<std::string, std::vector<double>> m_times;
};

struct Target
{
    const char* name;
    const char* baseline;
    double maxRatio;        // 0: none
    double maxMicroseconds; // 0: none
};

const Target Targets[] = {
    {"BM_Import_FullTheme", "BM_Baseline_ReadDecodeSplitTwice_FullTheme", 0, 16000},
    {"BM_Import_10000Lines", "BM_Baseline_ReadDecodeSplitTwice_10000Lines", 5, 16000},
    {"BM_Save_FullTheme_Disk", "BM_Baseline_QFileWrite_Disk", 0, 16000},
    {"BM_Save_FullTheme_Tmpfs", "BM_Baseline_QFileWrite_Tmpfs", 0, 16000},
    {"BM_RecoveryWrite_FullTheme_Disk", "BM_Save_FullTheme_Disk", 0, 1000},
    {"BM_RecoveryWrite_FullTheme_Tmpfs", "BM_Save_FullTheme_Tmpfs", 0, 1000},
    {"BM_RecoveryEncode_FullTheme", "BM_Save_FullTheme_Tmpfs", 0, 1000},
    {"BM_RecoveryList_100Copies", "BM_Baseline_Read100Copies", 0, 16000},
    {"BM_RecoveryRemoveStale_100Copies", "BM_Baseline_Read100Copies", 0, 16000},
    {"BM_RecoverList_100Copies_Shown", "BM_Baseline_PlainListDialog", 0, 100000},
    {"BM_RecoverList_100Copies_AllPictures", "BM_Baseline_PlainListDialog", 0, 1000000},
    {"BM_RecoveryPick_EachWritten", "BM_Save_FullTheme_Disk", 0, 1000},
    {"BM_RecoveryPick_EachWritten", "BM_ColorPick", 0, 1000},
    {"BM_RecoveryPick_InBurst", "BM_ColorPick", 0, 1000},
    {"BM_New_FullTheme", "BM_Baseline_ResetPlainControls", 0, 16000},
    {"BM_Color_ToText", "BM_Baseline_Asprintf", 0, 16000},
    {"BM_ColorPick", "BM_Baseline_PlainButtonClick", 0, 16000},
    {"BM_FixAll_EightPairs", "BM_Baseline_EvaluatePlain", 0, 16000},
    {"BM_SimulateAndEvaluate", "BM_Baseline_EvaluatePlain", 0, 16000},
    {"BM_Undo_Import10000Lines", "BM_Import_10000Lines", 0, 16000},
    {"BM_Redo_Import10000Lines", "BM_Import_10000Lines", 0, 16000},
    {"BM_PreviewRepaint_FullTheme", "BM_PreviewRepaint_ShortName", 0, 16000},
    {"BM_PreviewRepaint_15MiBName", "BM_PreviewRepaint_ShortName", 0, 16000},
    {"BM_Check_100FullThemes", "BM_Baseline_Import_100FullThemes", 0, 1000000},
    {"BM_ProposeThemes", "BM_Baseline_EvaluatePlain", 0, 16000},
    {"BM_GenerateDialog_SwitchMode", "BM_ProposeThemes", 0, 16000},
    {"BM_AnalysePicture_4000x3000", "BM_Baseline_QtScale_4000x3000", 0, 16000},
    {"BM_PreviewRepaint_Deuteranopia", "BM_Baseline_PreviewRepaint", 0, 16000},
    {"BM_FixAllWindow_EightPairs", "BM_Baseline_PreviewRepaint", 0, 16000},
    {"BM_Scheme_ReadMap_Base16", "BM_Import_FullTheme", 0, 1000},
    {"BM_Scheme_ReadMap_Base24", "BM_Import_FullTheme", 0, 1000},
    {"BM_Scheme_ReadMap_Kde", "BM_Import_FullTheme", 0, 1000},
    {"BM_Scheme_Refuse_NestedBrackets", "BM_Import_FullTheme", 0, 1000000},
    {"BM_Scheme_Refuse_AliasBomb", "BM_Import_FullTheme", 0, 1000000},
    {"BM_Convert_250Schemes", "BM_Import_FullTheme", 0, 1000000},
};

int printRatios(const RatioReporter& reporter)
{
    std::printf("\n%-26s %12s %12s %8s  %s\n", "case", "time (us)", "base (us)", "ratio", "target");
    int missed = 0;
    for (const Target& t : Targets) {
        const auto a = reporter.microseconds.find(t.name);
        const auto b = reporter.microseconds.find(t.baseline);
        if (a == reporter.microseconds.end() || b == reporter.microseconds.end())
            continue;
        const double ratio = a->second / b->second;
        const bool met = (t.maxRatio == 0 || ratio <= t.maxRatio) && (t.maxMicroseconds == 0 || a->second < t.maxMicroseconds);
        missed += !met;
        char target[64];
        if (t.maxRatio > 0)
            std::snprintf(target, sizeof target, "<= %.0fx and < %.0f us", t.maxRatio, t.maxMicroseconds);
        else
            std::snprintf(target, sizeof target, "< %.0f us", t.maxMicroseconds);
        std::printf("%-26s %12.3f %12.3f %8.2f  %s: %s\n", t.name + 3, a->second, b->second, ratio, target,
                    met ? "met" : "MISSED");
    }
    return missed;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ConfigureApplication(app);
    Bench bench;
    if (!bench.disk.isValid() || !bench.memory.isValid())
        qFatal("cannot make the temporary folders");
    bench.window->show();
    settle();
    g_bench = &bench;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const int missed = printRatios(reporter);
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
