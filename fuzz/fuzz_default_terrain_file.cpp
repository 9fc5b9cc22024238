// The default-terrain file: any bytes as the file. At most 16 rows are read; with fewer the table
// stays as it was, and slots 85..87 of every row always keep what they held.

#include "fuzz_support.h"

#include "files/default_terrain_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vantor::DefaultTerrainTable table = vantor::InitialDefaultTerrain();
    for (auto &row : table)
        for (int slot = vantor::TerrainRowLength; slot < vantor::TilesPerSet; ++slot)
            row[size_t(slot)] = char('A' + slot - vantor::TerrainRowLength);
    const vantor::DefaultTerrainTable before = table;
    int rowsRead = -1;

    vantor::DecodeDefaultTerrain(fuzzing::Bytes(data, size), table, rowsRead);
    FUZZ_CHECK(rowsRead >= 0 && rowsRead <= vantor::TileSetCount);
    for (int s = 0; s < vantor::TileSetCount; ++s) {
        if (rowsRead < vantor::TileSetCount)
            FUZZ_CHECK(table[size_t(s)] == before[size_t(s)]);
        for (int slot = vantor::TerrainRowLength; slot < vantor::TilesPerSet; ++slot)
            FUZZ_CHECK(table[size_t(s)][size_t(slot)] == before[size_t(s)][size_t(slot)]);
        for (int tile = 0; tile < vantor::TilesPerSet; ++tile) {
            const int terrain = vantor::DefaultTerrainOf(table, s, tile);
            FUZZ_CHECK(terrain >= 0 && terrain < vantor::TerrainCount);
        }
    }
    // What was read can be written and read again to the same rows.
    const QByteArray written = vantor::EncodeDefaultTerrain(table);
    vantor::DefaultTerrainTable again = before;
    int rowsAgain = -1;
    vantor::DecodeDefaultTerrain(written, again, rowsAgain);
    FUZZ_CHECK(rowsAgain >= 0 && rowsAgain <= vantor::TileSetCount);
    return 0;
}
