#pragma once
// The tile-pattern passes that give coasts, beaches, shallows, roads and rivers their shapes.
//
// A pass gives every hex a letter, reads the letters of an interior hex and of its six neighbours
// (NW, N, NE, SE, S, SW) as a seven-letter pattern, and where its table lists the pattern puts the
// named tile of the pass's tile set into the hex. All patterns are read before any hex changes.

#include "model/map_store.h"
#include "model/terrain_tables.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vantor {

inline constexpr int PatternLength = 7;

struct PatternRow {
    std::uint64_t key; // the seven letters, the first in the low byte
    std::uint8_t tile;
    char pattern[PatternLength + 1];

    constexpr PatternRow(const char (&letters)[PatternLength + 1], std::uint8_t tileNumber)
        : key(0), tile(tileNumber), pattern{}
    {
        for (int i = 0; i < PatternLength; ++i) {
            pattern[i] = letters[i];
            key |= std::uint64_t(std::uint8_t(letters[i])) << (8 * i);
        }
    }
};

// The letter of a hex, from its tile set and tile.
using HexClassifier = char (*)(std::uint8_t set, std::uint8_t tile);

struct PatternPassRules {
    const char *name;
    HexClassifier classify;
    char centre;             // only hexes of this letter are considered
    std::uint8_t tileSet;    // the set of every tile the pass writes
    std::span<const PatternRow> rows;
    int keptSet = -1;        // hexes of this set keep their tile, whatever their pattern
};

extern const PatternPassRules CoastPass;
extern const PatternPassRules BeachPass;
extern const PatternPassRules ShallowPass;
extern const PatternPassRules RoadPass;
extern const PatternPassRules RiverPass;

// The pattern of a hex for a pass: its letter and its neighbours'. The hex must be interior.
std::string HexPattern(const MapStore &map, const PatternPassRules &pass, HexCoord hex);
// The same pattern as a key, laid out like PatternRow::key.
std::uint64_t PatternKey(const MapStore &map, const PatternPassRules &pass, HexCoord hex);

// The tile a pass gives an interior hex of the given set whose pattern has the key, or nothing
// when the pass leaves the hex as it is (another centre letter, a kept set, an unlisted pattern).
std::optional<std::uint8_t> PassTile(const PatternPassRules &pass, std::uint64_t key, std::uint8_t set);

// Gives a hex the tile of the pass's set and the tile's default terrain, as the pass writes it.
void PutPassTile(MapStore &map, HexCoord hex, const PatternPassRules &pass, std::uint8_t tile,
                 const DefaultTerrainTable &defaultTerrain);

// Runs one pass over the interior of the map (the outermost ring is read, never changed). Changes
// TileIndex, TileSet and Terrain (the default terrain of the new tile) and nothing else.
void PatternPass(MapStore &map, const PatternPassRules &pass, const DefaultTerrainTable &defaultTerrain);

// "Make Coastline": the coast, beach and shallow passes, each on the result of the one before.
void MakeCoastline(MapStore &map, const DefaultTerrainTable &defaultTerrain);
// "Make Roads": the road pass. Road links are left as they are.
void MakeRoads(MapStore &map, const DefaultTerrainTable &defaultTerrain);
// "Make Rivers": the river pass.
void MakeRivers(MapStore &map, const DefaultTerrainTable &defaultTerrain);

} // namespace vantor
