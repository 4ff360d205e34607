#include "app/ThemeCheck.h"

#include "app/OutputBatch.h"
#include "colour/PreviewTheme.h"
#include "colour/Readability.h"
#include "theme/ThemeFile.h"

#include <QTextStream>

#include <algorithm>

namespace ovex {

namespace {

struct FailingPair
{
    QString what;
    double ratio;
    double needs;
};

struct Readability
{
    qsizetype judged = 0;
    QList<FailingPair> failing;
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
            result.failing.append({QString::fromLatin1(pair.Pair().what), pair.ratio, Threshold(pair.Pair().kind)});
    }
    return result;
}

} // namespace

ThemeCheckResult CheckThemeFile(const QString& file)
{
    const ThemeFileReading reading = ReadThemeFile(FileSystemObject(), file);
    if (const QString refusal = ThemeFileRefusal(reading); !refusal.isEmpty())
        return {{QStringLiteral("%1: error: %2").arg(PrintableText(file), refusal)}, CheckStatus::NotChecked};

    const Readability readability = JudgeReadability(PreviewThemeOf(reading.state));
    if (readability.failing.isEmpty())
        return {{QStringLiteral("%1: ok (%2 pairs readable)").arg(PrintableText(file)).arg(readability.judged)},
                CheckStatus::Readable};
    ThemeCheckResult result{{}, CheckStatus::PairFails};
    for (const FailingPair& pair : readability.failing) {
        result.lines << QStringLiteral("%1: %2: %3, needs %4:1")
                            .arg(PrintableText(file), pair.what, RatioText(pair.ratio), QString::number(pair.needs));
    }
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
