#pragma once
// Maps as stable text, for version control: a dump that `git diff` can compare line by line
// (git's textconv runs `vantor-cli dump`), and the differences of two maps hex by hex.

#include "model/map_store.h"
#include "model/place_tables.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vantor {

// A map with the places it carries (rows 1..placeCount of places).
struct MapWithPlaces {
    const MapStore &map;
    const PlaceTable &places;
    int placeCount = 0;
};

// The name a dump or a diff gives plane p: "tile", "set", "terrain", "roads", "place", ... and
// "byteNN" for the planes the editor gives no meaning to.
QString PlaneName(int plane);

// A header with the size, the place names, then one line per hex that differs from a hex made by
// New Map (set 1, tile 1), listing only the fields that differ: "hex 3,4: set 2 tile 17 ...". UTF-8.
QByteArray DumpMap(const MapWithPlaces &map);

struct MapDifferences {
    QStringList lines;            // "x,y: field old → new", "place k: "old" → "new"", "size: ..."
    std::vector<HexCoord> hexes;  // the hexes that differ, row by row
    bool same() const { return lines.isEmpty(); }
};

// What changed from a to b: the size, the place names and, over the hexes both maps have, every field.
MapDifferences DiffMaps(const MapWithPlaces &a, const MapWithPlaces &b);

} // namespace vantor
