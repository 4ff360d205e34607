#include "schemes/SchemeTheme.h"

#include "colour/ContrastFix.h"
#include "schemes/SchemeSources.h"
#include "theme/ThemeKeys.h"

#include <QStringList>

#include <algorithm>

namespace ovex {

namespace {

QColor schemeColor(const Scheme& scheme, int slot)
{
    const QString key = SourceKey(slot, scheme);
    Q_ASSERT(scheme.colors.contains(key));
    return scheme.colors.value(key, QColor(Qt::black));
}

// Fix (FixPairColors) for every pair below its threshold, the disabled-text hints
// included, in the order of CheckedPairs; a fix never takes another pair of
// the slot lower. But the selection is both drawn on (by highlighted text)
// and drawn on the list background: fixed with its text in place, it could
// not move away from the background without first taking that text below
// 4.5:1. So a slot that is drawn on goes first, against what it is drawn on
// alone; any colour there leaves black or white readable on it, and its
// text is then moved that far.
SlotColors readable(SlotColors colors)
{
    const auto drawnOn = [](const CheckedPair& pair) {
        return std::any_of(CheckedPairs.begin(), CheckedPairs.end(), [&](const CheckedPair& p) { return p.back == pair.front; });
    };
    const auto fix = [&](qsizetype k, const SlotColors& seen) {
        const CheckedPair& pair = CheckedPairs[k];
        if (PairRatio(colors, pair) >= Threshold(pair.kind))
            return;
        for (const SlotFix& fix : FixPairColors(seen, k))
            colors[fix.slot] = fix.color;
    };
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k) {
        if (!drawnOn(CheckedPairs[k]))
            continue;
        SlotColors alone = colors;
        for (const CheckedPair& p : CheckedPairs) {
            if (p.back == CheckedPairs[k].front)
                alone[p.front] = colors[p.back];
        }
        fix(k, alone);
    }
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k)
        fix(k, colors);
    return colors;
}

} // namespace

SchemeTheme MapScheme(const Scheme& scheme)
{
    SlotColors start;
    for (int slot = 0; slot < ColorSlotCount; ++slot)
        start[slot] = schemeColor(scheme, slot);

    SchemeTheme theme;
    theme.name = scheme.name;
    theme.colors = readable(start);
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        if (theme.colors[slot] != start[slot])
            theme.adjusted.append({slot, start[slot], theme.colors[slot], OkLabDistance(start[slot], theme.colors[slot])});
    }

    const QColor background = start[18];
    const QColor accent = start[26];
    theme.seed = {ToOkLch(ToOkLab(background)), ToOkLch(ToOkLab(accent))};
    switch (scheme.variant) {
    case SchemeVariant::Dark:
        theme.mode = ThemeMode::Dark;
        break;
    case SchemeVariant::Light:
        theme.mode = ThemeMode::Light;
        break;
    case SchemeVariant::Unstated:
        theme.mode = ToOkLab(background).L < 0.5 ? ThemeMode::Dark : ThemeMode::Light;
        break;
    }
    return theme;
}

QString AdjustmentNote(const SchemeTheme& theme)
{
    if (theme.adjusted.isEmpty())
        return QStringLiteral("No colour needed adjusting.");
    QStringList moves;
    for (const SlotAdjustment& a : theme.adjusted) {
        QString caption = SlotCaption(a.slot);
        while (caption.endsWith(u'.'))
            caption.chop(1);
        // One step of an 8-bit channel is about 0.003.
        const QString by = a.distance < 0.005 ? QStringLiteral("< 0.01") : QString::number(a.distance, 'f', 2);
        moves << QStringLiteral("%1 by %2").arg(caption, by);
    }
    return QStringLiteral("Adjusted for readability: %1 (distances in OKLab).").arg(moves.join(QStringLiteral(", ")));
}

ThemeProposal SchemeProposal(const SchemeTheme& theme)
{
    ThemeProposal proposal;
    proposal.name = QString::fromLatin1(SchemeProposalName);
    proposal.colors = theme.colors;
    proposal.passesEveryVision = AllPairsPassForEveryVision(theme.colors);
    return proposal;
}

} // namespace ovex
