#include "colour/ContrastFix.h"

#include "theme/ThemeKeys.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace ovex {

namespace {

// A coarse walk finds the first lightness that works, bisection the edge.
constexpr double CoarseStep = 0.01;
constexpr int Bisections = 12;

// What a new colour for one slot of the target pair must satisfy: each pair
// that uses the slot, for each vision that counts, at no less than its floor.
class Requirements
{
public:
    // With surfacesFollow, the slot's pairs on its further surfaces are left
    // out: those surfaces are moved after it.
    Requirements(const SlotColors& colors, qsizetype target, int slot, VisionType vision, bool surfacesFollow = false)
        : m_slot(slot)
    {
        m_visions.push_back(VisionType::Normal);
        if (vision != VisionType::Normal)
            m_visions.push_back(vision);
        for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k) {
            const CheckedPair& pair = CheckedPairs[k];
            if (pair.front != m_slot && pair.back != m_slot)
                continue;
            if (surfacesFollow && k != target && IsFurtherSurface(k))
                continue;
            const QColor& other = colors[pair.front == m_slot ? pair.back : pair.front];
            for (std::size_t v = 0; v < m_visions.size(); ++v) {
                const double threshold = Threshold(pair.kind);
                const double floor = k == target ? threshold : std::min(threshold, PairRatio(colors, pair, m_visions[v]));
                m_floors.push_back({v, RelativeLuminance(Simulate(other, m_visions[v])), floor});
            }
        }
    }

    bool MetBy(const QColor& candidate) const
    {
        std::array<double, 2> luminance{};
        for (std::size_t v = 0; v < m_visions.size(); ++v)
            luminance[v] = RelativeLuminance(Simulate(candidate, m_visions[v]));
        return std::all_of(m_floors.begin(), m_floors.end(), [&](const Floor& f) {
            const double a = luminance[f.vision];
            return (std::max(a, f.otherLuminance) + 0.05) / (std::min(a, f.otherLuminance) + 0.05) >= f.ratio;
        });
    }

private:
    struct Floor
    {
        std::size_t vision;      // index in m_visions
        double otherLuminance;   // of the pair's other colour, as seen
        double ratio;
    };

    int m_slot;
    std::vector<VisionType> m_visions;
    std::vector<Floor> m_floors;
};

// WithLightness for a colour already in OKLCh.
QColor atLightness(OkLch lch, double lightness, int alpha)
{
    lch.L = lightness;
    QColor result = ToColor(lch);
    result.setAlpha(alpha);
    return result;
}

// The lightness nearest start, going in direction (+1 or -1), whose colour
// meets the requirements.
std::optional<double> searchLightness(const QColor& color, double start, int direction, const Requirements& needs)
{
    const OkLch lch = ToOkLch(ToOkLab(color));
    const auto works = [&](double L) { return needs.MetBy(atLightness(lch, L, color.alpha())); };
    double failing = start;
    for (int step = 1;; ++step) {
        const double L = std::clamp(start + direction * step * CoarseStep, 0.0, 1.0);
        if (works(L)) {
            double passing = L;
            for (int k = 0; k < Bisections; ++k) {
                const double mid = (failing + passing) / 2;
                (works(mid) ? passing : failing) = mid;
            }
            return passing;
        }
        if (L == 0.0 || L == 1.0)
            return std::nullopt;
        failing = L;
    }
}

} // namespace

QColor WithLightness(const QColor& color, double lightness)
{
    return atLightness(ToOkLch(ToOkLab(color)), lightness, color.alpha());
}

namespace {

// The colour nearest in lightness to slot's that brings pair to its threshold.
std::optional<QColor> fixSlot(const SlotColors& colors, qsizetype pair, int slot, VisionType vision,
                              bool surfacesFollow = false)
{
    const Requirements needs(colors, pair, slot, vision, surfacesFollow);
    const QColor& color = colors[slot];
    if (needs.MetBy(color))
        return color;
    const double start = ToOkLab(color).L;
    const std::optional<double> darker = searchLightness(color, start, -1, needs);
    const std::optional<double> lighter = searchLightness(color, start, +1, needs);
    if (!darker && !lighter)
        return std::nullopt;
    const bool useDarker = darker && (!lighter || start - *darker <= *lighter - start);
    return WithLightness(color, useDarker ? *darker : *lighter);
}

} // namespace

std::optional<QColor> FixPair(const SlotColors& colors, qsizetype pair, VisionType vision)
{
    return fixSlot(colors, pair, CheckedPairs[pair].front, vision);
}

bool IsFurtherSurface(qsizetype pair)
{
    const int front = CheckedPairs[pair].front;
    return std::any_of(CheckedPairs.begin(), CheckedPairs.begin() + pair, [&](const CheckedPair& p) { return p.front == front; });
}

QList<SlotFix> FixPairColors(const SlotColors& colors, qsizetype pair, VisionType vision)
{
    const CheckedPair& p = CheckedPairs[pair];
    if (const auto front = FixPair(colors, pair, vision))
        return {{p.front, *front}};
    if (IsFurtherSurface(pair)) {
        if (const auto back = fixSlot(colors, pair, p.back, vision))
            return {{p.back, *back}};
        return {};
    }
    // The front on its first surface, then each further surface it no
    // longer reads on moved to read under it.
    const auto front = fixSlot(colors, pair, p.front, vision, true);
    if (!front)
        return {};
    SlotColors fixed = colors;
    fixed[p.front] = *front;
    QList<SlotFix> fixes = {{p.front, *front}};
    for (qsizetype k = pair + 1; k < qsizetype(CheckedPairCount); ++k) {
        const CheckedPair& further = CheckedPairs[k];
        if (further.front != p.front || PairRatio(fixed, further, VisionType::Normal) >= Threshold(further.kind)
            && PairRatio(fixed, further, vision) >= Threshold(further.kind))
            continue;
        const auto back = fixSlot(fixed, k, further.back, vision);
        if (!back)
            return {};
        fixed[further.back] = *back;
        fixes.append({further.back, *back});
    }
    return fixes;
}

FixAllResult FixAll(const SlotColors& colors, VisionType vision)
{
    FixAllResult result{colors, {}, {}};
    for (qsizetype k = 0; k < qsizetype(CheckedPairCount); ++k) {
        const CheckedPair& pair = CheckedPairs[k];
        const auto fails = [&](VisionType v) { return GradeFor(pair.kind, PairRatio(result.colors, pair, v)) == Grade::Fails; };
        if (!fails(VisionType::Normal) && !fails(vision))
            continue;
        if (const QList<SlotFix> fixes = FixPairColors(result.colors, k, vision); !fixes.isEmpty()) {
            for (const SlotFix& fix : fixes)
                result.colors[fix.slot] = fix.color;
            result.fixed.append(k);
        } else {
            result.unfixed.append(k);
        }
    }
    return result;
}

QList<SlotFix> ChangedSlots(const SlotColors& before, const SlotColors& after)
{
    QList<SlotFix> changes;
    for (int slot = 0; slot < ColorSlotCount; ++slot) {
        if (after[slot] != before[slot])
            changes.append({slot, after[slot]});
    }
    return changes;
}

QString UnfixedNote(const QList<qsizetype>& unfixed)
{
    QStringList sentences;
    QList<int> named;
    for (const qsizetype k : unfixed) {
        const int slot = CheckedPairs[k].front;
        if (named.contains(slot))
            continue;
        named.append(slot);
        // Quoted: a caption may end in its own full stop.
        sentences << QStringLiteral("No readable colour for \u201C%1\u201D keeps its other pairs readable.")
                         .arg(SlotCaption(slot));
    }
    return sentences.join(u' ');
}

} // namespace ovex
