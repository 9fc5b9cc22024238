#pragma once
// One step of the map's editing history as plain data. A step holds one side of each change only:
// the hex records, the size and the tables the map does not have now (the state before the step
// while it is done, the state after it while it is undone). Undo and redo both swap the two sides,
// so a step costs one 37-byte record per hex it changed.

#include "model/map_store.h"
#include "model/place_tables.h"

#include <optional>
#include <vector>

namespace vantor {

struct HexChange {
    std::uint16_t offset; // x * 70 + y, the hex's place in every plane of the store
    HexRecord record;
    HexCoord hex() const { return {offset / StoreRows, offset % StoreRows}; }
};

// The tables that live beside the map in the place-name and city windows.
struct MapTables {
    std::optional<PlaceTable> places;
    std::optional<CityTable> cities;
};

struct MapEdit {
    std::vector<HexChange> hexes; // in store order: column by column
    int width = 0;                // the other side's size
    int height = 0;
    bool resizes = false;
    MapTables tablesBefore; // a table is present on both sides only where it changed
    MapTables tablesAfter;

    bool isEmpty() const;
    // The bytes the step holds, for the history's memory figure.
    std::size_t footprint() const;
};

// The step from before to after, holding the "before" side: every hex of the store whose record
// differs, and the size.
MapEdit DiffMaps(const MapStore &before, const MapStore &after);

// Adds to edit the tables that differ between before and after.
void DiffTables(const MapTables &before, const MapTables &after, MapEdit &edit);

// Puts the side the edit holds into the map and keeps the map's side in its place: an undo of a
// done step, or a redo of an undone one.
void SwapEdit(MapStore &map, MapEdit &edit);

} // namespace vantor
