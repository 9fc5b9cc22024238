#include "road_toggle_tool.h"

#include "tools/road_links.h"

namespace vantor {

void RoadToggleTool::start()
{
    first_.reset();
    setPrompt(QStringLiteral("Road Toggle: Click 1st tile"));
}

// A click beside the map names no hex, so its pair changes nothing.
void RoadToggleTool::click(const MapPointer &pointer)
{
    const HexCoord point = pointer.hex.value_or(HexCoord{-1, -1});
    if (!first_) {
        first_ = point;
        setPrompt(QStringLiteral("Road Toggle: Click 2nd Tile"));
        return;
    }
    const HexCoord first = *first_;
    first_.reset();
    setPrompt(QStringLiteral("Road Toggle: Click 1st Tile"));
    document().edit(QStringLiteral("Toggle Road Connection"),
                    [&](MapContent &content) { ToggleRoadLink(content.map, first, point); });
}

} // namespace vantor
