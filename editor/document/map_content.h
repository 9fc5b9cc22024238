#pragma once
// What a save writes: the map's hexes, and beside them the place-name and city tables, the number
// of places the map carries and the scenario layout the map belongs to.

#include "model/map_store.h"
#include "model/place_tables.h"

namespace vantor {

struct MapTables {
    PlaceTable places = FreshPlaceTable();
    CityTable cities = FreshCityTable();
    // The places a homemade scenario or an ASCII map carries: rows 1..placeCount of places.
    int placeCount = 0;
    // The map came from a homemade scenario: its hexes refer to the place names of the table.
    bool homemade = false;
    // A city file was loaded: the hexes' place index bytes name its cities.
    bool citiesLoaded = false;

    friend bool operator==(const MapTables &, const MapTables &) = default;

    // The place-name editor's table before anything is loaded: no heading, one empty row.
    static PlaceTable FreshPlaceTable() { return PlaceTable(2); }
    // The city window's table before a city file is loaded: the headings and one empty row.
    static CityTable FreshCityTable()
    {
        CityTable table(2);
        table.writeHeadings();
        return table;
    }
};

struct MapContent {
    MapStore map;
    MapTables tables;
};

} // namespace vantor
