#pragma once
// Road toggle: two clicks name a pair of neighbouring hexes whose road link flips.

#include "tools/map_tool.h"

namespace vantor {

class RoadToggleTool : public MapTool {
    Q_OBJECT
public:
    using MapTool::MapTool;

    // Starts collecting pairs.
    void start() override;
    void click(const MapPointer &pointer) override;
    void putDown() override { first_.reset(); }

private:
    std::optional<HexCoord> first_;
};

} // namespace vantor
