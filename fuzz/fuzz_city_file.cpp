// The city file: any bytes as the file, read against a fixed map. The map never changes; a refusal
// leaves the table as it was; every name read fills its row and the table gets the rows it announces.

#include "fuzz_support.h"

#include "files/city_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const auto map = [] {
        auto m = fuzzing::PatternMap(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                m->at(vantor::PlaceIndex, x, y) = std::uint8_t(x * 8 + y < 40 ? x * 8 + y : 255);
        return m;
    }();
    static const auto mapBefore = std::make_unique<vantor::MapStore>(*map);
    vantor::CityTable cities(4);
    cities.writeHeadings();
    cities.setCell(vantor::CityTable::NameColumn, 3, QStringLiteral("Old city"));

    const vantor::CityTable citiesBefore = cities;
    const QByteArray file = fuzzing::Bytes(data, size);
    const vantor::LoadResult result = vantor::DecodeCities(file, *map, cities);
    FUZZ_CHECK(fuzzing::SameMap(*map, *mapBefore));
    if (result.outcome != vantor::LoadResult::Complete) {
        FUZZ_CHECK(result.outcome == vantor::LoadResult::Refused && !result.message.isEmpty());
        FUZZ_CHECK(cities == citiesBefore);
        return 0;
    }
    // The names read: the rows up to the last numbered one.
    int read = 0;
    while (read + 1 < cities.rowCount() && cities.cell(vantor::CityTable::NumberColumn, read + 1) == QString::number(read))
        ++read;
    FUZZ_CHECK(read <= file.size());
    FUZZ_CHECK(read == 0 ? cities == citiesBefore : cities.rowCount() == read + 2);
    for (int n = 0; n < read; ++n)
        FUZZ_CHECK(cities.cell(vantor::CityTable::NumberColumn, n + 1) == QString::number(n));
    (void)vantor::EncodeCities(cities);
    return 0;
}
