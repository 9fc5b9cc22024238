#pragma once
// A rectangle of pixels in memory, row by row: the one view the drawing code works on, whether the
// pixels are a 32-bit picture stored top-down or the 24-bit rows of a bitmap stored bottom-up.

#include <QImage>

namespace vantor {

template <typename Byte>
struct BasicPixelRows {
    Byte *top = nullptr;  // first byte of row 0
    qsizetype stride = 0; // bytes from one row to the row below it; negative for bottom-up storage
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;

    bool isEmpty() const { return top == nullptr || width <= 0 || height <= 0; }
    Byte *row(int y) const { return top + y * stride; }
    // Rows first to first + count, as a view of their own.
    BasicPixelRows rows(int first, int count) const { return {row(first), stride, width, count, bytesPerPixel}; }
};

using PixelRows = BasicPixelRows<uchar>;
using ConstPixelRows = BasicPixelRows<const uchar>;

// The pixels of a 24- or 32-bit image.
inline PixelRows RowsOf(QImage &image)
{
    return {image.bits(), image.bytesPerLine(), image.width(), image.height(), image.depth() / 8};
}

inline ConstPixelRows RowsOf(const QImage &image)
{
    return {image.constBits(), image.bytesPerLine(), image.width(), image.height(), image.depth() / 8};
}

} // namespace vantor
