#pragma once
// A quick reader for the plain bitmaps that tile sets are: uncompressed, 24 bits per pixel.

#include "render/pixel_rows.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace vantor {

// The pixel rows of an uncompressed 24-bit Windows bitmap, top row first, viewed in data itself
// (blue, green, red per pixel); empty rows when data is not such a bitmap with all its rows present.
ConstPixelRows PlainBmp24Rows(QByteArrayView data);

// The picture as 32-bit RGB, or a null image when data is not an uncompressed 24-bit Windows
// bitmap whose rows are all present (other bitmaps are left to the general image reader).
QImage DecodePlainBmp24(const QByteArray &data);

// Bitmaps with the rarer 52- and 56-byte info headers keep their colour masks where a 40-byte header
// with bit-field masks keeps them; relabelled as the latter, the general image reader takes them.
// Other data is returned as it is.
QByteArray RelabelExtendedInfoHeader(QByteArray data);

} // namespace vantor
