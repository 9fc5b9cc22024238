#include "map_edit.h"

namespace vantor {

bool MapEdit::isEmpty() const { return hexes.empty() && !resizes && !tablesBefore.places && !tablesBefore.cities; }

std::size_t MapEdit::footprint() const
{
    std::size_t bytes = sizeof(MapEdit) + hexes.capacity() * sizeof(HexChange);
    const auto tableBytes = [](const TextGrid &grid) {
        std::size_t total = 0;
        for (int row = 0; row < grid.rowCount(); ++row)
            for (int column = 0; column < grid.columnCount(); ++column)
                total += sizeof(QString) + std::size_t(grid.cell(column, row).size()) * sizeof(QChar);
        return total;
    };
    for (const MapTables *tables : {&tablesBefore, &tablesAfter}) {
        if (tables->places)
            bytes += tableBytes(*tables->places);
        if (tables->cities)
            bytes += tableBytes(*tables->cities);
    }
    return bytes;
}

MapEdit DiffMaps(const MapStore &before, const MapStore &after)
{
    MapEdit edit;
    edit.width = before.MapWidth;
    edit.height = before.MapHeight;
    edit.resizes = before.MapWidth != after.MapWidth || before.MapHeight != after.MapHeight;
    // Plane by plane, so that the comparison runs over contiguous bytes; a hex is one offset in
    // every plane.
    std::vector<bool> changed(PlaneSize, false);
    for (int plane = 0; plane < PlaneCount; ++plane) {
        const std::uint8_t *a = before.bytes.data() + plane * PlaneSize;
        const std::uint8_t *b = after.bytes.data() + plane * PlaneSize;
        for (int offset = 0; offset < PlaneSize; ++offset)
            if (a[offset] != b[offset])
                changed[offset] = true;
    }
    for (int offset = 0; offset < PlaneSize; ++offset) {
        if (!changed[offset])
            continue;
        HexChange change{std::uint16_t(offset), {}};
        for (int plane = 0; plane < PlaneCount; ++plane)
            change.record[plane] = before.bytes[plane * PlaneSize + offset];
        edit.hexes.push_back(change);
    }
    return edit;
}

void DiffTables(const MapTables &before, const MapTables &after, MapEdit &edit)
{
    if (before.places && after.places && !(*before.places == *after.places)) {
        edit.tablesBefore.places = before.places;
        edit.tablesAfter.places = after.places;
    }
    if (before.cities && after.cities && !(*before.cities == *after.cities)) {
        edit.tablesBefore.cities = before.cities;
        edit.tablesAfter.cities = after.cities;
    }
}

void SwapEdit(MapStore &map, MapEdit &edit)
{
    for (HexChange &change : edit.hexes)
        for (int plane = 0; plane < PlaneCount; ++plane)
            std::swap(change.record[plane], map.bytes[plane * PlaneSize + change.offset]);
    std::swap(edit.width, map.MapWidth);
    std::swap(edit.height, map.MapHeight);
}

} // namespace vantor
