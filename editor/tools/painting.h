#pragma once
// Painting one hex with a tile, shaping around painted hexes, the one-step restore of a paint, the Shift copy of a hex, and the spray square.

#include "document/editor_settings.h"
#include "model/map_store.h"
#include "model/terrain_tables.h"

#include <span>
#include <vector>

namespace vantor {

// What painting a hex replaced: its tile, set and terrain.
struct PaintRecord {
    bool valid = false;
    HexCoord hex;
    std::uint8_t tile = 0;
    std::uint8_t set = 0;
    std::uint8_t terrain = 0;
};

// Gives the hex the tile, the set and the tile's default terrain; returns what it replaced.
PaintRecord PaintHex(MapStore &map, HexCoord hex, int set, int tile, const DefaultTerrainTable &defaultTerrain);

// Puts back what a paint replaced. Repeating it repeats the same restore; an empty record, or one
// whose hex is off the map, changes nothing.
void RestorePaint(MapStore &map, const PaintRecord &record);

// While Shape While Painting is on, gives the hexes around the painted ones the shapes of their
// coasts, roads and rivers, as part of the same edit.
void ShapeAfterPainting(MapStore &map, std::span<const HexCoord> painted, const EditorSettings &settings);

// Gives hex `to` the tile, set and terrain of hex `from`.
void CopyHex(MapStore &map, HexCoord from, HexCoord to);

// The hexes of the square of the given radius around centre, cut at the map's edges, rows outer.
std::vector<HexCoord> SprayHexes(const MapStore &map, HexCoord centre, int radius);

} // namespace vantor
