#pragma once
// Paste: the copied block follows the pointer, held by its anchor, and each click writes it there
// as one step; the tool stays so that the block can be pasted again elsewhere.

#include "document/editor_settings.h"
#include "tools/hex_clipboard.h"
#include "tools/map_tool.h"

namespace vantor {

class PasteTool : public MapTool {
    Q_OBJECT
public:
    PasteTool(MapDocument &document, const EditorSettings &settings, QObject *parent = nullptr);

    // What the paste picked up from the clipboard; the block shows at the pointer's next move.
    void setHexes(ClipboardHexes hexes);
    const ClipboardHexes &hexes() const { return hexes_; }

    void start() override;
    // The right button puts the tool down.
    void press(const MapPointer &pointer) override;
    void move(const MapPointer &pointer) override;
    void click(const MapPointer &pointer) override;
    bool cancel() override;

private:
    void showAt(HexCoord target);

    const EditorSettings &settings_;
    ClipboardHexes hexes_;
    // The hex the block is shown at.
    std::optional<HexCoord> shownAt_;
};

} // namespace vantor
