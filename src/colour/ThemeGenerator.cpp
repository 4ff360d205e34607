#include "colour/ThemeGenerator.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace ovex {

namespace {

// What a slot's colour is derived from.
enum class Role {
    Surface,    // the surfaces' hue, toned
    Tip,        // the tool tip: a pale (or deep) wash of the accent
    Accent,     // the accent, shifted in lightness
    Text,       // the surfaces' hue, near grey, placed by contrast
    OnAccent,   // text on the accent: whichever end of the scale reads better
};

struct Tone
{
    int slot;
    Role role;
    double light;   // OKLab lightness in a light theme (for Accent: a shift)
    double dark;
};

// In the order they are placed: a slot's contrast is placed against the
// slots placed before it, so surfaces come first, then accents, then texts.
constexpr std::array<Tone, ColorSlotCount> Tones = {{
    {18, Role::Surface, 0.995, 0.225},  // window background
    {0, Role::Surface, 0.955, 0.285},   // form and control
    {19, Role::Surface, 0.975, 0.255},  // menu background
    {24, Role::Surface, 0.975, 0.255},  // separator background
    {5, Role::Surface, 0.90, 0.33},     // disabled control
    {1, Role::Surface, 0.86, 0.37},     // unselected tab, lines
    {4, Role::Surface, 0.99, 0.42},     // thin line around controls
    {25, Role::Surface, 0.84, 0.38},    // separator line
    {2, Role::Surface, 0.64, 0.50},     // control borders
    {6, Role::Tip, 0.97, 0.34},         // tool-tip background
    {16, Role::Accent, 0, 0},           // text highlight
    {21, Role::Accent, 0, 0},           // menu selection
    {8, Role::Accent, 0, 0},            // scroll bar slider
    {26, Role::Accent, 0, 0},           // focus
    {9, Role::Accent, -0.12, -0.10},    // popup border, slider shadow
    {10, Role::Accent, 0.12, 0.10},     // menu highlight line
    {15, Role::Text, 0.20, 0.95},       // user text
    {12, Role::Text, 0.22, 0.93},       // control text
    {11, Role::Text, 0.28, 0.88},       // label text
    {3, Role::Text, 0.30, 0.85},        // arrows and check marks
    {20, Role::Text, 0.24, 0.92},       // menu text
    {7, Role::Text, 0.24, 0.92},        // tool-tip text
    {13, Role::Text, 0.60, 0.64},       // disabled control text
    {14, Role::Text, 0.60, 0.64},       // disabled proxy text
    {23, Role::Text, 0.60, 0.64},       // disabled menu text
    {17, Role::OnAccent, 0, 0},         // highlighted text
    {22, Role::OnAccent, 0, 0},         // selected menu text
}};

// How proposals differ.
struct Variant
{
    const char* name;
    double surfaceChroma;   // the most tint the surfaces take
    double accentChroma;    // times the accent's own chroma
    double textSoftening;   // lightness moved from the end of the scale
    bool everyVision;       // placed to read well for every simulated vision
};

constexpr std::array<Variant, 4> Variants = {{
    {"Balanced", 0.012, 1.0, 0.0, true},
    {"Tinted", 0.04, 1.0, 0.0, true},
    {"Soft", 0.02, 0.5, 0.06, true},
    {"Vivid", 0.0, 1.6, 0.0, false},
}};

constexpr double TextChroma = 0.015;
constexpr double TipChroma = 0.035;
constexpr double Step = 0.01;
// Room an accent leaves for a text colour on it: white or black reaches this.
constexpr double AccentTextRoom = 5.0;

double ratio(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// Fills the slots one by one, each at the lightness nearest the one wanted
// that reads well against the slots already placed.
class Placer
{
public:
    explicit Placer(bool everyVision)
    {
        m_visions.push_back(VisionType::Normal);
        if (everyVision)
            m_visions.assign(VisionTypes.begin(), VisionTypes.end());
    }

    // False when no lightness works even for normal vision alone.
    bool Place(int slot, const OkLch& want, bool needsTextRoom)
    {
        if (place(slot, want, needsTextRoom, m_visions))
            return true;
        return m_visions.size() > 1 && place(slot, want, needsTextRoom, {VisionType::Normal});
    }

    const QColor& Color(int slot) const { return m_colors[slot]; }
    const SlotColors& Colors() const { return m_colors; }

private:
    struct Floor
    {
        double otherLuminance;
        double ratio;
        std::size_t vision;
    };

    bool place(int slot, const OkLch& want, bool needsTextRoom, const std::vector<VisionType>& visions)
    {
        std::vector<Floor> floors;
        for (const CheckedPair& pair : CheckedPairs) {
            const int other = pair.front == slot ? pair.back : pair.back == slot ? pair.front : -1;
            if (other < 0 || !m_placed[other])
                continue;
            for (std::size_t v = 0; v < visions.size(); ++v)
                floors.push_back({RelativeLuminance(Simulate(m_colors[other], visions[v])), Threshold(pair.kind), v});
        }
        const auto works = [&](const QColor& candidate) {
            std::array<double, VisionTypes.size()> seen{};
            for (std::size_t v = 0; v < visions.size(); ++v) {
                seen[v] = RelativeLuminance(Simulate(candidate, visions[v]));
                if (needsTextRoom && std::max(ratio(seen[v], 0), ratio(seen[v], 1)) < AccentTextRoom)
                    return false;
            }
            return std::all_of(floors.begin(), floors.end(),
                               [&](const Floor& f) { return ratio(seen[f.vision], f.otherLuminance) >= f.ratio; });
        };
        // Nearest first: the wanted lightness, then a step either side, ...
        const double start = std::clamp(want.L, 0.0, 1.0);
        for (int k = 0; k <= int(1 / Step) + 1; ++k) {
            for (const int side : {1, -1}) {
                if (k == 0 && side < 0)
                    continue;
                const double L = start + side * k * Step;
                if (L < 0 || L > 1)
                    continue;
                const QColor candidate = ToColor(OkLch{L, want.C, want.h});
                if (works(candidate)) {
                    m_colors[slot] = candidate;
                    m_placed[slot] = true;
                    return true;
                }
            }
        }
        return false;
    }

    std::vector<VisionType> m_visions;
    SlotColors m_colors{};
    std::array<bool, ColorSlotCount> m_placed{};
};

std::optional<SlotColors> derive(const GeneratorSeed& seed, ThemeMode mode, const Variant& variant)
{
    const bool light = mode == ThemeMode::Light;
    const double surfaceC = std::min(variant.surfaceChroma, seed.surface.C);
    const double textC = std::min(TextChroma, seed.surface.C);
    const OkLch accent{seed.accent.L, seed.accent.C * variant.accentChroma, seed.accent.h};
    // Softer text sits further from the end of the scale.
    const double soften = light ? variant.textSoftening : -variant.textSoftening;

    Placer placer(variant.everyVision);
    for (const Tone& tone : Tones) {
        const double L = light ? tone.light : tone.dark;
        OkLch want;
        switch (tone.role) {
        case Role::Surface:
            want = {L, surfaceC, seed.surface.h};
            break;
        case Role::Tip:
            want = {L, std::min(TipChroma, accent.C), accent.h};
            break;
        case Role::Accent:
            want = {accent.L + L, accent.C, accent.h};
            break;
        case Role::Text:
            want = {L + soften, textC, seed.surface.h};
            break;
        case Role::OnAccent: {
            const double back = RelativeLuminance(placer.Color(tone.slot == 17 ? 16 : 21));
            const bool whiteReadsBetter = ratio(back, 1) >= ratio(back, 0);
            want = {whiteReadsBetter ? 0.99 : 0.18, std::min(TextChroma, accent.C), accent.h};
            break;
        }
        }
        const bool textRoom = tone.slot == 16 || tone.slot == 21;
        if (!placer.Place(tone.slot, want, textRoom))
            return std::nullopt;
    }
    return placer.Colors();
}

} // namespace

GeneratorSeed SeedFromColour(const QColor& base)
{
    const OkLch lch = ToOkLch(ToOkLab(base));
    return {lch, lch};
}

QList<ThemeProposal> ProposeThemes(const GeneratorSeed& seed, ThemeMode mode)
{
    QList<ThemeProposal> proposals;
    for (const Variant& variant : Variants) {
        const std::optional<SlotColors> colors = derive(seed, mode, variant);
        if (!colors || !AllPairsPass(*colors))
            continue;
        // A grey seed gives some variants the same colours; show each once.
        const bool seen = std::any_of(proposals.begin(), proposals.end(),
                                      [&](const ThemeProposal& p) { return p.colors == *colors; });
        if (!seen)
            proposals.append({QString::fromLatin1(variant.name), *colors, AllPairsPassForEveryVision(*colors)});
    }
    std::stable_partition(proposals.begin(), proposals.end(),
                          [](const ThemeProposal& p) { return p.passesEveryVision; });
    return proposals;
}

ThemeMode ModeFor(const QColor& surface)
{
    return ToOkLab(surface).L < 0.5 ? ThemeMode::Dark : ThemeMode::Light;
}

} // namespace ovex
