#include "paste_tool.h"

#include "tools/painting.h"

namespace vantor {

PasteTool::PasteTool(MapDocument &document, const EditorSettings &settings, QObject *parent)
    : MapTool(document, parent)
    , settings_(settings)
{
}

void PasteTool::setHexes(ClipboardHexes hexes)
{
    hexes_ = std::move(hexes);
    cancel();
}

void PasteTool::start() { setPrompt(QStringLiteral("Click where the pasted hexes go. Esc ends.")); }

void PasteTool::press(const MapPointer &pointer)
{
    if (pointer.button == Qt::RightButton)
        emit finished();
}

// The pointer may hang the block over the map's edges: the part on the map shows and is pasted.
void PasteTool::move(const MapPointer &pointer)
{
    if (shownAt_ != pointer.nearHex)
        showAt(pointer.nearHex);
}

void PasteTool::showAt(HexCoord target)
{
    shownAt_ = target;
    ToolPreview preview;
    preview.hexes = PlaceHexes(hexes_, target, document().map());
    for (const auto &placed : preview.hexes)
        preview.outline.insert(placed.first);
    setPreview(std::move(preview));
}

void PasteTool::click(const MapPointer &pointer)
{
    const std::vector<std::pair<HexCoord, HexRecord>> placed = PlaceHexes(hexes_, pointer.nearHex, document().map());
    if (placed.empty())
        return;
    document().edit(QStringLiteral("Paste"), [&](MapContent &content) {
        std::vector<HexCoord> hexes;
        for (const auto &[hex, record] : placed) {
            WriteHex(content.map, hex.x, hex.y, record);
            hexes.push_back(hex);
        }
        ShapeAfterPainting(content.map, hexes, settings_);
    });
    move(pointer);
}

bool PasteTool::cancel()
{
    shownAt_.reset();
    if (preview().outline.empty())
        return false;
    setPreview({});
    return true;
}

} // namespace vantor
