#pragma once
// A quick reader for the plain bitmaps that tile sets are: uncompressed, 24 bits per pixel.

#include <QByteArray>
#include <QImage>

namespace vantor {

// The picture as 32-bit RGB, or a null image when data is not an uncompressed 24-bit Windows
// bitmap whose rows are all present (other bitmaps are left to the general image reader).
QImage DecodePlainBmp24(const QByteArray &data);

// Bitmaps with the rarer 52- and 56-byte info headers keep their colour masks where a 40-byte header
// with bit-field masks keeps them; relabelled as the latter, the general image reader takes them.
// Other data is returned as it is.
QByteArray RelabelExtendedInfoHeader(QByteArray data);

} // namespace vantor
