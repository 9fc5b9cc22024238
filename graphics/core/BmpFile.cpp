#include "BmpFile.h"

#include "ColorValue.h"

#include <QImageReader>
#include <QSaveFile>

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
    QSaveFile file(path);
    auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, reason);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = EncodeBmp24(image);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

std::optional<QImage> LoadBitmap(const QString &path, QString *error)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        if (error)
            *error = QStringLiteral("Cannot load the bitmap \"%1\": %2").arg(path, reader.errorString());
        return std::nullopt;
    }
    return image.convertToFormat(CanvasFormat);
}

} // namespace dovrel
