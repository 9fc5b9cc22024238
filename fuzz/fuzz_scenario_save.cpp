// Saving a fixed 6 x 5 map into a scenario file made of the input: the first byte chooses regular
// (even) or homemade (odd, with two places), the rest is the file the save goes into. A refused
// save writes nothing; a save that goes on replaces only the map block, and the rest of the
// scenario stays byte for byte.

#include "fuzz_support.h"

#include "files/scenario_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto layout = data[0] % 2 ? vantor::ScenarioLayout::Homemade : vantor::ScenarioLayout::Regular;
    const QByteArray old = fuzzing::Bytes(data + 1, size - 1);
    static const QString path = fuzzing::ScratchPath(QStringLiteral("target.scn"));
    fuzzing::WriteScratchFile(path, old);

    static const auto map = fuzzing::PatternMap(6, 5);
    vantor::PlaceTable places(3);
    places.writeHeadings();
    places.setCell(vantor::PlaceTable::NameColumn, 1, QStringLiteral("Harbour"));
    places.setCell(vantor::PlaceTable::NameColumn, 2, QStringLiteral("A place whose name is longer than thirty bytes"));
    const int placeCount = layout == vantor::ScenarioLayout::Homemade ? 2 : 0;

    const vantor::ScenarioSave save = vantor::PrepareScenarioSave(path, *map, layout, places, placeCount);
    if (!save.refusal.isEmpty()) {
        FUZZ_CHECK(save.content.isEmpty());
        FUZZ_CHECK(!save.commit().isEmpty());
        FUZZ_CHECK(fuzzing::ReadScratchFile(path) == old);
        return 0;
    }
    const qint64 blockSize = vantor::ScenarioBlockSize(map->MapWidth, map->MapHeight, layout, placeCount);
    FUZZ_CHECK(save.content.size() == old.size());
    FUZZ_CHECK(save.content.left(blockSize) == vantor::EncodeScenarioMapBlock(*map, layout, places, placeCount));
    FUZZ_CHECK(save.content.mid(blockSize) == old.mid(blockSize));
    FUZZ_CHECK(fuzzing::ReadScratchFile(path) == old); // nothing written before the commit
    FUZZ_CHECK(save.commit().isEmpty());
    FUZZ_CHECK(fuzzing::ReadScratchFile(path) == save.content);
    return 0;
}
