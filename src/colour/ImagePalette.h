#pragma once

#include "colour/ColourScience.h"
#include "colour/ThemeGenerator.h"

#include <QImage>
#include <QList>

#include <optional>

namespace ovex {

// A picture's dominant colours, for deriving a theme from it.

// The longest side of the picture the colours are found in.
inline constexpr int PaletteSampleSide = 64;

// The picture shrunk to at most PaletteSampleSide on its longer side, each
// sample the mean, in linear light, of a few pixels spread over its cell.
// Alpha is ignored. A null picture gives a null one.
QImage DownsampleForPalette(const QImage& picture);

struct PaletteCluster
{
    OkLab centre;
    int count = 0;  // samples in the cluster
};

// k-means in OKLab over the pixels, seeded without chance (the pixel nearest
// the mean, then each time the one farthest from every centre), so the same
// picture always gives the same clusters. Largest first; empty clusters are
// left out.
QList<PaletteCluster> DominantColours(const QImage& small, int k = 6);

// The most common cluster as the surfaces, the most chromatic as the accent.
GeneratorSeed SeedFromClusters(const QList<PaletteCluster>& clusters);

// Downsample, cluster, seed; nothing for a null picture.
std::optional<GeneratorSeed> SeedFromPicture(const QImage& picture);

} // namespace ovex
