#include "map_selection.h"

namespace vantor {

SelectionMode SelectionModeOf(Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier))
        return SelectionMode::Subtract;
    if (modifiers.testFlag(Qt::ShiftModifier))
        return SelectionMode::Add;
    return SelectionMode::Replace;
}

HexSet Combined(const HexSet &selection, const HexSet &region, SelectionMode mode)
{
    HexSet result = mode == SelectionMode::Replace ? region : selection;
    if (mode == SelectionMode::Add)
        result |= region;
    else if (mode == SelectionMode::Subtract)
        result -= region;
    return result;
}

MapSelection::MapSelection(const MapDocument &document, QObject *parent)
    : QObject(parent)
    , document_(document)
{
    connect(&document, &MapDocument::mapReset, this, &MapSelection::clear);
}

void MapSelection::set(const HexSet &hexes)
{
    HexSet onMap = hexes;
    onMap &= WholeMap(document_.map());
    if (onMap == hexes_)
        return;
    hexes_ = onMap;
    emit changed();
}

void MapSelection::selectAll() { set(WholeMap(document_.map())); }

} // namespace vantor
