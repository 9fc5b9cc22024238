#pragma once
// The fill: a click gives the picked tile to the hexes of the clicked hex's tile joined to it, within
// the selection when there is one; Shift and a click fill the whole selection. Each fill is one step.

#include "tools/paint_tool.h"

namespace vantor {

class FillTool : public MapTool {
    Q_OBJECT
public:
    // The picked tile is the brush's.
    FillTool(MapDocument &document, const EditorSettings &settings, const MapSelection &selection, PaintTool &brush,
             QObject *parent = nullptr);

    void press(const MapPointer &pointer) override;
    void click(const MapPointer &pointer) override;

    // The hexes a click on hex fills, with the keys held.
    HexSet region(HexCoord hex, Qt::KeyboardModifiers modifiers) const;

private:
    const EditorSettings &settings_;
    const MapSelection &selection_;
    PaintTool &brush_;
};

} // namespace vantor
