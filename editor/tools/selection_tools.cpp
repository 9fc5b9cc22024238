#include "selection_tools.h"

#include "model/hex_regions.h"

namespace vantor {

RectangleSelectTool::RectangleSelectTool(MapDocument &document, MapSelection &selection, QObject *parent)
    : MapTool(document, parent)
    , selection_(selection)
{
}

// The selection shows the result while the drag goes on; the keys held at the press decide it.
void RectangleSelectTool::press(const MapPointer &pointer)
{
    if (pointer.button != Qt::LeftButton || !pointer.hex)
        return;
    drag_ = Drag{*pointer.hex, SelectionModeOf(pointer.modifiers), selection_.hexes()};
    move(pointer);
}

void RectangleSelectTool::move(const MapPointer &pointer)
{
    if (drag_)
        selection_.set(Combined(drag_->before, HexRectangle(document().map(), drag_->from, pointer.nearHex), drag_->mode));
}

void RectangleSelectTool::release(const MapPointer &pointer)
{
    if (pointer.button == Qt::LeftButton)
        drag_.reset();
}

bool RectangleSelectTool::cancel()
{
    if (!drag_)
        return false;
    selection_.set(drag_->before);
    drag_.reset();
    return true;
}

ClickSelectTool::ClickSelectTool(MapDocument &document, MapSelection &selection, Region region, QObject *parent)
    : MapTool(document, parent)
    , selection_(selection)
    , region_(region)
{
}

void ClickSelectTool::click(const MapPointer &pointer)
{
    if (pointer.hex)
        selection_.set(Combined(selection_.hexes(), region_(document().map(), *pointer.hex), SelectionModeOf(pointer.modifiers)));
}

HexSet MagicWandRegion(const MapStore &map, HexCoord hex) { return ConnectedSameTile(map, hex); }

} // namespace vantor
