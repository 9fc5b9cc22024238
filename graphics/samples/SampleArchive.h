#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace dovrel {

// A sample tile archive in the layout that Generate reads, with tile art of our
// own: 16 sets, each found by the scan from its search offset, one tile for
// every slot of the set's default-terrain row (a slot with no tile gets an
// empty tile), palette blocks, and run-length coded rows that use every kind
// of control. The bytes are the same on every run.
QByteArray BuildSampleArchive();

// Writes the sample archive to `path` (replacing a file only once the new one
// is complete). On failure returns false and sets `error`.
bool WriteSampleArchive(const QString &path, QString *error);

// The default terrain code of every tile slot ('.' for a slot with no tile),
// one row per set; the art of a sample tile follows its code.
extern const std::array<const char *, 16> SampleTerrainRows;

// Sides of a hexagon in neighbour order.
enum HexSide { NW = 0, N = 1, NE = 2, SE = 3, S = 4, SW = 5 };

// For the sets whose tiles face their neighbours (coast 0, roads 2, rivers 3,
// beach 4, shallow 5), the sides toward which a sample tile shows its feature,
// one bit per HexSide: land on a coast tile, sea on a beach tile, coast water
// on a shallow tile, the road or the river. 0 for tiles without a direction.
int SampleTileSides(int set, int tile);

// Size of a sample tile at the game's scale.
inline constexpr int SampleTileWidth = 61;
inline constexpr int SampleTileHeight = 51;

} // namespace dovrel
