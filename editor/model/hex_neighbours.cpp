#include "hex_neighbours.h"

namespace vantor {

namespace {

struct DirectionRule {
    std::uint8_t bit;
    HexDirection opposite;
    QPoint evenStep; // (dx, dy) from a hex in an even column
    QPoint oddStep;  // and from one in an odd column
};

// Indexed by HexDirection.
constexpr std::array<DirectionRule, 6> Rules = {{
    {LinkNW, HexDirection::SE, {-1, -1}, {-1, 0}},
    {LinkN, HexDirection::S, {0, -1}, {0, -1}},
    {LinkNE, HexDirection::SW, {1, -1}, {1, 0}},
    {LinkSE, HexDirection::NW, {1, 0}, {1, 1}},
    {LinkS, HexDirection::N, {0, 1}, {0, 1}},
    {LinkSW, HexDirection::NE, {-1, 0}, {-1, 1}},
}};

const DirectionRule &RuleOf(HexDirection direction) { return Rules[std::size_t(direction)]; }

} // namespace

std::uint8_t LinkBitOf(HexDirection direction) { return RuleOf(direction).bit; }

HexDirection Opposite(HexDirection direction) { return RuleOf(direction).opposite; }

HexCoord Neighbour(HexCoord hex, HexDirection direction)
{
    const DirectionRule &rule = RuleOf(direction);
    const QPoint step = IsOddColumn(hex.x) ? rule.oddStep : rule.evenStep;
    return {hex.x + step.x(), hex.y + step.y()};
}

std::optional<HexDirection> DirectionTowards(HexCoord from, HexCoord to)
{
    for (const HexDirection direction : PatternOrder)
        if (Neighbour(from, direction) == to)
            return direction;
    return std::nullopt;
}

} // namespace vantor
