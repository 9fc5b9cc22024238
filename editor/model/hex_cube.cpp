#include "hex_cube.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace vantor {

namespace {

struct CubePoint {
    double q, r, s;
};

// Rounds to the nearest hex: the component that moved most is made up from the other two.
CubeHex Round(CubePoint p)
{
    int q = int(std::lround(p.q));
    int r = int(std::lround(p.r));
    int s = int(std::lround(p.s));
    const double dq = std::abs(q - p.q), dr = std::abs(r - p.r), ds = std::abs(s - p.s);
    if (dq > dr && dq > ds)
        q = -r - s;
    else if (dr > ds)
        r = -q - s;
    else
        s = -q - r;
    return {q, r, s};
}

std::vector<CubeHex> MakeDisc(int radius)
{
    std::vector<CubeHex> steps{{0, 0, 0}};
    for (int q = -radius; q <= radius; ++q)
        for (int r = std::max(-radius, -q - radius); r <= std::min(radius, -q + radius); ++r)
            if (q != 0 || r != 0)
                steps.push_back({q, r, -q - r});
    return steps;
}

} // namespace

int HexDistance(HexCoord a, HexCoord b)
{
    const CubeHex d = ToCube(a) - ToCube(b);
    return (std::abs(d.q) + std::abs(d.r) + std::abs(d.s)) / 2;
}

std::vector<HexCoord> HexLine(HexCoord a, HexCoord b)
{
    const int n = HexDistance(a, b);
    // A nudge off the edges between hexes, so that a line along one always takes the same side.
    const CubePoint nudge{1e-6, 2e-6, -3e-6};
    const CubeHex from = ToCube(a), to = ToCube(b);
    std::vector<HexCoord> line;
    line.reserve(std::size_t(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double t = n == 0 ? 0.0 : double(i) / n;
        line.push_back(FromCube(Round({from.q + (to.q - from.q) * t + nudge.q, from.r + (to.r - from.r) * t + nudge.r,
                                       from.s + (to.s - from.s) * t + nudge.s})));
    }
    return line;
}

std::span<const CubeHex> DiscSteps(int radius)
{
    static const std::array<std::vector<CubeHex>, LargestBrushRadius + 1> Discs = {MakeDisc(0), MakeDisc(1), MakeDisc(2),
                                                                                   MakeDisc(3)};
    return Discs[std::size_t(std::clamp(radius, 0, LargestBrushRadius))];
}

} // namespace vantor
