#include "hex_outlines.h"

#include "model/geometry.h"

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

} // namespace vantor
