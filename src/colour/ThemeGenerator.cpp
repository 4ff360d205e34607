#include "colour/ThemeGenerator.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace ovex {

namespace {

// What a slot's colour is derived from.
enum class Role {
    Surface,    // the surfaces' hue, toned
    Line,       // borders and separator lines: a surface tone, or the text's
    Tip,        // the tool-tip background, as the variant styles it
    Accent,     // the accent, shifted in lightness
    Text,       // text on the surfaces, placed by contrast
    Hint,       // disabled text: the same lightness in every variant
    OnColour,   // text on the tip or the accent: whichever end of the scale reads better
};

struct Tone
{
    int slot;
    Role role;
    // OKLab lightness in a light theme and in a dark one. For Accent: a shift
    // from the accent's; for OnColour: the dark text's and the light text's.
    double light;
    double dark;
    int on = -1;    // OnColour: the slot the text is drawn on
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
    {25, Role::Line, 0.84, 0.38},       // separator line
    {2, Role::Line, 0.64, 0.50},        // control borders
    {6, Role::Tip, 0, 0},               // tool-tip background
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
    {13, Role::Hint, 0.60, 0.64},       // disabled control text
    {14, Role::Hint, 0.60, 0.64},       // disabled proxy text
    {23, Role::Hint, 0.60, 0.64},       // disabled menu text
    {7, Role::OnColour, 0.20, 0.97, 6},     // tool-tip text
    {17, Role::OnColour, 0.18, 0.99, 16},   // highlighted text
    {22, Role::OnColour, 0.18, 0.99, 21},   // selected menu text
}};

// A lightness for each mode.
struct ByMode
{
    double light;
    double dark;

    double operator()(bool isLight) const { return isLight ? light : dark; }
};

// What makes a variant: each differs from the others in structure (how deep
// its surfaces are, where its texts and lines sit, what the tool tip is,
// which hue the accent takes), not only in how much colour it has, so that no
// two look alike whatever the seed.
struct Variant
{
    const char* name;
    ByMode surfaceScale{1, 1};  // the surfaces' distance from the end of the scale, times the usual
    double surfaceChroma = 0;   // the surfaces' tint
    bool tintUpToSeed = false;  // no more tint than the seed's own surface has
    double lineContrast = 0;    // 0: lines as surfaces; 1: lines as text
    double textScale = 1;       // texts' distance from the end of the scale, times the usual
    double textChroma = 0;
    double turn = 0;            // the accent's hue turned by this, in radians
    double accentChroma = -1;   // negative: the seed accent's own
    ByMode accentLight{-1, -1}; // negative: the seed accent's own lightness
    ByMode tipLight{0.97, 0.34};
    double tipChroma = 0;
};

// In the order they are offered.
constexpr std::array<Variant, 4> Variants = {{
    // Grey surfaces and texts, a pale tool tip; the accent as it is.
    {.name = "Neutral", .surfaceChroma = 0.01, .tintUpToSeed = true, .textChroma = 0.012, .tipChroma = 0.035},
    // Deeper surfaces and texts in the seed's hue, a muted accent, a dark
    // tool tip in a light theme (a light one in a dark theme).
    {.name = "Tinted", .surfaceScale = {1.7, 1.3}, .surfaceChroma = 0.04, .textScale = 1.35, .textChroma = 0.045,
     .accentChroma = 0.08, .accentLight = {0.50, 0.74}, .tipLight = {0.32, 0.88}, .tipChroma = 0.04},
    // White (or black) surfaces; texts, lines and the tool tip at the other
    // end of the scale; a deep (or light) accent.
    {.name = "High contrast", .surfaceScale = {0.4, 0.3}, .lineContrast = 0.9, .textScale = 0,
     .accentLight = {0.40, 0.82}, .tipLight = {0, 1}},
    // The accent turned about a quarter of the way round the hue circle, at
    // full colour, with the surfaces' hue turned as far; a coloured tool tip.
    {.name = "Colourful", .surfaceScale = {1.2, 1.1}, .surfaceChroma = 0.05, .textScale = 1.1, .textChroma = 0.08,
     .turn = 1.6, .accentChroma = 0.15, .accentLight = {0.50, 0.74}, .tipLight = {0.48, 0.75}, .tipChroma = 0.14},
}};

// Below this chroma a colour has no hue worth keeping.
constexpr double NoHueChroma = 0.004;
// The hue of a calm blue, for seeds with none.
constexpr double FallbackHue = -1.82;
// The yellow greens, from 85 to 135 degrees.
constexpr double MuddyFrom = 1.48;
constexpr double MuddyTo = 2.36;
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
    // Each slot is placed to read well for every vision, or where no
    // lightness does, for normal vision. False when none works even for that.
    bool Place(int slot, const OkLch& want, bool needsTextRoom)
    {
        return place(slot, want, needsTextRoom, {VisionTypes.begin(), VisionTypes.end()})
            || place(slot, want, needsTextRoom, {VisionType::Normal});
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

    SlotColors m_colors{};
    std::array<bool, ColorSlotCount> m_placed{};
};

// A grey has no hue of its own: the surfaces take the accent's, the accent
// the surfaces', and where both are grey, a calm blue.
double hueOf(const OkLch& colour, const OkLch& other)
{
    if (colour.C >= NoHueChroma)
        return colour.h;
    return other.C >= NoHueChroma ? other.h : FallbackHue;
}

// The turn for an accent of this hue: where it would land among the yellow
// greens, which look muddy at an accent's lightness, the other way.
double turnFor(double hue, double turn)
{
    const double to = std::remainder(hue + turn, 2 * std::numbers::pi);
    return to > MuddyFrom && to < MuddyTo ? -turn : turn;
}

// Lightness the scale's end plus (from - end) times scale.
double scaledFrom(double end, double from, double scale)
{
    return std::clamp(end + (from - end) * scale, 0.0, 1.0);
}

std::optional<SlotColors> derive(const GeneratorSeed& seed, ThemeMode mode, const Variant& variant)
{
    const bool light = mode == ThemeMode::Light;
    // Surfaces sit near one end of the scale, texts near the other.
    const double surfaceEnd = light ? 1 : 0;
    const double textEnd = 1 - surfaceEnd;
    const double surfaceC = variant.tintUpToSeed ? std::min(variant.surfaceChroma, seed.surface.C) : variant.surfaceChroma;
    const double textC = variant.tintUpToSeed ? std::min(variant.textChroma, seed.surface.C) : variant.textChroma;
    const double seedAccentHue = hueOf(seed.accent, seed.surface);
    // A turned variant turns the surfaces' hue with the accent's.
    const double turn = turnFor(seedAccentHue, variant.turn);
    const double accentHue = seedAccentHue + turn;
    const double surfaceHue = hueOf(seed.surface, seed.accent) + turn;
    const OkLch accent{variant.accentLight(light) < 0 ? seed.accent.L : variant.accentLight(light),
                       variant.accentChroma < 0 ? seed.accent.C : variant.accentChroma, accentHue};

    Placer placer;
    for (const Tone& tone : Tones) {
        const double L = light ? tone.light : tone.dark;
        OkLch want;
        switch (tone.role) {
        case Role::Surface:
            want = {scaledFrom(surfaceEnd, L, variant.surfaceScale(light)), surfaceC, surfaceHue};
            break;
        case Role::Line: {
            const double surface = scaledFrom(surfaceEnd, L, variant.surfaceScale(light));
            want = {surface + (textEnd - surface) * variant.lineContrast, surfaceC, surfaceHue};
            break;
        }
        case Role::Tip:
            want = {variant.tipLight(light), std::min(variant.tipChroma, std::max(accent.C, surfaceC)), accentHue};
            break;
        case Role::Accent:
            want = {accent.L + L, accent.C, accent.h};
            break;
        case Role::Text:
            want = {scaledFrom(textEnd, L, variant.textScale), textC, surfaceHue};
            break;
        case Role::Hint:
            want = {L, textC, surfaceHue};
            break;
        case Role::OnColour: {
            const double back = RelativeLuminance(placer.Color(tone.on));
            const bool lightReadsBetter = ratio(back, 1) >= ratio(back, 0);
            const double end = lightReadsBetter ? 1 : 0;
            want = {scaledFrom(end, lightReadsBetter ? tone.dark : tone.light, variant.textScale),
                    std::min(variant.textChroma, accent.C), accent.h};
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

double ProposalDistance(const SlotColors& x, const SlotColors& y)
{
    double sum = 0;
    for (int slot = 0; slot < ColorSlotCount; ++slot)
        sum += OkLabDistance(x[slot], y[slot]);
    return sum / ColorSlotCount;
}

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
        // Show only what is worth choosing between.
        const bool alike = std::any_of(proposals.begin(), proposals.end(), [&](const ThemeProposal& p) {
            return ProposalDistance(p.colors, *colors) < MinProposalDistance;
        });
        if (!alike)
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
