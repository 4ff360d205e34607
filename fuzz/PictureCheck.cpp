// The picture analysis behind Generate Theme, From Image, on pictures of any
// size and format made from the input: 1 x 1, one pixel wide, indexed, with
// alpha, 16-bit and floating-point channels.
#include "FuzzChecks.h"

#include "colour/ImagePalette.h"

#include <QImage>

#include <cmath>
#include <cstring>

namespace ovex::fuzz {

namespace {

// Keeps one run to a few milliseconds while still allowing 1 x 100000.
constexpr qint64 MaxPixels = 1 << 17;

unsigned byteAt(QByteArrayView b, qsizetype at) { return at < b.size() ? static_cast<unsigned char>(b[at]) : 0u; }

int side(QByteArrayView b, qsizetype at)
{
    return 1 + int((byteAt(b, at) | (byteAt(b, at + 1) << 8) | (byteAt(b, at + 2) << 16)) % MaxPixels);
}

bool finite(const OkLch& c) { return std::isfinite(c.L) && std::isfinite(c.C) && std::isfinite(c.h); }
double chroma(const OkLab& c) { return std::hypot(c.a, c.b); }

// Sign- and range-checks a colour the analysis reports; sRGB's own OKLab
// values stay inside these bounds.
bool plausible(const OkLab& c)
{
    return std::isfinite(c.L) && std::isfinite(c.a) && std::isfinite(c.b) && c.L >= -1e-6 && c.L <= 1 + 1e-6
        && std::abs(c.a) <= 0.5 && std::abs(c.b) <= 0.5;
}

} // namespace

// Bytes 0-2 the width, 3-5 the height (their product kept to MaxPixels by
// cutting the height), 6 the QImage format, 7 the colour table's length less
// one; for an indexed format the colour table follows, four bytes an entry;
// the rest, repeated, fills the pixels.
Failure CheckPicture(QByteArrayView bytes)
{
    const int width = side(bytes, 0);
    const int height = std::max(1, std::min<int>(side(bytes, 3), int(MaxPixels / width)));
    const auto format = QImage::Format(1 + byteAt(bytes, 6) % (QImage::NImageFormats - 1));
    QImage picture(width, height, format);
    if (picture.isNull())
        return {};   // too big for this format's lines
    const qsizetype tableSize = 1 + byteAt(bytes, 7);
    qsizetype at = 8;
    const bool indexed = format == QImage::Format_Indexed8 || format == QImage::Format_Mono
        || format == QImage::Format_MonoLSB;
    if (indexed) {
        QList<QRgb> table;
        for (qsizetype i = 0; i < tableSize; ++i, at += 4)
            table.append(byteAt(bytes, at) << 24 | byteAt(bytes, at + 1) << 16 | byteAt(bytes, at + 2) << 8
                         | byteAt(bytes, at + 3));
        // Every index has an entry, as in a decoded picture (Qt warns on each
        // pixel beyond the table): the given entries repeat.
        for (qsizetype i = table.size(); i < 256; ++i)
            table.append(table[i % tableSize]);
        picture.setColorTable(table);
    }
    const QByteArrayView pixels = at < bytes.size() ? bytes.sliced(at) : QByteArrayView("\0", 1);
    // The lines lie one after the other: the pattern, then copies doubling.
    uchar* out = picture.bits();
    const qsizetype size = picture.sizeInBytes();
    qsizetype filled = std::min(size, pixels.size());
    std::memcpy(out, pixels.data(), size_t(filled));
    for (; filled < size; filled *= 2)
        std::memcpy(out + filled, out, size_t(std::min(filled, size - filled)));

    const QImage small = DownsampleForPalette(picture);
    const double scale = std::min(1.0, double(PaletteSampleSide) / std::max(width, height));
    const int w = std::max(1, int(std::lround(width * scale)));
    const int h = std::max(1, int(std::lround(height * scale)));
    if (small.width() != w || small.height() != h)
        return QStringLiteral("%1 x %2 shrank to %3 x %4").arg(width).arg(height).arg(small.width()).arg(small.height());

    // Every pixel the same colour: every sample is that colour, alpha or not.
    const QRgb first = picture.pixel(0, 0) | 0xFF000000u;
    bool uniform = true;
    for (int y = 0; y < height && uniform; ++y) {
        for (int x = 0; x < width && uniform; ++x)
            uniform = (picture.pixel(x, y) | 0xFF000000u) == first;
    }

    const QList<PaletteCluster> clusters = DominantColours(small);
    if (clusters.isEmpty() || clusters.size() > 6)
        return QStringLiteral("%1 clusters").arg(clusters.size());
    int total = 0;
    for (qsizetype i = 0; i < clusters.size(); ++i) {
        if (clusters[i].count <= 0 || (i > 0 && clusters[i].count > clusters[i - 1].count))
            return QStringLiteral("cluster %1 holds %2 samples, out of order").arg(i).arg(clusters[i].count);
        if (!plausible(clusters[i].centre))
            return QStringLiteral("cluster %1 has the centre %2 %3 %4").arg(i).arg(clusters[i].centre.L)
                .arg(clusters[i].centre.a).arg(clusters[i].centre.b);
        total += clusters[i].count;
    }
    if (total != w * h)
        return QStringLiteral("the clusters hold %1 of %2 samples").arg(total).arg(w * h);
    if (uniform) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if ((small.pixel(x, y) | 0xFF000000u) != first)
                    return QStringLiteral("a picture of one colour gave another sample");
            }
        }
        if (clusters.size() != 1)
            return QStringLiteral("a picture of one colour gave %1 clusters").arg(clusters.size());
    }

    const std::optional<GeneratorSeed> seed = SeedFromPicture(picture);
    if (!seed || !finite(seed->surface) || !finite(seed->accent))
        return QStringLiteral("no usable seed");
    const GeneratorSeed expected = SeedFromClusters(clusters);
    if (seed->surface.L != expected.surface.L || seed->accent.C != expected.accent.C)
        return QStringLiteral("the same picture gave another seed");
    const OkLch& surface = seed->surface;
    if (std::abs(surface.L - clusters.front().centre.L) > 1e-9
        || std::abs(surface.C - chroma(clusters.front().centre)) > 1e-9)
        return QStringLiteral("the surface is not the largest cluster");
    for (const PaletteCluster& c : clusters) {
        if (chroma(c.centre) > seed->accent.C + 1e-9)
            return QStringLiteral("a cluster is more colourful than the accent");
    }
    return {};
}

} // namespace ovex::fuzz
