#pragma once
// The selecting tools: a dragged rectangle, the magic wand (the joined hexes of one tile) and every
// hex of one tile. Shift held at the press adds to the selection, Ctrl takes away.

#include "tools/map_selection.h"
#include "tools/map_tool.h"

namespace vantor {

class RectangleSelectTool : public MapTool {
    Q_OBJECT
public:
    RectangleSelectTool(MapDocument &document, MapSelection &selection, QObject *parent = nullptr);

    void press(const MapPointer &pointer) override;
    void move(const MapPointer &pointer) override;
    void release(const MapPointer &pointer) override;
    // Puts back the selection the drag began with.
    bool cancel() override;

private:
    MapSelection &selection_;
    struct Drag {
        HexCoord from;
        SelectionMode mode;
        HexSet before;
    };
    std::optional<Drag> drag_;
};

// Selects with a click the region that region(map, hex) gives.
class ClickSelectTool : public MapTool {
    Q_OBJECT
public:
    using Region = HexSet (*)(const MapStore &map, HexCoord hex);
    ClickSelectTool(MapDocument &document, MapSelection &selection, Region region, QObject *parent = nullptr);

    void click(const MapPointer &pointer) override;

private:
    MapSelection &selection_;
    Region region_;
};

HexSet MagicWandRegion(const MapStore &map, HexCoord hex);

} // namespace vantor
