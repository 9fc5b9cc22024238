#pragma once
// A tile-set bitmap re-packed for programs that slice tile sheets on a regular grid: the set
// bitmap staggers its columns and overlaps them by 11 pixels, which a grid cannot cut.

#include <QImage>

namespace vantor {

// The number of tiles whose whole cell lies in the set bitmap, counted from tile 0 (80 for the
// 309 x 421 bitmaps Dovrel makes).
int TileCountOf(const QImage &setImage);

// Rows of a sheet of tileCount tiles, TileColumns to a row.
int TileSheetRows(int tileCount);

// Tile n of the set in the 48 x 40 cell at column n mod 8, row n div 8 of a 32-bit ARGB sheet:
// the pixels of the hexagon opaque, every pixel outside it fully transparent.
QImage RepackTileSet(const QImage &setImage);

} // namespace vantor
