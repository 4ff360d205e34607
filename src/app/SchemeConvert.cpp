#include "app/SchemeConvert.h"

#include "fileio/FileWriter.h"
#include "platform/PackedColor.h"
#include "schemes/SchemeFile.h"
#include "slots/MRW_Color.h"
#include "theme/SaveTheme.h"
#include "theme/ThemeKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace ovex {

namespace {

// Threads that convert at once: enough for the syncs to overlap.
constexpr qsizetype ConvertWorkers = 8;

} // namespace

QStringList SchemeThemeLines(const SchemeTheme& theme)
{
    QStringList lines{QString::fromLatin1(NameKey) + theme.name};
    for (int slot = 0; slot < ColorSlotCount; ++slot)
        lines << QString::fromLatin1(SlotTable[slot].key) + Color_ToText(QColorToPacked(theme.colors[slot]));
    return lines;
}

ConvertResult ConvertScheme(const QString& scheme, const QString& outputDir)
{
    const auto refused = [&](const QString& reason) { return ConvertResult{scheme + QStringLiteral(": error: ") + reason, false}; };
    const SchemeReading reading = ReadSchemeFile(scheme);
    if (!reading.scheme)
        return refused(reading.error);
    const SchemeTheme theme = MapScheme(*reading.scheme);

    const QString target = QDir(outputDir).filePath(SchemeBaseName(scheme) + QStringLiteral(".theme"));
    if (const auto failure = WriteWholeFile(target, ThemeFileBytes(SchemeThemeLines(theme)), WriteOptions::KeepExisting())) {
        const QFileInfo existing(target);
        if (existing.exists() || existing.isSymLink())
            return refused(target + QStringLiteral(" already exists"));
        return refused(QStringLiteral("could not write %1: %2").arg(target, *failure));
    }

    const qsizetype moved = theme.adjusted.size();
    return {QStringLiteral("%1: wrote %2 (%3 %4 adjusted for readability)")
                .arg(scheme, target)
                .arg(moved)
                .arg(moved == 1 ? QStringLiteral("colour") : QStringLiteral("colours")),
            true};
}

int RunSchemeConvert(const QStringList& schemes, const QString& outputDir, QTextStream& out)
{
    // Schemes that give the same file name go to one worker, in the order
    // given, so the first one written wins as it would one at a time.
    QList<QList<qsizetype>> groups;
    QHash<QString, qsizetype> groupOf;
    for (qsizetype i = 0; i < schemes.size(); ++i) {
        const QString name = SchemeBaseName(schemes[i]);
        if (!groupOf.contains(name)) {
            groupOf.insert(name, groups.size());
            groups.append(QList<qsizetype>());
        }
        groups[groupOf.value(name)].append(i);
    }

    // Each file is synced before it appears; syncs of several files overlap
    // and the file system commits them together, which makes a few threads
    // far faster than one, even on one core.
    QList<ConvertResult> results(schemes.size());
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype g = next++; g < groups.size(); g = next++) {
            for (const qsizetype i : groups[g])
                results[i] = ConvertScheme(schemes[i], outputDir);
        }
    };
    std::vector<std::thread> workers;
    for (qsizetype k = 1; k < std::min<qsizetype>(ConvertWorkers, groups.size()); ++k)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();

    bool allWritten = true;
    for (const ConvertResult& result : results) {
        out << result.line << '\n';
        allWritten = allWritten && result.written;
    }
    out.flush();
    return allWritten ? 0 : ConvertRefusedStatus;
}

} // namespace ovex
