#include "bmp_encoding.h"

#include <QtEndian>

namespace vantor {

namespace {

void PutLE32(char *at, quint32 value) { qToLittleEndian(value, at); }
void PutLE16(char *at, quint16 value) { qToLittleEndian(value, at); }

} // namespace

QByteArray Bmp24Header(int width, int height)
{
    const quint32 imageSize = quint32(Bmp24RowSize(width)) * quint32(height);
    QByteArray header(BmpHeaderSize, '\0');
    char *h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    PutLE32(h + 2, BmpHeaderSize + imageSize);
    PutLE32(h + 10, BmpHeaderSize);
    PutLE32(h + 14, 40); // size of the info header
    PutLE32(h + 18, quint32(width));
    PutLE32(h + 22, quint32(height));
    PutLE16(h + 26, 1);  // planes
    PutLE16(h + 28, 24); // bits per pixel
    PutLE32(h + 34, imageSize);
    PutLE32(h + 38, 3780); // 96 dots per inch
    PutLE32(h + 42, 3780);
    return header;
}

void AppendBmp24Rows(QByteArray &out, const QImage &image)
{
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int rowSize = Bmp24RowSize(width);
    qsizetype offset = out.size();
    out.resize(offset + qsizetype(rowSize) * rgb.height());
    for (int y = rgb.height() - 1; y >= 0; --y, offset += rowSize) {
        const auto *pixel = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        auto *row = reinterpret_cast<unsigned char *>(out.data() + offset);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = qBlue(pixel[x]);
            row[3 * x + 1] = qGreen(pixel[x]);
            row[3 * x + 2] = qRed(pixel[x]);
        }
        for (int pad = width * 3; pad < rowSize; ++pad)
            row[pad] = 0;
    }
}

QByteArray EncodeBmp24(const QImage &image)
{
    QByteArray out = Bmp24Header(image.width(), image.height());
    out.reserve(BmpHeaderSize + qsizetype(Bmp24RowSize(image.width())) * image.height());
    AppendBmp24Rows(out, image);
    return out;
}

} // namespace vantor
