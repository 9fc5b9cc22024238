#include "geometry.h"

namespace vantor {

const std::array<MaskRow, TileHeight> HexMask = {{
    {10, 10}, {9, 9}, {9, 9}, {8, 9}, {8, 8}, {7, 7}, {7, 6}, {6, 6}, {5, 5}, {5, 5},
    {4, 4}, {3, 3}, {3, 3}, {2, 2}, {2, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 0}, {0, 0},
    {0, 0}, {1, 0}, {1, 1}, {1, 1}, {2, 2}, {3, 3}, {3, 3}, {4, 4}, {4, 5}, {5, 5},
    {6, 6}, {7, 6}, {7, 7}, {8, 7}, {8, 8}, {9, 9}, {9, 9}, {10, 9}, {11, 10}, {11, 10},
}};

// Division truncates toward zero throughout, so -39..39 divided by 40 is 0.

PixelRect HexRect(int n, int mapWidth)
{
    const int x = n % mapWidth;
    const int y = n / mapWidth;
    const int left = ColumnStep * x;
    const int top = TileHeight * y + (x % 2 == 1 ? 20 : 0);
    return {left, top, left + TileWidth, top + TileHeight};
}

// Columns split at 37c + 7 and rows on the 40-pixel grid of the column's parity;
// the sloped hexagon edges are not considered.
int HexAtPixel(int X, int Y, int mapWidth)
{
    int c = (X - 7) / ColumnStep;
    if (c < 0)
        c = 0;
    const int r = c % 2 == 1 ? (Y - 20) / TileHeight : Y / TileHeight;
    return r * mapWidth + c;
}

std::optional<HexCoord> HexOnMapAt(int X, int Y, int mapWidth, int mapHeight)
{
    int c = (X - 7) / ColumnStep;
    if (c < 0)
        c = 0;
    const int r = c % 2 == 1 ? (Y - 20) / TileHeight : Y / TileHeight;
    if (c >= mapWidth || r < 0 || r >= mapHeight)
        return std::nullopt;
    return HexCoord{c, r};
}

HexCoord HexNearPixel(int X, int Y, int mapWidth, int mapHeight)
{
    if (const std::optional<HexCoord> hex = HexOnMapAt(X, Y, mapWidth, mapHeight))
        return *hex;
    // Beyond the map, rounding down keeps the columns and rows on either side of its edges apart.
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const int c = X >= 0 && X < 7 ? 0 : floorDiv(X - 7, ColumnStep);
    return {c, floorDiv(Y - ((c & 1) != 0 ? 20 : 0), TileHeight)};
}

// Inside a tile-set bitmap the even columns are the low ones, the opposite of the map.
PixelRect TileRect(int n)
{
    const int c = n % TileColumns;
    const int r = n / TileColumns;
    const int left = ColumnStep * c;
    const int top = TileHeight * r + (c % 2 == 0 ? 20 : 0);
    return {left, top, left + TileWidth, top + TileHeight};
}

int TileAtPixel(int X, int Y)
{
    int c = (X - 7) / ColumnStep;
    if (c < 0)
        c = 0;
    const int r = c % 2 == 0 ? (Y - 20) / TileHeight : Y / TileHeight;
    return TileColumns * r + c;
}

} // namespace vantor
