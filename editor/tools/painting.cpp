#include "painting.h"

#include "render/tile_drawing.h"

#include <algorithm>

namespace vantor {

namespace {

PixelRect RectOf(const MapStore &map, HexCoord hex) { return HexRect(hex.y * map.MapWidth + hex.x, map.MapWidth); }

void DrawPixels(QImage &picture, const QImage &pixels, const PixelRect &at)
{
    for (int y = 0; y < TileHeight && at.top + y < picture.height(); ++y)
        for (int x = 0; x < TileWidth && at.left + x < picture.width(); ++x)
            picture.setPixel(at.left + x, at.top + y, pixels.pixel(x, y));
}

} // namespace

void PaintHex(MapStore &map, QImage &picture, const QImage &paintImage, HexCoord hex, int set, int tile,
              const DefaultTerrainTable &defaultTerrain, UndoRecord &undo)
{
    const PixelRect rect = RectOf(map, hex);
    undo.valid = true;
    undo.LastPaintRect = rect;
    undo.ScratchImage = picture.copy(rect.left, rect.top, TileWidth, TileHeight);
    undo.UndoTile = map.at(TileIndex, hex.x, hex.y);
    undo.UndoSet = map.at(TileSet, hex.x, hex.y);
    undo.UndoTerrain = map.at(Terrain, hex.x, hex.y);
    undo.UndoX = hex.x;
    undo.UndoY = hex.y;

    DrawMaskedTile(paintImage, picture, rect.left, rect.top);
    map.at(TileIndex, hex.x, hex.y) = std::uint8_t(tile);
    map.at(TileSet, hex.x, hex.y) = std::uint8_t(set);
    map.at(Terrain, hex.x, hex.y) = std::uint8_t(DefaultTerrainOf(defaultTerrain, set, tile));
}

void UndoPaint(MapStore &map, QImage &picture, const UndoRecord &undo)
{
    if (!undo.valid)
        return;
    DrawPixels(picture, undo.ScratchImage, undo.LastPaintRect);
    map.at(TileIndex, undo.UndoX, undo.UndoY) = undo.UndoTile;
    map.at(TileSet, undo.UndoX, undo.UndoY) = undo.UndoSet;
    map.at(Terrain, undo.UndoX, undo.UndoY) = undo.UndoTerrain;
}

void CopyHex(MapStore &map, QImage &picture, HexCoord from, HexCoord to)
{
    const PixelRect source = RectOf(map, from);
    const PixelRect target = RectOf(map, to);
    DrawMaskedTile(picture.copy(source.left, source.top, TileWidth, TileHeight), picture, target.left, target.top);
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
