#include "road_links.h"

#include <QPainter>
#include <QPen>

#include <vector>

namespace vantor {

namespace {

struct DirectionRule {
    std::uint8_t bit;
    HexDirection opposite;
    QPoint evenStep; // (dx, dy) from a hex in an even column
    QPoint oddStep;  // and from one in an odd column
};

// Indexed by HexDirection.
constexpr std::array<DirectionRule, 6> Rules = {{
    {LinkNW, HexDirection::SE, {-1, -1}, {-1, 0}},
    {LinkN, HexDirection::S, {0, -1}, {0, -1}},
    {LinkNE, HexDirection::SW, {1, -1}, {1, 0}},
    {LinkSE, HexDirection::NW, {1, 0}, {1, 1}},
    {LinkS, HexDirection::N, {0, 1}, {0, 1}},
    {LinkSW, HexDirection::NE, {-1, 0}, {-1, 1}},
}};

const DirectionRule &RuleOf(HexDirection direction) { return Rules[std::size_t(direction)]; }

bool IsOddColumn(int x) { return (x & 1) != 0; }

// The order in which the overlay visits the bits of a hex.
constexpr std::array<HexDirection, 6> OverlayOrder = {HexDirection::N,  HexDirection::NE, HexDirection::SW,
                                                      HexDirection::S,  HexDirection::SE, HexDirection::NW};

bool InList(int value, std::initializer_list<int> list)
{
    for (const int item : list)
        if (item == value)
            return true;
    return false;
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

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

std::uint8_t LinkBitOf(HexDirection direction) { return RuleOf(direction).bit; }

HexDirection Opposite(HexDirection direction) { return RuleOf(direction).opposite; }

HexCoord Neighbour(HexCoord hex, HexDirection direction)
{
    const DirectionRule &rule = RuleOf(direction);
    const QPoint step = IsOddColumn(hex.x) ? rule.oddStep : rule.evenStep;
    return {hex.x + step.x(), hex.y + step.y()};
}

std::optional<HexDirection> DirectionTowards(HexCoord from, HexCoord to)
{
    for (const HexDirection direction : PatternOrder)
        if (Neighbour(from, direction) == to)
            return direction;
    return std::nullopt;
}

bool IsRoadHex(const MapStore &map, int x, int y)
{
    if (!IsOnMap(map, x, y))
        return false;
    if (InList(map.at(Terrain, x, y), {0, 1, 2, 3, 12, 33, 34}))
        return true;
    const int tile = map.at(TileIndex, x, y);
    switch (map.at(TileSet, x, y)) {
    case 3:
        return InRange(tile, 20, 34) || InList(tile, {39, 40, 76, 77, 78, 79});
    case 9:
        return InRange(tile, 10, 14) || InRange(tile, 50, 54) || InRange(tile, 65, 69);
    default:
        return false;
    }
}

void MakeRoadConnections(MapStore &map)
{
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x) {
            if (!IsRoadHex(map, x, y))
                continue;
            std::uint8_t links = map.at(RoadLinks, x, y);
            for (const HexDirection direction : PatternOrder) {
                const HexCoord next = Neighbour({x, y}, direction);
                if (IsRoadHex(map, next.x, next.y))
                    links |= LinkBitOf(direction);
            }
            map.at(RoadLinks, x, y) = links;
        }
}

void ClearRoadConnections(MapStore &map)
{
    for (int x = 0; x < map.MapWidth; ++x)
        for (int y = 0; y < map.MapHeight; ++y)
            map.at(RoadLinks, x, y) = 0;
}

void DrawRoadOverlay(const MapStore &map, QImage &picture, int bandTop)
{
    // A line reaches at most 20 pixels above or below its hex centre, plus the pen's half width.
    constexpr int Reach = 20 + RoadPenWidth;
    const int bandBottom = bandTop + picture.height();
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
            if (centre.y() + Reach < bandTop || centre.y() - Reach >= bandBottom)
                continue;
            for (const HexDirection direction : OverlayOrder) {
                if ((links & LinkBitOf(direction)) == 0)
                    continue;
                for (const QPoint &offset : stamps[std::size_t(direction)]) {
                    const int px = centre.x() + offset.x();
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

RoadToggle ToggleRoadLink(MapStore &map, HexCoord first, HexCoord second, QImage *picture)
{
    if (!IsOnMap(map, first.x, first.y) || !IsOnMap(map, second.x, second.y))
        return RoadToggle::Unchanged;
    const std::optional<HexDirection> direction = DirectionTowards(first, second);
    if (!direction)
        return RoadToggle::Unchanged;

    // The reference hex tells whether the link is there: the upper hex of a north-south pair, the
    // even-column hex of any other pair.
    bool linked = false;
    if (first.x == second.x)
        linked = first.y < second.y ? (map.at(RoadLinks, first.x, first.y) & LinkBitOf(*direction))
                                    : (map.at(RoadLinks, second.x, second.y) & LinkBitOf(Opposite(*direction)));
    else
        linked = !IsOddColumn(first.x) ? (map.at(RoadLinks, first.x, first.y) & LinkBitOf(*direction))
                                       : (map.at(RoadLinks, second.x, second.y) & LinkBitOf(Opposite(*direction)));

    map.at(RoadLinks, first.x, first.y) ^= LinkBitOf(*direction);
    map.at(RoadLinks, second.x, second.y) ^= LinkBitOf(Opposite(*direction));

    if (picture) {
        QPainter painter(picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(RoadPen(linked ? RoadRemovedColour : RoadOverlayColour));
        painter.drawLine(HexCentre(first), HexCentre(second));
    }
    return linked ? RoadToggle::LinkRemoved : RoadToggle::LinkAdded;
}

} // namespace vantor
