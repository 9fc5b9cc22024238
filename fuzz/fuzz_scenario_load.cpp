// Loading the map of a scenario: the first byte chooses regular (even) or homemade (odd), the rest
// is the file. A refusal changes nothing; a homemade load fills the place table it announces.

#include "fuzz_support.h"

#include "files/scenario_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto layout = data[0] % 2 ? vantor::ScenarioLayout::Homemade : vantor::ScenarioLayout::Regular;
    const QByteArray file = fuzzing::Bytes(data + 1, size - 1);
    static const auto before = fuzzing::PatternMap(10, 12);
    static auto map = std::make_unique<vantor::MapStore>();
    *map = *before;
    vantor::PlaceTable places(3);
    places.setCell(vantor::PlaceTable::NameColumn, 2, QStringLiteral("Old place"));
    const vantor::PlaceTable placesBefore = places;
    int placeCount = 2;

    (void)vantor::GuessScenarioLayout(file);
    (void)vantor::ScenarioLayoutQuestion(file, layout);
    const vantor::LoadResult result = vantor::DecodeScenarioMap(file, layout, *map, places, placeCount);
    if (result.outcome == vantor::LoadResult::Refused) {
        FUZZ_CHECK(!result.message.isEmpty());
        FUZZ_CHECK(fuzzing::SameMap(*map, *before));
        FUZZ_CHECK(places == placesBefore);
        FUZZ_CHECK(placeCount == 2);
        return 0;
    }
    FUZZ_CHECK(result.outcome == vantor::LoadResult::Complete);
    FUZZ_CHECK(vantor::IsValidMapSize(map->MapWidth, map->MapHeight));
    if (layout == vantor::ScenarioLayout::Regular) {
        FUZZ_CHECK(placeCount == 0);
        FUZZ_CHECK(places == placesBefore);
        return 0;
    }
    FUZZ_CHECK(placeCount >= 0 && places.rowCount() == placeCount + 1);
    vantor::SetPlaceCoordinates(*map, placeCount, places);
    FUZZ_CHECK(places.rowCount() == placeCount + 1);
    // The block written back from what was read has the announced length.
    const QByteArray block = vantor::EncodeScenarioMapBlock(*map, layout, places, placeCount);
    FUZZ_CHECK(block.size() == vantor::ScenarioBlockSize(map->MapWidth, map->MapHeight, layout, placeCount));
    return 0;
}
