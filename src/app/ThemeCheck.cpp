#include "app/ThemeCheck.h"

#include "app/OutputBatch.h"
#include "colour/PreviewTheme.h"
#include "colour/Readability.h"
#include "theme/ThemeFile.h"

#include <QTextStream>

#include <algorithm>

namespace ovex {

namespace {

struct Readability
{
    qsizetype judged = 0;
    QList<PairResult> failing;
};

// The pairs the preview warns about, each against its own threshold; the
// disabled-text hints are not judged, as the preview does not warn about them.
Readability JudgeReadability(const PreviewTheme& theme)
{
    Readability result;
    for (const PairResult& pair : EvaluatePairs(theme.colors)) {
        if (pair.Pair().kind == PairKind::DisabledHint)
            continue;
        ++result.judged;
        if (pair.IsWarning())
            result.failing.append(pair);
    }
    return result;
}

} // namespace

ThemeCheckResult CheckThemeFile(const QString& file)
{
    const ThemeFileReading reading = ReadThemeFile(FileSystemObject(), file);
    if (const QString refusal = ThemeFileRefusal(reading); !refusal.isEmpty())
        return {{BatchRefused(file, refusal).line}, CheckStatus::NotChecked};

    const Readability readability = JudgeReadability(PreviewThemeOf(reading.state));
    if (readability.failing.isEmpty())
        return {{QStringLiteral("%1: ok (%2 pairs readable)").arg(PrintableText(file)).arg(readability.judged)},
                CheckStatus::Readable};
    ThemeCheckResult result{{}, CheckStatus::PairFails};
    for (const PairResult& pair : readability.failing)
        result.lines << PrintableText(file) + QStringLiteral(": ") + WarningText(pair);
    return result;
}

int RunThemeCheck(const QStringList& files, QTextStream& out)
{
    CheckStatus worst = CheckStatus::Readable;
    for (const QString& file : files) {
        const ThemeCheckResult result = CheckThemeFile(file);
        for (const QString& line : result.lines)
            out << line << '\n';
        worst = std::max(worst, result.status);
    }
    out.flush();
    return int(worst);
}

} // namespace ovex
