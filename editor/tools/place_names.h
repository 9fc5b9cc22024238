#pragma once
// Attaching the places of the place-name table and the cities of the city table to hexes.

#include "document/map_content.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QStringList>

namespace vantor {

// Done in the place-name editor: every row whose X and Y name a hex of the map (other than 0, 0)
// gives that hex the row's place number (row - 1, low byte in PlaceIndex, high byte in
// PlaceIndexHigh). Only adds references. Empty text, or the conversion error of the first X or Y
// cell that is not a number, or the refusal of a place number that no reference holds (rows
// before it stay done).
QString ApplyPlaceCoordinates(MapStore &map, const PlaceTable &places);

// Delete Current Selection: the reference stored at the hex that row points to (both bytes; a hex
// without a place counts as 255 with high byte 0) is removed from every hex, and the row's X and Y
// are emptied. A row that names no hex of the map only has its X and Y emptied. Empty text, or the
// conversion error for an X or Y cell that is not a number.
QString DeletePlaceReferences(MapStore &map, PlaceTable &places, int row);

// Clear Place Names: no hex keeps a place or city reference; the places keep their names but lose
// their X and Y.
void ClearPlaceReferences(MapStore &map, PlaceTable &places);

// Writes place number `place` into the hex: low byte to PlaceIndex, high byte to PlaceIndexHigh.
// Empty text, or, for a number outside 0..32766, why nothing was written.
QString SetPlaceReference(MapStore &map, HexCoord hex, int place);

// A city caption click: the hex refers to city `row - 1` and takes the city's three attribute
// bytes (their low 8 bits) from the row, which then shows the hex's column and row. Stops with the
// conversion error at the first attribute cell that is not a number, the place reference written.
// A row the table does not have does nothing; a city above 254 is refused with nothing written.
QString CaptionHexWithCity(MapStore &map, CityTable &cities, int row, HexCoord hex);

// A city clear click: the hex loses its place and city values, and the row's X and Y are emptied.
// A row the table does not have does nothing.
void ClearCityHex(MapStore &map, CityTable &cities, int row, HexCoord hex);

// The names a hex carries, as the editor shows them: its place's name on a map of a homemade
// scenario, and its city's name and number once a city file is loaded.
QStringList HexNames(const MapStore &map, const MapTables &tables, HexCoord hex);

} // namespace vantor
