#include "colour/Readability.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace ovex {

namespace {

constexpr std::array<double, 3> Thresholds = {NonTextContrast, TextContrast, BetterTextContrast};

QString thresholdText(double threshold)
{
    return QStringLiteral("%1:1").arg(threshold);
}

} // namespace

double Threshold(PairKind kind)
{
    switch (kind) {
    case PairKind::Text:
        return TextContrast;
    case PairKind::NonText:
        return NonTextContrast;
    case PairKind::DisabledHint:
        return DisabledHintContrast;
    }
    Q_UNREACHABLE();
}

const std::array<CheckedPair, CheckedPairCount> CheckedPairs = {{
    {20, 19, PairKind::Text, "Menu text on menu background"},
    {22, 21, PairKind::Text, "Selected menu text on menu selection"},
    {15, 18, PairKind::Text, "User text on window background"},
    {17, 16, PairKind::Text, "Highlighted text on text highlight"},
    {12, 0, PairKind::Text, "Control text on control colour"},
    {11, 0, PairKind::Text, "Label text on control colour"},
    {7, 6, PairKind::Text, "Tool-tip text on tool-tip background"},
    // After control text on the control colour: where no text colour reads
    // on both, Fix moves the tab, not the control colour.
    {12, 1, PairKind::Text, "Control text on unselected tab"},
    {26, 0, PairKind::NonText, "Focus colour on control colour"},
    // The mock fills the scroll bar's track with the control colour.
    {8, 0, PairKind::NonText, "Scroll bar slider on its track"},
    {16, 18, PairKind::NonText, "Text highlight on list background"},
    {3, 0, PairKind::NonText, "Check marks and arrows on control colour"},
    {23, 19, PairKind::DisabledHint, "Disabled menu text on menu background"},
    {13, 5, PairKind::DisabledHint, "Disabled control text on disabled button"},
    {14, 0, PairKind::DisabledHint, "Disabled proxy port text on control colour"},
}};

qsizetype PairIndex(int front, int back)
{
    const auto it = std::find_if(CheckedPairs.begin(), CheckedPairs.end(),
                                 [&](const CheckedPair& p) { return p.front == front && p.back == back; });
    Q_ASSERT(it != CheckedPairs.end());
    return it - CheckedPairs.begin();
}

Grade GradeFor(PairKind kind, double ratio)
{
    if (ratio < Threshold(kind))
        return kind == PairKind::DisabledHint ? Grade::Hint : Grade::Fails;
    return kind == PairKind::Text && ratio >= BetterTextContrast ? Grade::Better : Grade::Meets;
}

QString GradeText(PairKind kind, Grade grade)
{
    const QString needed = thresholdText(Threshold(kind));
    switch (grade) {
    case Grade::Better:
        return QStringLiteral("AAA: %1 or more").arg(thresholdText(BetterTextContrast));
    case Grade::Meets:
        return (kind == PairKind::DisabledHint ? QStringLiteral("Readable: %1 or more") : QStringLiteral("AA: %1 or more"))
            .arg(needed);
    case Grade::Fails:
        return QStringLiteral("Fails: under %1").arg(needed);
    case Grade::Hint:
        return QStringLiteral("Hint: under %1").arg(needed);
    }
    Q_UNREACHABLE();
}

QString RatioText(double ratio)
{
    double shown = std::round(ratio * 100.0) / 100.0;
    for (const double threshold : Thresholds) {
        if (ratio < threshold && shown >= threshold)
            shown = threshold - 0.01;
    }
    return QStringLiteral("%1:1").arg(shown, 0, 'f', 2);
}

SlotColors Simulate(const SlotColors& colors, VisionType vision)
{
    SlotColors seen;
    for (std::size_t i = 0; i < colors.size(); ++i)
        seen[i] = Simulate(colors[i], vision);
    return seen;
}

double PairRatio(const SlotColors& colors, const CheckedPair& pair, VisionType vision)
{
    return ContrastRatio(Simulate(colors[pair.front], vision), Simulate(colors[pair.back], vision));
}

std::array<PairResult, CheckedPairCount> EvaluatePairs(const SlotColors& colors, VisionType vision)
{
    const SlotColors seen = Simulate(colors, vision);
    std::array<PairResult, CheckedPairCount> results;
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k) {
        const CheckedPair& pair = CheckedPairs[k];
        const double ratio = ContrastRatio(seen[pair.front], seen[pair.back]);
        results[k] = {k, ratio, GradeFor(pair.kind, ratio)};
    }
    return results;
}

QList<PairResult> Warnings(const SlotColors& colors, VisionType vision)
{
    QList<PairResult> warnings;
    for (const PairResult& result : EvaluatePairs(colors, vision)) {
        if (result.IsWarning())
            warnings.append(result);
    }
    return warnings;
}

bool AllPairsPass(const SlotColors& colors, VisionType vision)
{
    const auto results = EvaluatePairs(colors, vision);
    return std::all_of(results.begin(), results.end(), [](const PairResult& r) { return r.Passes(); });
}

bool AllPairsPassForEveryVision(const SlotColors& colors)
{
    return std::all_of(VisionTypes.begin(), VisionTypes.end(),
                       [&](VisionType vision) { return AllPairsPass(colors, vision); });
}

QList<VisionFailure> FailuresOnlyWithSimulation(const SlotColors& colors)
{
    const auto normal = EvaluatePairs(colors);
    std::array<QList<VisionType>, CheckedPairCount> failing;
    for (const VisionType vision : VisionTypes) {
        if (vision == VisionType::Normal)
            continue;
        for (const PairResult& result : EvaluatePairs(colors, vision)) {
            if (result.IsWarning() && !normal[result.pair].IsWarning())
                failing[result.pair].append(vision);
        }
    }
    QList<VisionFailure> failures;
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k) {
        if (!failing[k].isEmpty())
            failures.append({k, failing[k]});
    }
    return failures;
}

QString SimulationNote(const QList<VisionFailure>& failures)
{
    if (failures.isEmpty())
        return {};
    QStringList parts;
    for (const VisionFailure& failure : failures) {
        QStringList names;
        for (const VisionType vision : failure.visions)
            names << VisionTypeName(vision);
        parts << QStringLiteral("%1 (%2)").arg(QLatin1String(CheckedPairs[failure.pair].what), names.join(QStringLiteral(", ")));
    }
    return QStringLiteral("Fails only with a colour-vision deficiency: %1.").arg(parts.join(QStringLiteral("; ")));
}

} // namespace ovex
