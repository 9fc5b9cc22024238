// The native map file: any bytes as a map file. A refusal leaves the map as it was; a map that was
// read has a valid size and comes back the same when written and read again.

#include "fuzz_support.h"

#include "files/native_map_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const auto before = fuzzing::PatternMap(9, 7);
    static auto map = std::make_unique<vantor::MapStore>();
    *map = *before;

    const QString problem = vantor::DecodeMapFile(fuzzing::Bytes(data, size), *map);
    if (!problem.isEmpty()) {
        FUZZ_CHECK(fuzzing::SameMap(*map, *before));
        return 0;
    }
    FUZZ_CHECK(vantor::IsValidMapSize(map->MapWidth, map->MapHeight));
    const QByteArray written = vantor::EncodeMapFile(*map);
    FUZZ_CHECK(written.size() == vantor::MapFileSize(map->MapWidth, map->MapHeight));
    static auto again = std::make_unique<vantor::MapStore>();
    *again = *before;
    FUZZ_CHECK(vantor::DecodeMapFile(written, *again).isEmpty());
    FUZZ_CHECK(fuzzing::SameMap(*again, *map));
    return 0;
}
