// The ASCII map file, loaded whole: any bytes as the file. A refusal or a bad value changes nothing;
// otherwise the map has a valid size and the place count is what the place table holds.

#include "fuzz_support.h"

#include "files/ascii_map_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const auto before = fuzzing::PatternMap(11, 6);
    static auto map = std::make_unique<vantor::MapStore>();
    *map = *before;
    vantor::PlaceTable places(4);
    places.setCell(vantor::PlaceTable::NameColumn, 1, QStringLiteral("Old place"));
    const vantor::PlaceTable placesBefore = places;
    int placeCount = 3;

    const vantor::LoadResult result = vantor::DecodeAsciiMap(fuzzing::Bytes(data, size), *map, places, placeCount);
    if (result.outcome != vantor::LoadResult::Complete) {
        FUZZ_CHECK(result.outcome == vantor::LoadResult::Refused || result.outcome == vantor::LoadResult::BadValue);
        FUZZ_CHECK(fuzzing::SameMap(*map, *before));
        FUZZ_CHECK(places == placesBefore);
        FUZZ_CHECK(placeCount == 3);
        FUZZ_CHECK(!result.message.isEmpty());
        return 0;
    }
    FUZZ_CHECK(vantor::IsValidMapSize(map->MapWidth, map->MapHeight));
    FUZZ_CHECK(placeCount >= 0);
    FUZZ_CHECK(placeCount == 0 || places.rowCount() == placeCount + 1);
    // What was read can be written again.
    const QByteArray written = vantor::EncodeAsciiMap(*map, places, placeCount);
    FUZZ_CHECK(!written.isEmpty());
    return 0;
}
