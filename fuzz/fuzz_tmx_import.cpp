// The TMX import: any bytes as a TMX document. A refusal changes nothing and says why; a map that
// was read has a valid size, and exporting it again reads back the same map.

#include "fuzz_support.h"

#include "files/native_map_file.h"
#include "files/tmx_import.h"
#include "model/geometry.h"
#include "render/tmx_export.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const auto before = fuzzing::PatternMap(9, 7);
    static auto map = std::make_unique<vantor::MapStore>();
    *map = *before;
    vantor::PlaceTable places(3);
    places.setCell(vantor::PlaceTable::NameColumn, 1, QStringLiteral("Old place"));
    const vantor::PlaceTable placesBefore = places;
    int placeCount = 2;

    const QString problem = vantor::DecodeTmx(fuzzing::Bytes(data, size), *map, places, placeCount);
    if (!problem.isEmpty()) {
        FUZZ_CHECK(fuzzing::SameMap(*map, *before));
        FUZZ_CHECK(places == placesBefore);
        FUZZ_CHECK(placeCount == 2);
        return 0;
    }
    FUZZ_CHECK(vantor::IsValidMapSize(map->MapWidth, map->MapHeight));
    FUZZ_CHECK(placeCount >= 0 && placeCount <= vantor::MaxPlaceCount);

    vantor::TmxTilesets tilesets;
    for (int s = 0; s < vantor::TileSetCount; ++s)
        tilesets[s] = {vantor::TmxSheetFileName(s), QSize(8 * vantor::TileWidth, 10 * vantor::TileHeight), 80};
    const QByteArray again = vantor::EncodeTmx(*map, tilesets, vantor::InitialDefaultTerrain(),
                                               vantor::MapLabelsOf(*map, places, placeCount, {}), 0, placeCount);
    static auto reread = std::make_unique<vantor::MapStore>();
    vantor::PlaceTable rereadPlaces;
    int rereadCount = 0;
    // Names with characters XML cannot hold are no map's business: only a readable export is compared.
    if (vantor::DecodeTmx(again, *reread, rereadPlaces, rereadCount).isEmpty())
        FUZZ_CHECK(vantor::EncodeMapFile(*reread) == vantor::EncodeMapFile(*map));
    return 0;
}
