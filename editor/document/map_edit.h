#pragma once
// One step of the map's editing history as plain data. A step holds one side of each change only:
// the hex records, the size and the tables the map does not have now (the state before the step
// while it is done, the state after it while it is undone). Undo and redo both swap the two sides,
// so a step costs one 37-byte record per hex it changed.

#include "document/map_content.h"

#include <optional>
#include <vector>

namespace vantor {

struct HexChange {
    std::uint16_t offset; // x * 70 + y, the hex's place in every plane of the store
    HexRecord record;
    HexCoord hex() const { return {offset / StoreRows, offset % StoreRows}; }
};

struct MapEdit {
    std::vector<HexChange> hexes; // in store order: column by column
    int width = 0;                // the other side's size
    int height = 0;
    bool resizes = false;
    std::optional<MapTables> tables; // the other side's tables, where the step changed them

    bool isEmpty() const { return hexes.empty() && !resizes && !tables; }
    // The hexes the step changes, in store order.
    std::vector<HexCoord> changedHexes() const;
    // The bytes the step holds, for the history's memory figure.
    std::size_t footprint() const;
};

// The step from before to after, holding the "before" side: every hex of the store whose record
// differs, the size, and the tables when they differ.
MapEdit DiffContent(const MapContent &before, const MapContent &after);

// Folds a step made right after `earlier` into it, so that the two are one step: each hex and the
// tables keep the state they had before the first of them. Neither step may resize the map.
void MergeEdits(MapEdit &earlier, const MapEdit &later);

// Puts the side the edit holds into the content and keeps the content's side in its place: an undo
// of a done step, or a redo of an undone one.
void SwapEdit(MapContent &content, MapEdit &edit);

} // namespace vantor
