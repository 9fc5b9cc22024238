#include "hex_outlines.h"

#include "model/geometry.h"
#include "model/hex_neighbours.h"

#include <QPainter>
#include <QPolygon>

namespace vantor {

void DrawHexOutlines(QImage &picture, int bandTop, const std::vector<HexCoord> &hexes, int mapWidth)
{
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor::fromRgba(HexOutlineColour), 2));
    for (const HexCoord &hex : hexes) {
        const PixelRect rect = HexRect(hex.y * mapWidth + hex.x, mapWidth);
        const int left = rect.left, top = rect.top - bandTop;
        if (top + TileHeight < 0 || top > picture.height())
            continue;
        // The hexagon of the mask: flat top and bottom 10 pixels in, points at mid height.
        const QPolygon outline({QPoint(left + 10, top + 1), QPoint(left + 37, top + 1), QPoint(left + 46, top + 19),
                                QPoint(left + 37, top + 38), QPoint(left + 10, top + 38), QPoint(left + 1, top + 19)});
        painter.drawPolygon(outline);
    }
}

std::vector<QLineF> RegionOutline(const HexSet &region)
{
    // The corners of a hex from its top-left pixel, and the edge each direction crosses; two
    // neighbours give the very same line for the edge they share.
    static constexpr QPoint Corners[6] = {{11, 0}, {37, 0}, {48, 20}, {37, 40}, {11, 40}, {0, 20}};
    struct Edge {
        HexDirection direction;
        int from, to;
    };
    static constexpr Edge Edges[6] = {{HexDirection::N, 0, 1},  {HexDirection::NE, 1, 2}, {HexDirection::SE, 2, 3},
                                      {HexDirection::S, 3, 4},  {HexDirection::SW, 4, 5}, {HexDirection::NW, 5, 0}};
    std::vector<QLineF> lines;
    for (const HexCoord hex : region.hexes()) {
        const QPoint topLeft(ColumnStep * hex.x, TileHeight * hex.y + (IsOddColumn(hex.x) ? 20 : 0));
        for (const Edge &edge : Edges)
            if (!region.contains(Neighbour(hex, edge.direction)))
                lines.emplace_back(topLeft + Corners[edge.from], topLeft + Corners[edge.to]);
    }
    return lines;
}

} // namespace vantor
