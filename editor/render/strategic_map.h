#pragma once
// The strategic overview: every hex of the map as a 6 x 6 icon of its terrain.

#include "model/map_store.h"
#include "model/terrain_tables.h"

#include <QImage>
#include <QPointF>
#include <QRectF>

#include <array>
#include <optional>
#include <vector>

namespace vantor {

inline constexpr int StrategicIconSize = 6;
inline constexpr int StrategicMapSize = 430;

// The icon of terrain t is the program resource ":/icons/<StrategicIconNames[t]>.xpm".
extern const std::array<const char *, TerrainCount> StrategicIconNames;

using StrategicIcons = std::array<QImage, TerrainCount>;

// The 37 icons from the program's resources, 32-bit RGB.
StrategicIcons LoadStrategicIcons();

// A 430 x 430 picture: a one-pixel black frame filled white, with the icon of every hex's terrain
// at (6x, 6y), odd columns 3 pixels lower. Hexes whose terrain names no icon stay white.
QImage DrawStrategicMap(const MapStore &map, const StrategicIcons &icons);

// Draws the icons of hexes anew in a picture DrawStrategicMap made for a map of the same size, so
// that it becomes what DrawStrategicMap would draw now. Icons never overlap, so only the hexes'
// own squares change; hexes off the map are passed over.
void DrawStrategicHexes(QImage &picture, const MapStore &map, const StrategicIcons &icons,
                        const std::vector<HexCoord> &hexes);

// The hex under a pixel of the overview: the column wraps at the map's width; nothing when the
// pixel lies below the last row.
std::optional<HexCoord> StrategicHexAt(int X, int Y, const MapStore &map);

// Between the overview and the main map picture: a hex's icon (6 x 6, odd columns 3 lower) stands
// for its 37 x 40 step of the picture (odd columns 20 lower).
QRectF StrategicAreaOf(const QRectF &pictureArea);
// The picture point an overview point shows, clamped to the map's picture (each axis by its own
// bound).
QPointF MapPicturePointAt(QPointF overviewPoint, const MapStore &map);

} // namespace vantor
