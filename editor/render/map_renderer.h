#pragma once
// The full redraw: the whole map drawn from its tile sets into the map picture.

#include "model/colour_value.h"
#include "model/map_store.h"
#include "model/terrain_tables.h"
#include "render/pixel_rows.h"

#include <QImage>

#include <array>
#include <functional>
#include <vector>

namespace vantor {

class TileSetLibrary;

// The bitmaps of the sets a map uses, each read once for a whole redraw.
struct MapTileSets {
    std::array<QImage, 16> images;     // null for a set the map does not use or that could not be read
    std::vector<int> unavailableSets;  // sets the map uses whose file is missing or unreadable
};

MapTileSets LoadTileSetsOf(const MapStore &map, TileSetLibrary &library);

// Which of the 16 sets the map's hexes use.
std::array<bool, TileSetCount> SetsUsedBy(const MapStore &map);

// The pixels of each set, in the pixel size of the picture they are drawn into; empty for a set
// that is not drawn.
using SetPixels = std::array<ConstPixelRows, TileSetCount>;

// Draws every hex of the map through the hexagon mask onto what picture holds, in the order and
// clipping of DrawMap below. picture may be a window of the map picture whose top-left pixel is
// (bandLeft, bandTop) of the whole.
void DrawHexes(const MapStore &map, const SetPixels &sets, const PixelRows &picture, int bandTop = 0, int bandLeft = 0,
               const std::function<void(int set)> &afterSet = {});

// A row of pixels of one colour, 3 or 4 bytes each (blue, green, red and, for 4, an opaque alpha).
std::vector<uchar> RowOfColour(ColourValue colour, int width, int bytesPerPixel);

// Copies the background into the pixels of picture that DrawHexes leaves alone: those no drawn
// hexagon covers. background is a row of background pixels at least as wide as picture.
// Together with DrawHexes, it draws what DrawMap draws, and writes each pixel about once.
// picture may be a window of the map picture, as for DrawHexes.
void FillAroundHexes(const MapStore &map, const SetPixels &sets, const PixelRows &picture, int bandTop,
                     const std::vector<uchar> &background, int bandLeft = 0);

// Fills picture with the background and draws every hex of the map through the hexagon mask:
// sets in increasing order, and within a set row by row, west to east, so that where two hexagons
// share an edge pixel the later one wins. Hexes whose set is above 15 or unavailable are skipped.
//
// picture may be a horizontal band of the map picture whose first row is row bandTop of the whole
// picture; the band is drawn exactly as that part of the whole picture would be.
// afterSet, when given, is called after each set that has been drawn.
void DrawMap(const MapStore &map, const MapTileSets &sets, ColourValue background, QImage &picture, int bandTop = 0,
             const std::function<void(int set)> &afterSet = {});

struct RedrawReport {
    std::vector<int> unavailableSets;
};

// Loads the sets the map uses and draws the whole picture.
RedrawReport RedrawMapPicture(const MapStore &map, TileSetLibrary &library, ColourValue background, QImage &picture,
                              const std::function<void(int set)> &afterSet = {});

// A fresh 32-bit map picture of the size the map needs.
QImage NewMapPicture(const MapStore &map);

} // namespace vantor
