#include "painting.h"

#include "tools/live_shaping.h"

#include <algorithm>

namespace vantor {

PaintRecord PaintHex(MapStore &map, HexCoord hex, int set, int tile, const DefaultTerrainTable &defaultTerrain)
{
    const PaintRecord replaced{true, hex, map.at(TileIndex, hex.x, hex.y), map.at(TileSet, hex.x, hex.y),
                               map.at(Terrain, hex.x, hex.y)};
    map.at(TileIndex, hex.x, hex.y) = std::uint8_t(tile);
    map.at(TileSet, hex.x, hex.y) = std::uint8_t(set);
    map.at(Terrain, hex.x, hex.y) = std::uint8_t(DefaultTerrainOf(defaultTerrain, set, tile));
    return replaced;
}

void ShapeAfterPainting(MapStore &map, std::span<const HexCoord> painted, const EditorSettings &settings)
{
    if (settings.shapeWhilePainting)
        ShapeAround(map, painted, settings.defaultTerrain);
}

void RestorePaint(MapStore &map, const PaintRecord &record)
{
    if (!record.valid || !IsOnMap(map, record.hex.x, record.hex.y))
        return;
    map.at(TileIndex, record.hex.x, record.hex.y) = record.tile;
    map.at(TileSet, record.hex.x, record.hex.y) = record.set;
    map.at(Terrain, record.hex.x, record.hex.y) = record.terrain;
}

void CopyHex(MapStore &map, HexCoord from, HexCoord to)
{
    for (const Plane plane : {TileIndex, TileSet, Terrain})
        map.at(plane, to.x, to.y) = map.at(plane, from.x, from.y);
}

std::vector<HexCoord> SprayHexes(const MapStore &map, HexCoord centre, int radius)
{
    std::vector<HexCoord> hexes;
    for (int y = std::max(0, centre.y - radius); y <= std::min(map.MapHeight - 1, centre.y + radius); ++y)
        for (int x = std::max(0, centre.x - radius); x <= std::min(map.MapWidth - 1, centre.x + radius); ++x)
            hexes.push_back({x, y});
    return hexes;
}

} // namespace vantor
