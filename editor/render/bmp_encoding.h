#pragma once
// 24-bit uncompressed Windows bitmaps, written row by row from the bottom up.

#include <QByteArray>
#include <QImage>

namespace vantor {

inline constexpr int BmpHeaderSize = 54;

// Bytes per stored row: three per pixel, padded to a multiple of four.
inline int Bmp24RowSize(int width) { return (width * 3 + 3) / 4 * 4; }

QByteArray Bmp24Header(int width, int height);

// Appends the rows of image from its last row up to its first, as a 24-bit bitmap stores them.
void AppendBmp24Rows(QByteArray &out, const QImage &image);

// A whole 24-bit bitmap file of image.
QByteArray EncodeBmp24(const QImage &image);

} // namespace vantor
