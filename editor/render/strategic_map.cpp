#include "strategic_map.h"

#include <QPainter>

namespace vantor {

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
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, StrategicMapSize - 1, StrategicMapSize - 1);
    for (int y = 0; y < map.MapHeight; ++y) {
        for (int x = 0; x < map.MapWidth; ++x) {
            const int terrain = map.at(Terrain, x, y);
            if (terrain >= TerrainCount)
                continue;
            painter.drawImage(StrategicIconSize * x, StrategicIconSize * y + (x % 2 == 1 ? 3 : 0), icons[terrain]);
        }
    }
    return picture;
}

std::optional<HexCoord> StrategicHexAt(int X, int Y, const MapStore &map)
{
    const int x = (X / StrategicIconSize) % map.MapWidth;
    const int y = x % 2 == 1 ? (Y - 3) / StrategicIconSize : Y / StrategicIconSize;
    if (x < 0 || y < 0 || y >= map.MapHeight)
        return std::nullopt;
    return HexCoord{x, y};
}

} // namespace vantor
