#include "bmp_decoding.h"

#include "render/bmp_encoding.h"

#include <QtEndian>

#include <cstdlib>

namespace vantor {

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int MaxSide = 1 << 15; // far above any tile set; keeps the arithmetic small

} // namespace

ConstPixelRows PlainBmp24Rows(QByteArrayView data)
{
    if (data.size() < FileHeaderSize + InfoHeaderSize || data[0] != 'B' || data[1] != 'M')
        return {};
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const quint32 pixelOffset = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    const qint32 width = qFromLittleEndian<qint32>(bytes + 18);
    const qint32 height = qFromLittleEndian<qint32>(bytes + 22);
    const quint16 planes = qFromLittleEndian<quint16>(bytes + 26);
    const quint16 bitsPerPixel = qFromLittleEndian<quint16>(bytes + 28);
    const quint32 compression = qFromLittleEndian<quint32>(bytes + 30);
    if (headerSize < InfoHeaderSize || headerSize > 124 || planes != 1 || bitsPerPixel != 24 || compression != 0)
        return {};
    if (width <= 0 || width > MaxSide || height == 0 || height > MaxSide || height < -MaxSide)
        return {};
    const int rows = std::abs(height);
    const qint64 rowSize = Bmp24RowSize(width);
    if (pixelOffset < FileHeaderSize + headerSize || qint64(pixelOffset) + rowSize * rows > qint64(data.size()))
        return {};

    const uchar *pixels = bytes + pixelOffset;
    const bool bottomUp = height > 0;
    return {bottomUp ? pixels + rowSize * (rows - 1) : pixels, bottomUp ? -rowSize : rowSize, width, rows, 3};
}

QImage DecodePlainBmp24(const QByteArray &data)
{
    const ConstPixelRows rows = PlainBmp24Rows(data);
    if (rows.isEmpty())
        return {};
    QImage image(rows.width, rows.height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < rows.height; ++y) {
        const uchar *source = rows.row(y);
        auto *target = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < rows.width; ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}

QByteArray RelabelExtendedInfoHeader(QByteArray data)
{
    if (data.size() < FileHeaderSize + 56 || data[0] != 'B' || data[1] != 'M')
        return data;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    const quint32 compression = qFromLittleEndian<quint32>(bytes + 30);
    constexpr quint32 BitFields = 3;
    if ((headerSize == 52 || headerSize == 56) && compression == BitFields)
        qToLittleEndian<quint32>(InfoHeaderSize, data.data() + 14);
    return data;
}

} // namespace vantor
