#include "colour/ImagePalette.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace ovex {

namespace {

// Pixels averaged per sample in each direction.
constexpr int SubSamples = 4;
constexpr int MaxIterations = 24;

double distance2(const OkLab& x, const OkLab& y)
{
    const double dL = x.L - y.L;
    const double da = x.a - y.a;
    const double db = x.b - y.b;
    return dL * dL + da * da + db * db;
}

std::size_t nearest(const OkLab& p, const std::vector<OkLab>& centres)
{
    std::size_t best = 0;
    double bestD = std::numeric_limits<double>::max();
    for (std::size_t c = 0; c < centres.size(); ++c) {
        const double d = distance2(p, centres[c]);
        if (d < bestD) {
            bestD = d;
            best = c;
        }
    }
    return best;
}

std::vector<OkLab> seeds(const std::vector<OkLab>& points, int k)
{
    OkLab mean;
    for (const OkLab& p : points) {
        mean.L += p.L;
        mean.a += p.a;
        mean.b += p.b;
    }
    const double n = double(points.size());
    mean = {mean.L / n, mean.a / n, mean.b / n};
    std::vector<OkLab> centres{points[nearest(mean, points)]};
    std::vector<double> farFrom(points.size(), std::numeric_limits<double>::max());
    while (int(centres.size()) < k) {
        std::size_t farthest = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            farFrom[i] = std::min(farFrom[i], distance2(points[i], centres.back()));
            if (farFrom[i] > farFrom[farthest])
                farthest = i;
        }
        // Every pixel already sits on a centre: fewer colours than k.
        if (farFrom[farthest] == 0)
            break;
        centres.push_back(points[farthest]);
    }
    return centres;
}

} // namespace

QImage DownsampleForPalette(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage& source = picture;
    // Converting a whole photo would cost more than the rest together, so
    // other formats are read pixel by pixel.
    const QImage::Format format = source.format();
    const bool packed = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
    const int longer = std::max(source.width(), source.height());
    const double scale = std::min(1.0, double(PaletteSampleSide) / longer);
    const int w = std::max(1, int(std::lround(source.width() * scale)));
    const int h = std::max(1, int(std::lround(source.height() * scale)));
    QImage small(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(small.scanLine(y));
        for (int x = 0; x < w; ++x) {
            LinearRgb sum;
            for (int sy = 0; sy < SubSamples; ++sy) {
                const int row = int((y + (sy + 0.5) / SubSamples) * source.height() / h);
                const auto* line = packed ? reinterpret_cast<const QRgb*>(source.constScanLine(row)) : nullptr;
                for (int sx = 0; sx < SubSamples; ++sx) {
                    const int column = int((x + (sx + 0.5) / SubSamples) * source.width() / w);
                    const LinearRgb px = ToLinear(packed ? line[column] : source.pixel(column, row));
                    sum.r += px.r;
                    sum.g += px.g;
                    sum.b += px.b;
                }
            }
            constexpr double n = SubSamples * SubSamples;
            out[x] = FromLinear({sum.r / n, sum.g / n, sum.b / n}).rgb();
        }
    }
    return small;
}

QList<PaletteCluster> DominantColours(const QImage& small, int k)
{
    std::vector<OkLab> points;
    points.reserve(std::size_t(small.width()) * small.height());
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x)
            points.push_back(LinearToOkLab(ToLinear(small.pixel(x, y))));
    }
    if (points.empty() || k < 1)
        return {};

    std::vector<OkLab> centres = seeds(points, k);
    std::vector<std::size_t> member(points.size(), centres.size());
    for (int iteration = 0; iteration < MaxIterations; ++iteration) {
        bool moved = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::size_t c = nearest(points[i], centres);
            moved = moved || c != member[i];
            member[i] = c;
        }
        if (!moved)
            break;
        std::vector<OkLab> sums(centres.size());
        std::vector<int> counts(centres.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            OkLab& s = sums[member[i]];
            s.L += points[i].L;
            s.a += points[i].a;
            s.b += points[i].b;
            ++counts[member[i]];
        }
        for (std::size_t c = 0; c < centres.size(); ++c) {
            if (counts[c] > 0)
                centres[c] = {sums[c].L / counts[c], sums[c].a / counts[c], sums[c].b / counts[c]};
        }
    }

    QList<PaletteCluster> clusters;
    for (std::size_t c = 0; c < centres.size(); ++c) {
        const int count = int(std::count(member.begin(), member.end(), c));
        if (count > 0)
            clusters.append({centres[c], count});
    }
    std::stable_sort(clusters.begin(), clusters.end(),
                     [](const PaletteCluster& x, const PaletteCluster& y) { return x.count > y.count; });
    return clusters;
}

GeneratorSeed SeedFromClusters(const QList<PaletteCluster>& clusters)
{
    if (clusters.isEmpty())
        return {};
    const auto chroma = [](const PaletteCluster& c) { return std::hypot(c.centre.a, c.centre.b); };
    const PaletteCluster& accent = *std::max_element(
        clusters.begin(), clusters.end(),
        [&](const PaletteCluster& x, const PaletteCluster& y) { return chroma(x) < chroma(y); });
    return {ToOkLch(clusters.front().centre), ToOkLch(accent.centre)};
}

std::optional<GeneratorSeed> SeedFromPicture(const QImage& picture)
{
    if (picture.isNull())
        return std::nullopt;
    return SeedFromClusters(DominantColours(DownsampleForPalette(picture)));
}

} // namespace ovex
