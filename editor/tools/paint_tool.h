#pragma once
// Painting, the tool in use unless a command collects clicks: a click paints the picked tile, or
// sprays it around the hex while the spray can is on; Shift and the left button pick the hex that
// Shift and the right button copy; the right button alone restores what the last paint replaced.

#include "document/editor_settings.h"
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
    PaintTool(MapDocument &document, const EditorSettings &settings, QObject *parent = nullptr);

    const TilePick &pick() const { return pick_; }
    void setPick(const TilePick &pick);

    bool isSpraying() const { return spraying_; }
    void setSpraying(bool on) { spraying_ = on; }
    // The spray can's random numbers repeat for the same seed.
    void seedSpray(unsigned seed) { sprayRandom_.seed(seed); }

    void press(const MapPointer &pointer) override;
    void click(const MapPointer &pointer) override;

signals:
    void pickChanged();

private:
    void paint(HexCoord hex);
    void spray(HexCoord centre);

    const EditorSettings &settings_;
    TilePick pick_;
    bool spraying_ = false;
    PaintRecord lastPaint_;
    HexCoord anchor_{0, 0};
    std::minstd_rand sprayRandom_;
};

} // namespace vantor
