#pragma once
// The map handed to Tiled: a hexagonal TMX map whose columns step 37 pixels and whose odd columns
// sit half a hex lower, as in the editor's picture, with the tile sets it uses as PNG sheets
// (see render/tile_sheet.h) beside it and the place and city names as text objects.

#include "files/tmx_names.h"
#include "model/colour_value.h"
#include "model/map_store.h"
#include "model/place_tables.h"
#include "model/terrain_tables.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

namespace vantor {

// A name shown at a hex: a place of the place-name table ("place") or a city of the city table ("city").
struct MapLabel {
    HexCoord hex;
    QString text;
    QString kind;
    friend bool operator==(const MapLabel &, const MapLabel &) = default;
};

// Row by row, every hex with a name: a place reference below placeCount whose row in places has a
// name gives that place; otherwise a PlaceIndex whose row in cities has a name gives that city.
std::vector<MapLabel> MapLabelsOf(const MapStore &map, const PlaceTable &places, int placeCount,
                                  const CityTable &cities);

// The sheet of one set as the TMX names it; an empty image means the map does not use the set.
struct TmxTileset {
    QString image; // file name relative to the TMX
    QSize imageSize;
    int tileCount = 0;
};
using TmxTilesets = std::array<TmxTileset, TileSetCount>;

// Tile t of set s is global tile id 1 + 88 s + t, whichever sets the map uses; 0 is an empty cell.
int TmxGid(int set, int tile);

// "Setxxm.png", the sheet of set s beside the TMX.
QString TmxSheetFileName(int set);

// The TMX document. A hex whose set has no sheet, or whose tile lies past the sheet's tiles, stays
// empty. Each tile carries the name of its default terrain as the property "terrain". The map
// carries the whole native map file and placeCount as properties, and each label its place or
// city number, so that files/tmx_import.h reads back the same map.
QByteArray EncodeTmx(const MapStore &map, const TmxTilesets &tilesets, const DefaultTerrainTable &terrain,
                     const std::vector<MapLabel> &labels, ColourValue background, int placeCount = 0);

// File > Export to Tiled and `vantor-cli convert MAP OUT.tmx`: writes tmxPath and, beside it, the
// PNG sheet of every set the map uses, read from setsFolder as the redraw reads it. A set the map
// uses that is missing or unreadable refuses the export before anything is written. Empty text, or
// the reason (naming the file); after a failed write no new file is left behind.
QString ExportMapToTmx(const QString &tmxPath, const MapStore &map, const QString &setsFolder,
                       const DefaultTerrainTable &terrain, const std::vector<MapLabel> &labels,
                       ColourValue background, int placeCount = 0);

} // namespace vantor
