#include "road_overlay.h"

#include "model/hex_neighbours.h"

#include <QPainter>
#include <QPen>

#include <array>
#include <vector>

namespace vantor {

namespace {

// The order in which the overlay visits the bits of a hex.
constexpr std::array<HexDirection, 6> OverlayOrder = {HexDirection::N,  HexDirection::NE, HexDirection::SW,
                                                      HexDirection::S,  HexDirection::SE, HexDirection::NW};

QPen RoadPen(ColourValue colour)
{
    QPen pen(ToQColor(colour));
    pen.setWidth(RoadPenWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// From a hex centre halfway to the neighbour's centre, truncated towards zero; the same for both
// column parities.
QPoint HalfLineEnd(HexDirection direction)
{
    const QPoint towards = HexCentre(Neighbour({2, 2}, direction)) - HexCentre({2, 2});
    return {towards.x() / 2, towards.y() / 2};
}

// The pixels of each half-line as the road pen draws it, relative to the hex centre. A whole map
// of links is some 30000 lines; stamping their pixels is many times faster than stroking each.
using Stamp = std::vector<QPoint>;

const std::array<Stamp, 6> &HalfLineStamps()
{
    static const std::array<Stamp, 6> stamps = [] {
        std::array<Stamp, 6> result;
        constexpr int Size = 64;
        const QPoint origin(Size / 2, Size / 2);
        for (const HexDirection direction : PatternOrder) {
            QImage scratch(Size, Size, QImage::Format_RGB32);
            scratch.fill(Qt::black);
            {
                QPainter painter(&scratch);
                painter.setRenderHint(QPainter::Antialiasing, false);
                painter.setPen(RoadPen(RoadOverlayColour));
                painter.drawLine(origin, origin + HalfLineEnd(direction));
            }
            for (int y = 0; y < Size; ++y)
                for (int x = 0; x < Size; ++x)
                    if (scratch.pixel(x, y) != qRgb(0, 0, 0))
                        result[std::size_t(direction)].push_back(QPoint(x, y) - origin);
        }
        return result;
    }();
    return stamps;
}

} // namespace

void DrawRoadOverlay(const MapStore &map, QImage &picture, int bandTop, int bandLeft)
{
    // A line reaches at most 20 pixels above or below its hex centre and 19 to either side, plus
    // the pen's half width.
    constexpr int Reach = 20 + RoadPenWidth;
    const int bandBottom = bandTop + picture.height();
    const int bandRight = bandLeft + picture.width();
    const std::array<Stamp, 6> &stamps = HalfLineStamps();
    const QRgb colour = ToQColor(RoadOverlayColour).rgb();
    const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    uchar *const bits = direct ? picture.bits() : nullptr;
    const qsizetype bytesPerLine = picture.bytesPerLine();
    for (int x = 1; x <= map.MapWidth - 2; ++x)
        for (int y = 1; y <= map.MapHeight - 2; ++y) {
            const std::uint8_t links = map.at(RoadLinks, x, y);
            if ((links & AllLinkBits) == 0)
                continue;
            const QPoint centre = HexCentre({x, y});
            if (centre.y() + Reach < bandTop || centre.y() - Reach >= bandBottom || centre.x() + Reach < bandLeft ||
                centre.x() - Reach >= bandRight)
                continue;
            for (const HexDirection direction : OverlayOrder) {
                if ((links & LinkBitOf(direction)) == 0)
                    continue;
                for (const QPoint &offset : stamps[std::size_t(direction)]) {
                    const int px = centre.x() + offset.x() - bandLeft;
                    const int py = centre.y() + offset.y() - bandTop;
                    if (px < 0 || py < 0 || px >= picture.width() || py >= picture.height())
                        continue;
                    if (bits)
                        reinterpret_cast<QRgb *>(bits + py * bytesPerLine)[px] = colour;
                    else
                        picture.setPixel(px, py, colour);
                }
            }
        }
}

} // namespace vantor
