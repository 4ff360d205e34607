#include "app/OutputBatch.h"

#include "app/CommandLine.h"
#include "fileio/FileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>
#include <QThreadPool>
#include <QtConcurrentMap>

#include <filesystem>
#include <system_error>

namespace ovex {

namespace {

// Files written at once. Each is synced before it appears; syncs of several
// files overlap and the file system commits them together, which makes a
// few threads far faster than one, even on one core.
constexpr int BatchThreads = 8;

} // namespace

QString PrintableText(const QString& text)
{
    QString printable;
    printable.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (c.category() != QChar::Other_Control && u != 0x2028 && u != 0x2029) {
            printable += c;
            continue;
        }
        switch (u) {
        case u'\n': printable += QLatin1String("\\n"); break;
        case u'\r': printable += QLatin1String("\\r"); break;
        case u'\t': printable += QLatin1String("\\t"); break;
        default:
            printable += (u < 0x100 ? QLatin1String("\\x") : QLatin1String("\\u"))
                         + QString::number(u, 16).toUpper().rightJustified(u < 0x100 ? 2 : 4, u'0');
        }
    }
    return printable;
}

std::optional<QString> PrepareOutputFolder(const QString& dir)
{
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir())
        return QStringLiteral("is not a folder");
    if (!info.exists()) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(dir.toStdU16String()), error);
        if (error)
            return QStringLiteral("could not be made: %1").arg(QString::fromLocal8Bit(error.message()));
    }
    if (!QFileInfo(dir).isWritable())
        return QStringLiteral("cannot be written to");
    return std::nullopt;
}

std::optional<QString> WriteOutputFile(const QString& target, const QByteArray& bytes, Overwrite overwrite)
{
    const WriteOptions options = overwrite == Overwrite::Replace ? WriteOptions{} : WriteOptions::KeepExisting();
    const std::optional<QString> failure = WriteWholeFile(target, bytes, options);
    if (!failure)
        return std::nullopt;
    const QFileInfo existing(target);
    if (overwrite == Overwrite::Keep && (existing.exists() || existing.isSymLink()))
        return QStringLiteral("%1 already exists").arg(target);
    return QStringLiteral("could not write %1: %2").arg(target, *failure);
}

BatchOutcome BatchWritten(const QString& source, const QString& target, const QString& details)
{
    return {PrintableText(QStringLiteral("%1: wrote %2 (%3)").arg(source, target, details)), true};
}

BatchOutcome BatchRefused(const QString& source, const QString& reason)
{
    return {PrintableText(QStringLiteral("%1: error: %2").arg(source, reason)), false};
}

int RunBatch(const BatchJob& job, QTextStream& out, QTextStream& err)
{
    if (const std::optional<QString> why = PrepareOutputFolder(job.outputDir)) {
        err << job.program << ": " << PrintableText(QStringLiteral("The output folder '%1' %2.").arg(job.outputDir, *why))
            << '\n';
        err.flush();
        return UsageErrorStatus;
    }

    // Claimed in the order given, so that the outcome is the same however
    // the threads run; letter case and composed or decomposed accents apart,
    // as a case-insensitive file system would take them.
    const QDir dir(job.outputDir);
    const qsizetype count = job.sources.size();
    QList<BatchOutcome> outcomes(count);
    QStringList targets(count);
    QList<qsizetype> toWrite;
    QHash<QString, qsizetype> claimed;
    for (qsizetype i = 0; i < count; ++i) {
        const QString name = job.targetName(job.sources[i]);
        targets[i] = dir.filePath(name);
        const QString key = name.normalized(QString::NormalizationForm_C).toCaseFolded();
        const auto other = claimed.constFind(key);
        if (other != claimed.cend()) {
            outcomes[i] = BatchRefused(job.sources[i], QStringLiteral("%1 is already taken by %2").arg(targets[i], job.sources[*other]));
            continue;
        }
        claimed.insert(key, i);
        toWrite << i;
    }

    QThreadPool pool;
    pool.setMaxThreadCount(BatchThreads);
    QtConcurrent::blockingMap(&pool, toWrite, [&](qsizetype i) { outcomes[i] = job.write(job.sources[i], targets[i], job.overwrite); });

    bool allWritten = true;
    for (const BatchOutcome& outcome : outcomes) {
        out << outcome.line << '\n';
        allWritten = allWritten && outcome.written;
    }
    out.flush();
    return allWritten ? BatchAllWritten : BatchSomeRefused;
}

} // namespace ovex
