#include "strategic_map.h"

#include "model/geometry.h"

#include <QPainter>

#include <algorithm>

namespace vantor {

namespace {

// One overview pixel across is this many picture pixels; one down, this many.
constexpr double PictureXPerIconPixel = double(ColumnStep) / StrategicIconSize;
constexpr double PictureYPerIconPixel = double(TileHeight) / StrategicIconSize;

QRect IconSquare(HexCoord hex)
{
    return {StrategicIconSize * hex.x, StrategicIconSize * hex.y + (hex.x % 2 == 1 ? 3 : 0), StrategicIconSize,
            StrategicIconSize};
}

// The white ground and its black frame, under every icon.
void DrawGround(QPainter &painter)
{
    painter.fillRect(0, 0, StrategicMapSize, StrategicMapSize, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, StrategicMapSize - 1, StrategicMapSize - 1);
}

void DrawIcon(QPainter &painter, const MapStore &map, const StrategicIcons &icons, HexCoord hex)
{
    const int terrain = map.at(Terrain, hex.x, hex.y);
    if (terrain < TerrainCount)
        painter.drawImage(IconSquare(hex).topLeft(), icons[terrain]);
}

} // namespace

const std::array<const char *, TerrainCount> StrategicIconNames = {
    "CITYC", "CITYI", "ROADD", "ROADP", "CLEAR", "FORES", "KUNAI", "JUNGR", "JUNGD", "PALMS",
    "BAMBO", "BOCAG", "PAVED", "AGRIC", "RICEI", "RICEO", "DESER", "OASIS", "SWAMP", "ROUGH",
    "VOLCA", "HILLS", "MOUNT", "ESCAR", "RIVER", "BEACH", "PIERS", "SEAWA", "TETRA", "REEFS",
    "COAST", "OCEAN", "JUNGP", "DIRTA", "PAVEA", "FORTI", "OILFI",
};

StrategicIcons LoadStrategicIcons()
{
    StrategicIcons icons;
    for (int t = 0; t < TerrainCount; ++t)
        icons[t] = QImage(QStringLiteral(":/icons/%1.xpm").arg(QLatin1String(StrategicIconNames[t])))
                       .convertToFormat(QImage::Format_RGB32);
    return icons;
}

QImage DrawStrategicMap(const MapStore &map, const StrategicIcons &icons)
{
    QImage picture(StrategicMapSize, StrategicMapSize, QImage::Format_RGB32);
    QPainter painter(&picture);
    DrawGround(painter);
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            DrawIcon(painter, map, icons, {x, y});
    return picture;
}

void DrawStrategicHexes(QImage &picture, const MapStore &map, const StrategicIcons &icons,
                        const std::vector<HexCoord> &hexes)
{
    QPainter painter(&picture);
    for (const HexCoord hex : hexes) {
        if (!IsOnMap(map, hex.x, hex.y))
            continue;
        // The ground first, for a terrain without an icon and for the frame the square may cover.
        painter.setClipRect(IconSquare(hex));
        DrawGround(painter);
        DrawIcon(painter, map, icons, hex);
    }
}

std::optional<HexCoord> StrategicHexAt(int X, int Y, const MapStore &map)
{
    const int x = (X / StrategicIconSize) % map.MapWidth;
    const int y = x % 2 == 1 ? (Y - 3) / StrategicIconSize : Y / StrategicIconSize;
    if (x < 0 || y < 0 || y >= map.MapHeight)
        return std::nullopt;
    return HexCoord{x, y};
}

QRectF StrategicAreaOf(const QRectF &pictureArea)
{
    return {pictureArea.x() / PictureXPerIconPixel, pictureArea.y() / PictureYPerIconPixel,
            pictureArea.width() / PictureXPerIconPixel, pictureArea.height() / PictureYPerIconPixel};
}

QPointF MapPicturePointAt(QPointF overviewPoint, const MapStore &map)
{
    return {std::clamp(overviewPoint.x() * PictureXPerIconPixel, 0.0, double(MapPictureWidth(map.MapWidth))),
            std::clamp(overviewPoint.y() * PictureYPerIconPixel, 0.0, double(MapPictureHeight(map.MapHeight)))};
}

} // namespace vantor
