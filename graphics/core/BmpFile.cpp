#include "BmpFile.h"

#include "FileWriting.h"

#include "ColorValue.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace dovrel {

namespace {
void PutU16(QByteArray &out, qsizetype at, quint32 v)
{
    out[at] = char(v & 0xFF);
    out[at + 1] = char((v >> 8) & 0xFF);
}
void PutU32(QByteArray &out, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((v >> (8 * i)) & 0xFF);
}
} // namespace

QByteArray EncodeBmp24(const QImage &source)
{
    const QImage image = source.format() == CanvasFormat ? source : source.convertToFormat(CanvasFormat);
    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = (qsizetype(width) * 3 + 3) & ~qsizetype(3);
    const qsizetype headerSize = 14 + 40;
    const qsizetype imageSize = stride * height;

    QByteArray out(headerSize + imageSize, '\0');
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, quint32(headerSize + imageSize));
    PutU32(out, 10, quint32(headerSize));
    PutU32(out, 14, 40);
    PutU32(out, 18, quint32(width));
    PutU32(out, 22, quint32(height));
    PutU16(out, 26, 1);
    PutU16(out, 28, 24);
    PutU32(out, 30, 0); // no compression
    PutU32(out, 34, quint32(imageSize));
    PutU32(out, 38, 2835); // 72 dots per inch
    PutU32(out, 42, 2835);

    char *pixels = out.data() + headerSize;
    for (int y = 0; y < height; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        char *row = pixels + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(qBlue(line[x]));
            row[3 * x + 1] = char(qGreen(line[x]));
            row[3 * x + 2] = char(qRed(line[x]));
        }
    }
    return out;
}

bool SaveBmp24(const QImage &image, const QString &path, QString *error)
{
    return WriteWholeFile(path, EncodeBmp24(image), error);
}

namespace {
// Bitmaps whose 52- or 56-byte info header carries the colour masks inside it
// (the "V2" and "V3" headers) are laid out like a 40-byte header followed by
// its masks, which is the form the image reader knows. Returns the bytes with
// the header size rewritten, or nothing when the file is not such a bitmap.
std::optional<QByteArray> AsPlainMaskedBitmap(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.peek(34);
    if (head.size() < 34 || !head.startsWith("BM"))
        return std::nullopt;
    auto u32 = [&](int at) {
        return quint32(quint8(head[at])) | quint32(quint8(head[at + 1])) << 8 | quint32(quint8(head[at + 2])) << 16 |
               quint32(quint8(head[at + 3])) << 24;
    };
    const quint32 headerSize = u32(14);
    const quint32 compression = u32(30);
    if ((headerSize != 52 && headerSize != 56) || (compression != 3 && compression != 6))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    bytes[14] = char(40);
    bytes[30] = char(3);
    return bytes;
}

QImage ReadImage(QImageReader &reader)
{
    reader.setAutoTransform(false);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}
} // namespace

std::optional<QImage> LoadBitmap(const QString &path, QString *error)
{
    QImageReader reader(path);
    QImage image = ReadImage(reader);
    if (image.isNull()) {
        if (const std::optional<QByteArray> bytes = AsPlainMaskedBitmap(path)) {
            QBuffer buffer;
            buffer.setData(*bytes);
            QImageReader retry(&buffer, "bmp");
            image = ReadImage(retry);
        }
    }
    if (image.isNull()) {
        if (error) {
            const QString reason = QFileInfo::exists(path) ? QStringLiteral("the file is damaged or not a bitmap that can be read")
                                                           : QStringLiteral("there is no such file");
            *error = QStringLiteral("Cannot load the bitmap \"%1\": %2 (%3).").arg(path, reason, reader.errorString());
        }
        return std::nullopt;
    }
    return image.convertToFormat(CanvasFormat);
}

} // namespace dovrel
