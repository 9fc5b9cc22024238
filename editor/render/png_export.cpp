#include "png_export.h"

#include "files/file_io.h"

#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>
#include <memory>
#include <new>

namespace vantor {

namespace {

constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
// Rows are stored as they are: the tiles of a map repeat, and the raw rows of a repeated tile
// match each other exactly, which finds longer matches, faster, than rows of differences would.
constexpr unsigned char NoFilter = 0;
constexpr qsizetype DataChunkSize = 1 << 20;

void AppendChunk(QByteArray &out, const char type[4], const char *data, qsizetype size)
{
    char word[4];
    qToBigEndian(quint32(size), word);
    out.append(word, 4);
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, size);
    qToBigEndian(quint32(libdeflate_crc32(0, out.constData() + start, std::size_t(out.size() - start))), word);
    out.append(word, 4);
}

// The image's rows as PNG stores them before compression: a filter byte, then R, G, B (and A).
QByteArray FilteredRows(const QImage &image, int channels)
{
    const QImage pixels = image.convertToFormat(channels == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const qsizetype rowSize = 1 + qsizetype(pixels.width()) * channels;
    QByteArray rows(rowSize * pixels.height(), Qt::Uninitialized);
    auto *at = reinterpret_cast<unsigned char *>(rows.data());
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *pixel = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        *at++ = NoFilter;
        for (int x = 0; x < pixels.width(); ++x) {
            *at++ = static_cast<unsigned char>(qRed(pixel[x]));
            *at++ = static_cast<unsigned char>(qGreen(pixel[x]));
            *at++ = static_cast<unsigned char>(qBlue(pixel[x]));
            if (channels == 4)
                *at++ = static_cast<unsigned char>(qAlpha(pixel[x]));
        }
    }
    return rows;
}

} // namespace

QByteArray EncodePng(const QImage &image)
{
    const int channels = image.hasAlphaChannel() ? 4 : 3;
    const QByteArray rows = FilteredRows(image, channels);

    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(PngCompressionLevel), &libdeflate_free_compressor);
    if (!compressor)
        throw std::bad_alloc();
    QByteArray compressed(qsizetype(libdeflate_zlib_compress_bound(compressor.get(), std::size_t(rows.size()))),
                          Qt::Uninitialized);
    compressed.resize(qsizetype(libdeflate_zlib_compress(compressor.get(), rows.constData(), std::size_t(rows.size()),
                                                         compressed.data(), std::size_t(compressed.size()))));

    QByteArray out(Signature, 8);
    out.reserve(compressed.size() + 1024);
    char header[13] = {};
    qToBigEndian(quint32(image.width()), header);
    qToBigEndian(quint32(image.height()), header + 4);
    header[8] = 8;                            // bits per sample
    header[9] = char(channels == 4 ? 6 : 2);  // RGBA or RGB; compression, filter and interlace 0
    AppendChunk(out, "IHDR", header, sizeof header);
    for (qsizetype at = 0; at < compressed.size(); at += DataChunkSize)
        AppendChunk(out, "IDAT", compressed.constData() + at, std::min(DataChunkSize, compressed.size() - at));
    AppendChunk(out, "IEND", nullptr, 0);
    return out;
}

RedrawReport RenderMapToPng(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay)
{
    QImage picture = NewMapPicture(map);
    RedrawReport report = RedrawMapPicture(map, library, background, picture);
    report.lastTileDrawn.reset();
    if (overlay)
        overlay(picture, 0);
    const QByteArray png = EncodePng(picture);
    ReplacingFileWriter file(path);
    if (!file.open(png.size()) || !file.write(png) || !file.commit())
        error = file.error();
    return report;
}

} // namespace vantor
