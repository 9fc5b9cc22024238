#include "png_export.h"

#include "files/file_io.h"
#include "model/geometry.h"

#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

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

// The pixels of a set in red, green, blue order, for drawing straight into PNG rows.
class RgbSet {
public:
    explicit RgbSet(const ConstPixelRows &bgr)
        : bytes_(std::size_t(bgr.width) * 3 * std::size_t(bgr.height))
    {
        const std::size_t rowBytes = std::size_t(bgr.width) * 3;
        for (int y = 0; y < bgr.height; ++y) {
            const uchar *from = bgr.row(y);
            uchar *to = bytes_.data() + y * rowBytes;
            for (std::size_t i = 0; i < rowBytes; i += 3) {
                to[i] = from[i + 2];
                to[i + 1] = from[i + 1];
                to[i + 2] = from[i];
            }
        }
        rows_ = {bytes_.data(), qsizetype(rowBytes), bgr.width, bgr.height, 3};
    }
    const ConstPixelRows &rows() const { return rows_; }

private:
    std::vector<uchar> bytes_;
    ConstPixelRows rows_;
};

ColourValue SwapRedAndBlue(ColourValue colour)
{
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// rows holds height rows of 1 + width * channels bytes, each a filter byte and its pixels.
QByteArray EncodePngRows(int width, int height, int channels, const uchar *rows)
{
    const std::size_t size = (1 + std::size_t(width) * channels) * std::size_t(height);
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(PngCompressionLevel), &libdeflate_free_compressor);
    if (!compressor)
        throw std::bad_alloc();
    QByteArray compressed(qsizetype(libdeflate_zlib_compress_bound(compressor.get(), size)), Qt::Uninitialized);
    compressed.resize(qsizetype(
        libdeflate_zlib_compress(compressor.get(), rows, size, compressed.data(), std::size_t(compressed.size()))));

    QByteArray out(Signature, 8);
    out.reserve(compressed.size() + 1024);
    char header[13] = {};
    qToBigEndian(quint32(width), header);
    qToBigEndian(quint32(height), header + 4);
    header[8] = 8;                           // bits per sample
    header[9] = char(channels == 4 ? 6 : 2); // RGBA or RGB; compression, filter and interlace 0
    AppendChunk(out, "IHDR", header, sizeof header);
    for (qsizetype at = 0; at < compressed.size(); at += DataChunkSize)
        AppendChunk(out, "IDAT", compressed.constData() + at, std::min(DataChunkSize, compressed.size() - at));
    AppendChunk(out, "IEND", nullptr, 0);
    return out;
}

} // namespace

QByteArray EncodePng(const QImage &image)
{
    const int channels = image.hasAlphaChannel() ? 4 : 3;
    // Qt's own conversion to byte-ordered pixels is the fast one.
    const QImage pixels =
        image.convertToFormat(channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const std::size_t rowBytes = std::size_t(pixels.width()) * channels;
    std::vector<uchar> rows((1 + rowBytes) * std::size_t(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y) {
        uchar *row = rows.data() + y * (1 + rowBytes);
        row[0] = NoFilter;
        std::memcpy(row + 1, pixels.constScanLine(y), rowBytes);
    }
    return EncodePngRows(pixels.width(), pixels.height(), channels, rows.data());
}

// The picture is drawn straight into the rows the PNG stores, from sets turned into red, green,
// blue order once: no 32-bit picture, no conversion of its 7.5 million pixels.
RedrawReport RenderMapToPng(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay)
{
    RedrawReport report;
    const SetPixels bgrSets = Bgr24SetsOf(map, library, report);
    std::vector<std::unique_ptr<RgbSet>> rgbSets;
    SetPixels sets;
    for (int s = 0; s < TileSetCount; ++s) {
        if (bgrSets[s].isEmpty())
            continue;
        rgbSets.push_back(std::make_unique<RgbSet>(bgrSets[s]));
        sets[s] = rgbSets.back()->rows();
    }

    const int width = MapPictureWidth(map.MapWidth);
    const int height = MapPictureHeight(map.MapHeight);
    const qsizetype rowSize = 1 + qsizetype(width) * 3;
    std::vector<uchar> rows(std::size_t(rowSize) * std::size_t(height), NoFilter);
    const PixelRows picture{rows.data() + 1, rowSize, width, height, 3};
    FillAroundHexes(map, sets, picture, 0, RowOfColour(SwapRedAndBlue(background), width, 3));
    DrawHexes(map, sets, picture, 0);
    if (overlay)
        DrawOverlayOnRows(overlay, picture, 0, QImage::Format_RGB888);

    const QByteArray png = EncodePngRows(width, height, 3, rows.data());
    ReplacingFileWriter file(path);
    if (!file.open(png.size()) || !file.write(png) || !file.commit())
        error = file.error();
    return report;
}

} // namespace vantor
