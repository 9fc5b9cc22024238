#pragma once
// A set of hexes of the store, as one bit per hex: what a brush, a fill or a selection covers.

#include "model/map_store.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vantor {

class HexSet {
public:
    static bool isInStore(HexCoord hex) { return hex.x >= 0 && hex.x < StoreColumns && hex.y >= 0 && hex.y < StoreRows; }

    bool contains(HexCoord hex) const { return isInStore(hex) && (words_[word(hex)] & mask(hex)) != 0; }
    // Hexes outside the store are never members.
    void insert(HexCoord hex)
    {
        if (isInStore(hex))
            words_[word(hex)] |= mask(hex);
    }
    void erase(HexCoord hex)
    {
        if (isInStore(hex))
            words_[word(hex)] &= ~mask(hex);
    }
    void clear() { words_.fill(0); }
    bool empty() const;
    int size() const;

    // Column by column, each from the top.
    std::vector<HexCoord> hexes() const;

    HexSet &operator|=(const HexSet &other);
    HexSet &operator&=(const HexSet &other);
    HexSet &operator-=(const HexSet &other);
    friend bool operator==(const HexSet &, const HexSet &) = default;

private:
    static constexpr int WordCount = (PlaneSize + 63) / 64;
    // Bit i is hex (i / StoreRows, i % StoreRows): the store's own order.
    static std::size_t word(HexCoord hex) { return std::size_t(hex.x * StoreRows + hex.y) / 64; }
    static std::uint64_t mask(HexCoord hex) { return std::uint64_t(1) << ((hex.x * StoreRows + hex.y) % 64); }

    std::array<std::uint64_t, WordCount> words_{};
};

// Every hex of the map in use.
HexSet WholeMap(const MapStore &map);

} // namespace vantor
