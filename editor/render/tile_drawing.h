#pragma once
// Drawing one tile of a tile-set bitmap through the hexagon mask.

#include <QImage>

namespace vantor {

// Whether the whole 48 x 40 cell of the tile lies inside the set bitmap.
bool TileFitsIn(const QImage &setImage, int tile);

// Copies the hexagon of the tile at (left, top) of target; the corners outside the hexagon keep
// what target holds. Both images are 32-bit RGB. Pixels outside target are left out; a tile whose
// cell does not fit in the set bitmap draws nothing.
void DrawTile(const QImage &setImage, int tile, QImage &target, int left, int top);

// Copies the hexagon of source (a 48 x 40 picture) to (left, top) of target, clipped as above.
void DrawMaskedTile(const QImage &source, QImage &target, int left, int top);

} // namespace vantor
