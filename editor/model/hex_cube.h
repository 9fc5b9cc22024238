#pragma once
// Cube coordinates of the hex grid. In (column, row) a move by an odd number of columns shifts
// alternate columns by half a hex; in cube coordinates every move is a plain sum, so lines, discs
// and moved blocks keep their shape as the eye sees it.

#include "model/map_store.h"

#include <span>
#include <vector>

namespace vantor {

// q + r + s == 0. q is the column; r counts rows along the column's slant.
struct CubeHex {
    int q = 0;
    int r = 0;
    int s = 0;
    friend bool operator==(const CubeHex &, const CubeHex &) = default;
    friend CubeHex operator+(CubeHex a, CubeHex b) { return {a.q + b.q, a.r + b.r, a.s + b.s}; }
    friend CubeHex operator-(CubeHex a, CubeHex b) { return {a.q - b.q, a.r - b.r, a.s - b.s}; }
};

// Odd columns sit half a hex lower. (c - (c & 1)) is even for negative columns too, so the
// division is exact wherever a moved block lands.
inline CubeHex ToCube(HexCoord hex)
{
    const int r = hex.y - (hex.x - (hex.x & 1)) / 2;
    return {hex.x, r, -hex.x - r};
}
inline HexCoord FromCube(CubeHex cube) { return {cube.q, cube.r + (cube.q - (cube.q & 1)) / 2}; }

// The steps between two hexes.
int HexDistance(HexCoord a, HexCoord b);

// The hexes from a to b, both included, each a neighbour of the next: distance + 1 hexes.
std::vector<HexCoord> HexLine(HexCoord a, HexCoord b);

// The brush sizes: a hex and its rings up to three steps away.
inline constexpr int BrushSizes[] = {1, 7, 19, 37};
inline constexpr int LargestBrushRadius = 3;
inline constexpr int BrushSizeOfRadius(int radius) { return 1 + 3 * radius * (radius + 1); }

// The steps from a hex to every hex at most radius (0..3) steps away, itself first.
std::span<const CubeHex> DiscSteps(int radius);

} // namespace vantor
