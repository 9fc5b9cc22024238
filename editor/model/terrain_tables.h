#pragma once
// Terrain names and the default terrain of every tile of every tile set.

#include <array>

namespace vantor {

inline constexpr int TileSetCount = 16;
inline constexpr int TilesPerSet = 88;
inline constexpr int TerrainCount = 37;
// Terrain of a tile whose default-terrain slot holds no usable code.
inline constexpr int UnknownTerrain = 28;

// Row s holds one character per tile of set s: terrain t is the character 48 + t,
// '.' marks a slot without a tile and unused slots hold NUL.
using DefaultTerrainTable = std::array<std::array<char, TilesPerSet>, TileSetCount>;

DefaultTerrainTable InitialDefaultTerrain();

// Terrain number 0..36 of a tile; any unusable code (or a set or tile outside the table) yields 28.
int DefaultTerrainOf(const DefaultTerrainTable &table, int set, int tile);

// The character that stands for terrain t in the table.
inline char TerrainCode(int terrain) { return static_cast<char>('0' + terrain); }

extern const std::array<const char *, TerrainCount> TerrainNames;

// Name of terrain t, or an empty text for a byte that names no terrain.
const char *TerrainName(int terrain);

} // namespace vantor
