#pragma once
// Tiled maps read back: a TMX map in the layout the export writes (hexagonal, stagger axis x, odd
// columns half a hex lower, 48 x 40 tiles, the tile layer "hexes" and the object layer "names"),
// also after Tiled saved it again in any of its layer encodings.

#include "files/text_file.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace vantor {

// Larger files are refused unread: a 72 x 70 map with every set exports to about 450 KB.
inline constexpr qint64 MaxTmxFileSize = 4 * 1024 * 1024;

// Decodes a TMX document. The map starts from the property "vantor-map" when there is one (hexes
// whose tile is unchanged keep every byte; a changed tile brings its set and default terrain),
// otherwise from a New Map of the tile layer's size. The "place" labels name places 0..placeCount-1
// of places (a moved label moves its place's reference, a new one adds a place); a moved "city"
// label moves its city's place index. Refused: DTDs and entities, other geometries, infinite maps,
// flipped tiles, tiles of no exported set, layers over 72 x 70, layer data of the wrong size.
// Returns an empty text, or the first bad item; map, places and placeCount change only on success.
QString DecodeTmx(const QByteArray &data, MapStore &map, PlaceTable &places, int &placeCount);

// The file-level version: the message names the file.
LoadResult ReadTmxFile(const QString &path, MapStore &map, PlaceTable &places, int &placeCount);

// The gids of one <data> element: its text in encoding "csv" or "base64" with compression "",
// "zlib", "gzip" or "zstd", exactly count of them. Inflating stops at 4 x count bytes. Returns an
// empty text, or the reason.
QString DecodeTmxLayerData(QByteArrayView text, const QString &encoding, const QString &compression, int count,
                           std::vector<std::uint32_t> &gids);

} // namespace vantor
