// The ASCII map file pasted as an area: the first two bytes give the upper-left hex (-128..127 each),
// the rest is the file. The map's size never changes; a refusal or a bad value changes nothing.

#include "fuzz_support.h"

#include "files/ascii_map_file.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int x0 = std::int8_t(data[0]);
    const int y0 = std::int8_t(data[1]);
    static const auto before = fuzzing::PatternMap(13, 9);
    static auto map = std::make_unique<vantor::MapStore>();
    *map = *before;

    const vantor::LoadResult result = vantor::DecodeAsciiPaste(fuzzing::Bytes(data + 2, size - 2), *map, x0, y0);
    FUZZ_CHECK(map->MapWidth == before->MapWidth && map->MapHeight == before->MapHeight);
    if (result.outcome != vantor::LoadResult::Complete) {
        FUZZ_CHECK(!result.message.isEmpty());
        FUZZ_CHECK(fuzzing::SameMap(*map, *before));
    }
    // Only hexes on the map may change, and only planes 0..16.
    const auto same = [&](int plane, int x, int y, int count) {
        const auto at = map->bytes.begin() + vantor::MapStore::index(plane, x, y);
        return std::equal(at, at + count, before->bytes.begin() + vantor::MapStore::index(plane, x, y));
    };
    const int firstOther = vantor::MapStore::index(vantor::AsciiPlaneCount, 0, 0);
    FUZZ_CHECK(same(vantor::AsciiPlaneCount, 0, 0, int(map->bytes.size()) - firstOther));
    for (int p = 0; p < vantor::AsciiPlaneCount; ++p)
        for (int x = 0; x < vantor::StoreColumns; ++x) {
            if (x >= map->MapWidth)
                FUZZ_CHECK(same(p, x, 0, vantor::StoreRows));
            else
                FUZZ_CHECK(same(p, x, map->MapHeight, vantor::StoreRows - map->MapHeight));
        }
    return 0;
}
