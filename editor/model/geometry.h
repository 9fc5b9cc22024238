#pragma once
// Hex and tile geometry: map hex <-> map-picture pixel, tile number <-> tile-set pixel,
// and the hexagon mask every tile is drawn through.

#include "model/map_store.h"

#include <array>
#include <optional>

namespace vantor {

inline constexpr int TileWidth = 48;
inline constexpr int TileHeight = 40;
inline constexpr int ColumnStep = 37; // neighbouring columns overlap by 11 pixels
inline constexpr int TileColumns = 8; // tiles per row of a tile-set bitmap

// Right and bottom are exclusive: right = left + 48, bottom = top + 40.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect &, const PixelRect &) = default;
};

PixelRect HexRect(int n, int mapWidth);
int HexAtPixel(int X, int Y, int mapWidth);
// The hex under a pixel of the map picture, or nothing when the pixel lies in the right or bottom
// margin, beyond the last column or row of a map of the given size.
std::optional<HexCoord> HexOnMapAt(int X, int Y, int mapWidth, int mapHeight);

// The hex under a pixel by the same rule, on the map or beyond its edges (where a stroke may pass).
HexCoord HexNearPixel(int X, int Y, int mapWidth, int mapHeight);

PixelRect TileRect(int n);
int TileAtPixel(int X, int Y);

// Size of the map picture of a map.
inline int MapPictureWidth(int mapWidth) { return ColumnStep * mapWidth + 12; }
inline int MapPictureHeight(int mapHeight) { return TileHeight * mapHeight + 20; }

// Per row of a 48 x 40 tile, how many pixels on the left and on the right lie outside the hexagon.
struct MaskRow {
    int transparentLeft;
    int transparentRight;
};
extern const std::array<MaskRow, TileHeight> HexMask;

inline bool IsInsideHexagon(int x, int y)
{
    return y >= 0 && y < TileHeight && x >= HexMask[y].transparentLeft &&
           x < TileWidth - HexMask[y].transparentRight;
}

} // namespace vantor
