#pragma once
// Drawing one tile of a tile-set bitmap through the hexagon mask.

#include "render/pixel_rows.h"

#include <QImage>

namespace vantor {

// Whether the whole 48 x 40 cell of the tile lies inside a set bitmap of the given size.
bool TileFitsIn(int setWidth, int setHeight, int tile);
inline bool TileFitsIn(const QImage &setImage, int tile) { return TileFitsIn(setImage.width(), setImage.height(), tile); }

// Whether DrawTile draws the tile from set into a target of the given pixel size.
bool CanDrawTile(const ConstPixelRows &set, int tile, int targetPixelSize);

// Copies the hexagon of the tile at (left, top) of target; the corners outside the hexagon keep
// what target holds. Pixels outside target are left out. A tile whose cell does not fit in the set
// bitmap, or a set whose pixel size is not target's, draws nothing; returns whether the tile was
// drawn, clipped or not.
bool DrawTile(const ConstPixelRows &set, int tile, const PixelRows &target, int left, int top);

// The same for 32-bit RGB images.
void DrawTile(const QImage &setImage, int tile, QImage &target, int left, int top);

// Copies the hexagon of source (a 48 x 40 picture) to (left, top) of target, clipped as above.
void DrawMaskedTile(const QImage &source, QImage &target, int left, int top);

} // namespace vantor
