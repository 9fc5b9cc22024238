#include "hex_set.h"

#include <algorithm>
#include <bit>

namespace vantor {

bool HexSet::empty() const
{
    return std::all_of(words_.begin(), words_.end(), [](std::uint64_t w) { return w == 0; });
}

int HexSet::size() const
{
    int count = 0;
    for (const std::uint64_t w : words_)
        count += std::popcount(w);
    return count;
}

std::vector<HexCoord> HexSet::hexes() const
{
    std::vector<HexCoord> result;
    for (int w = 0; w < WordCount; ++w)
        for (std::uint64_t bits = words_[std::size_t(w)]; bits != 0; bits &= bits - 1) {
            const int i = 64 * w + std::countr_zero(bits);
            result.push_back({i / StoreRows, i % StoreRows});
        }
    return result;
}

HexSet &HexSet::operator|=(const HexSet &other)
{
    for (int w = 0; w < WordCount; ++w)
        words_[std::size_t(w)] |= other.words_[std::size_t(w)];
    return *this;
}

HexSet &HexSet::operator&=(const HexSet &other)
{
    for (int w = 0; w < WordCount; ++w)
        words_[std::size_t(w)] &= other.words_[std::size_t(w)];
    return *this;
}

HexSet &HexSet::operator-=(const HexSet &other)
{
    for (int w = 0; w < WordCount; ++w)
        words_[std::size_t(w)] &= ~other.words_[std::size_t(w)];
    return *this;
}

HexSet WholeMap(const MapStore &map)
{
    HexSet set;
    for (int x = 0; x < map.MapWidth; ++x)
        for (int y = 0; y < map.MapHeight; ++y)
            set.insert({x, y});
    return set;
}

} // namespace vantor
