#pragma once

#include "ColorValue.h"
#include "EnhanceColor.h"

#include <QList>
#include <QPoint>

#include <array>
#include <functional>

namespace dovrel {

// Sizes the operations work with, whatever the actual size of the bitmaps.
inline constexpr int LargeWidth = 393;
inline constexpr int LargeHeight = 537;
inline constexpr int SmallWidth = 309;
inline constexpr int SmallHeight = 421;

// The default background colour, and its text in the background edit box.
inline constexpr ColorValue DefaultBackground = 0x38B8A0;
inline constexpr const char *DefaultBackgroundText = "0x38B8A0";

// Reduces the large image to the small one by dropping whole columns and rows
// at evenly spread places (one accumulator per direction, the column
// accumulator carried across rows). Pixels are copied, through EnhanceColor
// when `enhance` is given. The large image is read over 393 x 537 pixels;
// pixels beyond a smaller image read as white. `rowDone` runs after every
// written row with the target row number.
void Shrink(const QImage &large, QImage &small, const EnhanceSettings *enhance,
            const std::function<void(int)> &rowDone = {});

// A straight line from `a` to `b`, both end points included, one pixel wide.
// Pixels off the image are dropped.
void DrawLine(QImage &image, QPoint a, QPoint b, ColorValue color);

// The pixels DrawLine sets for a line from `a` to `b`, in drawing order.
QList<QPoint> LinePixels(QPoint a, QPoint b);

// The six vertices of the outline whose left vertex is (x, y), in drawing order.
std::array<QPoint, 6> OutlineVertices(int x, int y);

// Left vertices of the 80 outlines, in drawing order: odd columns first (rows
// outer, columns inner), then even columns.
QList<QPoint> OutlineOrigins();

// Draws the 80 hexagon outlines in `color`.
void Lines(QImage &small, ColorValue color);

// Draws the 80 outlines again, each segment in the colour found at a pixel just
// inside the hexagon beside it at that moment.
void Fill(QImage &small);

// The sample point for segment `segment` (0 to 5) of the outline with left
// vertex (x, y) in column `column`.
QPoint FillSamplePoint(int x, int y, int column, int segment);

// Grows every coloured area of the image one pixel upward into the background:
// a background pixel takes the colour of the pixel below it, as that pixel was
// before this pass. Works over the whole image, whatever its size.
void Bleed(QImage &large, ColorValue background);

} // namespace dovrel
