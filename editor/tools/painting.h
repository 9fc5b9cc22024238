#pragma once
// Painting one hex with a tile, its one-step undo, the Shift copy of a hex, and the spray square.

#include "model/geometry.h"
#include "model/map_store.h"
#include "model/terrain_tables.h"

#include <QImage>

#include <vector>

namespace vantor {

// What painting a hex replaced: its pixels and its tile, set and terrain.
struct UndoRecord {
    bool valid = false;
    PixelRect LastPaintRect;
    QImage ScratchImage; // the replaced 48 x 40 pixels
    std::uint8_t UndoTile = 0;
    std::uint8_t UndoSet = 0;
    std::uint8_t UndoTerrain = 0;
    int UndoX = 0;
    int UndoY = 0;
};

// Stamps paintImage (a 48 x 40 tile) through the hexagon mask onto hex (x, y) of the picture and
// gives the hex the tile, the set and the tile's default terrain. undo receives what was replaced.
void PaintHex(MapStore &map, QImage &picture, const QImage &paintImage, HexCoord hex, int set, int tile,
              const DefaultTerrainTable &defaultTerrain, UndoRecord &undo);

// Puts back what the last paint replaced. Repeating it repeats the same restore; an empty record
// changes nothing.
void UndoPaint(MapStore &map, QImage &picture, const UndoRecord &undo);

// Copies what hex `from` shows (overlays included) onto hex `to` through the hexagon mask, and its
// tile, set and terrain.
void CopyHex(MapStore &map, QImage &picture, HexCoord from, HexCoord to);

// The hexes of the square of the given radius around centre, cut at the map's edges, rows outer.
std::vector<HexCoord> SprayHexes(const MapStore &map, HexCoord centre, int radius);

// The pixel a click on the hex is taken at: one that maps back to the hex.
inline int HexClickX(int x) { return ColumnStep * x + 18 + (x % 2 == 1 ? 20 : 0); }
inline int HexClickY(int y) { return TileHeight * y + 20; }

} // namespace vantor
