#include "map_edit.h"

namespace vantor {

namespace {

std::size_t GridBytes(const TextGrid &grid)
{
    std::size_t total = 0;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column = 0; column < grid.columnCount(); ++column)
            total += sizeof(QString) + std::size_t(grid.cell(column, row).size()) * sizeof(QChar);
    return total;
}

} // namespace

std::vector<HexCoord> MapEdit::changedHexes() const
{
    std::vector<HexCoord> result;
    result.reserve(hexes.size());
    for (const HexChange &change : hexes)
        result.push_back(change.hex());
    return result;
}

std::size_t MapEdit::footprint() const
{
    std::size_t bytes = sizeof(MapEdit) + hexes.capacity() * sizeof(HexChange);
    if (tables)
        bytes += GridBytes(tables->places) + GridBytes(tables->cities);
    return bytes;
}

MapEdit DiffContent(const MapContent &beforeContent, const MapContent &afterContent)
{
    const MapStore &before = beforeContent.map;
    const MapStore &after = afterContent.map;
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
    if (!(beforeContent.tables == afterContent.tables))
        edit.tables = beforeContent.tables;
    return edit;
}

void MergeEdits(MapEdit &earlier, const MapEdit &later)
{
    std::vector<HexChange> merged;
    merged.reserve(earlier.hexes.size() + later.hexes.size());
    auto a = earlier.hexes.begin();
    auto b = later.hexes.begin();
    while (a != earlier.hexes.end() || b != later.hexes.end()) {
        if (b == later.hexes.end() || (a != earlier.hexes.end() && a->offset <= b->offset)) {
            if (b != later.hexes.end() && b->offset == a->offset)
                ++b; // the earlier step holds what the hex was before both
            merged.push_back(*a++);
        } else {
            merged.push_back(*b++);
        }
    }
    earlier.hexes = std::move(merged);
    if (!earlier.tables)
        earlier.tables = later.tables;
}

void SwapEdit(MapContent &content, MapEdit &edit)
{
    MapStore &map = content.map;
    for (HexChange &change : edit.hexes)
        for (int plane = 0; plane < PlaneCount; ++plane)
            std::swap(change.record[plane], map.bytes[plane * PlaneSize + change.offset]);
    std::swap(edit.width, map.MapWidth);
    std::swap(edit.height, map.MapHeight);
    if (edit.tables)
        std::swap(*edit.tables, content.tables);
}

} // namespace vantor
