#include "PixelOps.h"

#include <cstdlib>

namespace dovrel {

void Shrink(const QImage &large, QImage &small, const EnhanceSettings *enhance,
            const std::function<void(int)> &rowDone)
{
    const int columnStep = LargeWidth - SmallWidth;   // 84
    const int rowStep = LargeHeight - SmallHeight;    // 116
    int columnAcc = 0;
    int rowAcc = 0;
    int targetRow = 0;
    const int sourceWidth = large.width();
    const int sourceHeight = large.height();

    for (int y = 0; y < LargeHeight; ++y) {
        rowAcc += rowStep;
        if (rowAcc > LargeHeight) {
            rowAcc -= LargeHeight;
            continue;
        }
        const bool rowInside = targetRow < small.height();
        const QRgb *source = y < sourceHeight ? reinterpret_cast<const QRgb *>(large.constScanLine(y)) : nullptr;
        QRgb *target = rowInside ? reinterpret_cast<QRgb *>(small.scanLine(targetRow)) : nullptr;
        int targetColumn = 0;
        for (int x = 0; x < LargeWidth; ++x) {
            columnAcc += columnStep;
            if (columnAcc > LargeWidth) {
                columnAcc -= LargeWidth;
                continue;
            }
            if (target && targetColumn < small.width()) {
                ColorValue color = (source && x < sourceWidth) ? FromRgb(source[x]) : 0x00FFFFFF;
                if (enhance)
                    color = EnhanceColor(color, *enhance);
                target[targetColumn] = ToRgb(color);
            }
            ++targetColumn;
        }
        if (rowInside && rowDone)
            rowDone(targetRow);
        ++targetRow;
    }
}

QList<QPoint> LinePixels(QPoint a, QPoint b)
{
    QList<QPoint> pixels;
    int x = a.x();
    int y = a.y();
    const int dx = std::abs(b.x() - x);
    const int dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1;
    const int sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    pixels.reserve(qMax(dx, -dy) + 1);
    for (;;) {
        pixels.append(QPoint(x, y));
        if (x == b.x() && y == b.y())
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return pixels;
}

void DrawLine(QImage &image, QPoint a, QPoint b, ColorValue color)
{
    for (const QPoint &p : LinePixels(a, b))
        SetPixelColor(image, p.x(), p.y(), color);
}

std::array<QPoint, 6> OutlineVertices(int x, int y)
{
    return {QPoint(x, y), QPoint(x + 12, y - 20), QPoint(x + 37, y - 20),
            QPoint(x + 49, y), QPoint(x + 37, y + 20), QPoint(x + 12, y + 20)};
}

QList<QPoint> OutlineOrigins()
{
    QList<QPoint> origins;
    origins.reserve(80);
    for (int r = 0; r < 10; ++r)
        for (int c = 1; c < 8; c += 2)
            origins.append(QPoint(37 * c - 1, 40 * r + 20));
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 8; c += 2)
            origins.append(QPoint(37 * c - 1, 40 * r + 40));
    return origins;
}

void Lines(QImage &small, ColorValue color)
{
    for (const QPoint &origin : OutlineOrigins()) {
        const std::array<QPoint, 6> v = OutlineVertices(origin.x(), origin.y());
        for (size_t s = 0; s < v.size(); ++s)
            DrawLine(small, v[s], v[(s + 1) % v.size()], color);
    }
}

QPoint FillSamplePoint(int x, int y, int column, int segment)
{
    switch (segment) {
    case 0: return QPoint(x + 6, y - 3);
    case 1: return QPoint(x + 24, column % 2 == 1 ? y - 18 : y - 19);
    // (x + 48, y - 2) would lie on this very segment, which would then keep
    // its own colour; the pixel beside it is inside the hexagon.
    case 2: return QPoint(x + 47, y - 2);
    case 3: return QPoint(x + 36, y + 19);
    case 4: return QPoint(x + 24, y + 19);
    default: return QPoint(x + 10, y + 5);
    }
}

void Fill(QImage &small)
{
    for (const QPoint &origin : OutlineOrigins()) {
        const int column = (origin.x() + 1) / 37;
        const std::array<QPoint, 6> v = OutlineVertices(origin.x(), origin.y());
        for (int s = 0; s < 6; ++s) {
            const QPoint sample = FillSamplePoint(origin.x(), origin.y(), column, s);
            // Every sample point of the fixed outline grid lies on the small
            // image; a point off it would keep the outline as it is.
            if (!small.rect().contains(sample))
                continue;
            DrawLine(small, v[size_t(s)], v[size_t((s + 1) % 6)], PixelColor(small, sample.x(), sample.y()));
        }
    }
}

void Bleed(QImage &large, ColorValue background)
{
    // Columns are independent of each other, so walking row by row gives the
    // same result as walking each column downward: the pixel below is always
    // read before its own row is changed.
    const QRgb bg = ToRgb(background);
    for (int y = 0; y + 1 < large.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(large.scanLine(y));
        const QRgb *below = reinterpret_cast<const QRgb *>(large.constScanLine(y + 1));
        for (int x = 0; x < large.width(); ++x)
            if ((row[x] | 0xFF000000u) == bg)
                row[x] = below[x];
    }
}

} // namespace dovrel
