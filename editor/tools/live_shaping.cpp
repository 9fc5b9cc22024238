#include "live_shaping.h"

#include "model/hex_neighbours.h"
#include "tools/pattern_passes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vantor {

namespace {

// The passes of Make Coastline, Make Roads and Make Rivers, in the order the menu runs them.
const std::array<const PatternPassRules *, 5> Passes = {&CoastPass, &BeachPass, &ShallowPass, &RoadPass, &RiverPass};

// Hexes of the store by their place in a plane (x * StoreRows + y): a bit each to test, and the
// members in the order they joined. Fixed-size, so shaping allocates nothing but its answer.
class OrderedHexSet {
public:
    bool contains(int at) const { return (bits_[std::size_t(at) / 64] >> (at % 64)) & 1; }
    void insert(int at)
    {
        if (contains(at))
            return;
        bits_[std::size_t(at) / 64] |= std::uint64_t(1) << (at % 64);
        members_[std::size_t(count_++)] = std::uint16_t(at);
    }
    int size() const { return count_; }
    int operator[](int i) const { return members_[std::size_t(i)]; }

private:
    std::array<std::uint64_t, (PlaneSize + 63) / 64> bits_{};
    std::array<std::uint16_t, PlaneSize> members_;
    int count_ = 0;
};

HexCoord CoordOf(int at) { return {at / StoreRows, at % StoreRows}; }
int PlaceOf(HexCoord hex) { return hex.x * StoreRows + hex.y; }

// A hex's tile, set and terrain: all a pass writes.
struct HexTile {
    std::uint8_t tile, set, terrain;
    friend bool operator==(const HexTile &, const HexTile &) = default;
};
HexTile TileOf(const MapStore &map, HexCoord hex)
{
    return {map.at(TileIndex, hex.x, hex.y), map.at(TileSet, hex.x, hex.y), map.at(Terrain, hex.x, hex.y)};
}

struct PendingWrite {
    std::uint16_t at;
    std::uint8_t tile;
};

} // namespace

std::vector<HexCoord> ShapeAround(MapStore &map, std::span<const HexCoord> changed,
                                  const DefaultTerrainTable &defaultTerrain)
{
    const int width = map.MapWidth;
    const int height = map.MapHeight;
    const auto interior = [&](HexCoord hex) {
        return hex.x >= 1 && hex.x <= width - 2 && hex.y >= 1 && hex.y <= height - 2;
    };

    // The hexes that differ from the map as the passes left it: the changed ones at first. A pass
    // rewrites a hex from it and its six neighbours alone, so it can change only hexes next to one
    // of these, and those it changes join them for the passes after it.
    OrderedHexSet dirty;
    for (const HexCoord hex : changed)
        if (IsOnMap(map, hex.x, hex.y))
            dirty.insert(PlaceOf(hex));

    // The hexes within reach, ring by ring; shortest paths between two hexes of the map stay on it.
    OrderedHexSet reach = dirty;
    for (int ring = 0, begin = 0; ring < ShapingReach; ++ring) {
        const int end = reach.size();
        for (int i = begin; i < end; ++i)
            for (const HexDirection direction : PatternOrder)
                if (const HexCoord next = Neighbour(CoordOf(reach[i]), direction); IsOnMap(map, next.x, next.y))
                    reach.insert(PlaceOf(next));
        begin = end;
    }

    OrderedHexSet written;
    std::array<HexTile, PlaneSize> before; // of the written hexes, what they held at first
    std::array<PendingWrite, PlaneSize> writes;
    for (const PatternPassRules *pass : Passes) {
        // Read every pattern before writing any hex, as the whole-map pass does.
        OrderedHexSet candidates;
        int writeCount = 0;
        const auto consider = [&](HexCoord hex) {
            const int at = PlaceOf(hex);
            if (!interior(hex) || !reach.contains(at) || candidates.contains(at))
                return;
            candidates.insert(at);
            const std::uint64_t key = PatternKey(map, *pass, hex);
            const std::optional<std::uint8_t> tile = PassTile(*pass, key, map.at(TileSet, hex.x, hex.y));
            if (!tile)
                return;
            const HexTile after{*tile, pass->tileSet, std::uint8_t(DefaultTerrainOf(defaultTerrain, pass->tileSet, *tile))};
            if (after != TileOf(map, hex))
                writes[std::size_t(writeCount++)] = {std::uint16_t(at), *tile};
        };
        for (int i = 0; i < dirty.size(); ++i) {
            const HexCoord hex = CoordOf(dirty[i]);
            consider(hex);
            for (const HexDirection direction : PatternOrder)
                consider(Neighbour(hex, direction));
        }

        for (int i = 0; i < writeCount; ++i) {
            const PendingWrite &write = writes[std::size_t(i)];
            const HexCoord hex = CoordOf(write.at);
            if (!written.contains(write.at)) {
                written.insert(write.at);
                before[write.at] = TileOf(map, hex);
            }
            PutPassTile(map, hex, *pass, write.tile, defaultTerrain);
            dirty.insert(write.at);
        }
    }

    // A later pass may put back what an earlier one replaced.
    std::vector<HexCoord> result;
    for (int i = 0; i < written.size(); ++i)
        if (const HexCoord hex = CoordOf(written[i]); TileOf(map, hex) != before[std::size_t(written[i])])
            result.push_back(hex);
    return result;
}

} // namespace vantor
