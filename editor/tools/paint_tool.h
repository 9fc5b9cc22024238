#pragma once
// Painting, the brush: a press and a drag paint the picked tile under the brush all along the
// pointer's path, one step for the stroke; the brush is a hex and its rings up to three steps away.
// While the spray can is on a click sprays instead. Ctrl and the left button pick the tile of the
// hex; Shift and the left button pick the hex that Shift and the right button copy; the right
// button alone restores what the last paint replaced.

#include "document/editor_settings.h"
#include "tools/map_selection.h"
#include "tools/map_tool.h"
#include "tools/painting.h"

#include <random>

namespace vantor {

// The tile picked in the palette; nothing is picked while tile is negative.
struct TilePick {
    int set = 0;
    int tile = -1;
    bool isPicked() const { return tile >= 0; }
    friend bool operator==(const TilePick &, const TilePick &) = default;
};

class PaintTool : public MapTool {
    Q_OBJECT
public:
    PaintTool(MapDocument &document, const EditorSettings &settings, const MapSelection &selection,
              QObject *parent = nullptr);

    const TilePick &pick() const { return pick_; }
    void setPick(const TilePick &pick);
    // Ctrl+click: the hex's tile becomes the picked one.
    void pickTileOf(HexCoord hex);

    // 0 .. LargestBrushRadius; the brush holds BrushSizeOfRadius(radius) hexes.
    int brushRadius() const { return brushRadius_; }
    void setBrushRadius(int radius);

    bool isSpraying() const { return spraying_; }
    void setSpraying(bool on) { spraying_ = on; }
    // The spray can's random numbers repeat for the same seed.
    void seedSpray(unsigned seed) { sprayRandom_.seed(seed); }

    // True when a tile is picked; otherwise the prompt says how to pick one.
    bool requirePick();

    // What Shift, the right button and Ctrl do on a press, whatever the tool in use; false when the
    // press was none of those.
    bool pressAnyTool(const MapPointer &pointer);

    void press(const MapPointer &pointer) override;
    void move(const MapPointer &pointer) override;
    void release(const MapPointer &pointer) override;
    void click(const MapPointer &pointer) override;
    bool cancel() override;

signals:
    void pickChanged();
    void brushChanged();

private:
    // Paints the brush at each hex of the path, as part of the stroke's step.
    void paintAlong(const std::vector<HexCoord> &path);
    void spray(HexCoord centre);
    void showBrushAt(std::optional<HexCoord> hex);

    const EditorSettings &settings_;
    const MapSelection &selection_;
    TilePick pick_;
    int brushRadius_ = 0;
    bool spraying_ = false;
    PaintRecord lastPaint_;
    HexCoord anchor_{0, 0};
    std::minstd_rand sprayRandom_;
    // The stroke under way: its series of the history and the hex it last reached.
    std::optional<int> strokeSeries_;
    HexCoord strokeHex_;
};

} // namespace vantor
