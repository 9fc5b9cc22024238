#pragma once
// Turning a sketch painted in seven colours into a map: each hex takes the colour class that most
// of nine samples at its place in the sketch fall into, and a tile of that class.

#include "model/colour_value.h"
#include "model/map_store.h"
#include "model/terrain_tables.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <random>

namespace vantor {

struct ColourClass {
    ColourValue reference; // 0x00BBGGRR
    std::uint8_t tileSet;
    std::array<std::uint8_t, 3> tiles; // the three variants
};

inline constexpr int ColourClassCount = 7;
// Navy sea, lime clear land, dark green forest, white mountains, red roads, blue rivers, yellow desert.
extern const std::array<ColourClass, ColourClassCount> ColourClasses;
inline constexpr int WhiteClass = 3;

// Sum over red, green and blue of the absolute differences.
int ColourDistance(ColourValue a, ColourValue b);

// The class whose reference colour is nearest; of equally near classes the lowest.
int ClassifyColor(ColourValue colour);

inline ColourValue ColourOfPixel(QRgb pixel) { return ColourValue(qRed(pixel)) | ColourValue(qGreen(pixel)) << 8 | ColourValue(qBlue(pixel)) << 16; }

// Sketch pixels per hex, both ways.
inline constexpr int MinPixelsPerHex = 3;
inline constexpr int MaxPixelsPerHex = 10;
inline constexpr int DefaultPixelsPerHex = 5;

// The map size a sketch gives: its size divided by the scale, cut to 72 x 70. A side of 0 means
// the sketch is smaller than one hex.
QSize SketchMapSize(QSize sketch, int pixelsPerHex);

// The class of hex (x, y): the vote of the 3 x 3 samples at the top-left of its square of the
// sketch, on a plain square grid; a tie goes to the lowest class. A sample that lies outside the
// sketch counts as white.
int SketchHexClass(const QImage &sketch, int pixelsPerHex, int x, int y);

// The random source of the tile variants. Seeded, it repeats its choices.
using VariantSource = std::mt19937;

// 0, 1 or 2, each with the same chance.
int DrawVariant(VariantSource &random);

// Converts the sketch into the hexes of the map's current size: each hex gets its class's tile set
// and one of the class's tiles, drawn at random, with that tile's default terrain, and loses its
// place and city captions. Every other plane is kept.
void ConvertSketch(const QImage &sketch, int pixelsPerHex, MapStore &map, const DefaultTerrainTable &defaultTerrain,
                   VariantSource &random);

// Reads a Windows bitmap as a 32-bit picture. Returns an empty text, or the message that refuses it
// (naming the file); on refusal sketch is left as it was.
QString ReadSketch(const QString &path, QImage &sketch);

} // namespace vantor
