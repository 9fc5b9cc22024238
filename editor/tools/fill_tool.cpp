#include "fill_tool.h"

#include "model/hex_regions.h"

namespace vantor {

FillTool::FillTool(MapDocument &document, const EditorSettings &settings, const MapSelection &selection, PaintTool &brush,
                   QObject *parent)
    : MapTool(document, parent)
    , settings_(settings)
    , selection_(selection)
    , brush_(brush)
{
    connect(&brush, &PaintTool::promptChanged, this, [this] { setPrompt(brush_.prompt(), brush_.promptColour()); });
}

// Shift, the right button and Ctrl keep their meaning for the fill: Shift+click fills the selection.
void FillTool::press(const MapPointer &pointer)
{
    if (!pointer.shift())
        brush_.pressAnyTool(pointer);
}

HexSet FillTool::region(HexCoord hex, Qt::KeyboardModifiers modifiers) const
{
    const MapStore &map = document().map();
    if (selection_.isEmpty())
        return ConnectedSameTile(map, hex);
    if (modifiers.testFlag(Qt::ShiftModifier))
        return selection_.hexes();
    return ConnectedSameTile(map, hex, &selection_.hexes());
}

void FillTool::click(const MapPointer &pointer)
{
    if (!pointer.hex || pointer.control())
        return;
    if (!brush_.requirePick())
        return;
    const TilePick &pick = brush_.pick();
    const HexSet hexes = region(*pointer.hex, pointer.modifiers);
    document().edit(QStringLiteral("Fill"), [&](MapContent &content) {
        const std::vector<HexCoord> filled = hexes.hexes();
        for (const HexCoord hex : filled)
            PaintHex(content.map, hex, pick.set, pick.tile, settings_.defaultTerrain);
        ShapeAfterPainting(content.map, filled, settings_);
    });
}

} // namespace vantor
