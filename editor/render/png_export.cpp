#include "png_export.h"

#include "files/file_io.h"
#include "model/geometry.h"
#include "render/zlib_bands.h"

#include <QtEndian>

#include <isa-l/crc.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vantor {

namespace {

constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
// Rows are stored as they are: the tiles of a map repeat, and the raw rows of a repeated tile
// match each other exactly, which finds longer matches, faster, than rows of differences would.
constexpr unsigned char NoFilter = 0;

// A PNG file as the pieces it is written in: the compressed parts are kept as the compressor made
// them, each the data of a chunk of its own, so a large picture is not copied again.
class PngPieces {
public:
    PngPieces(int width, int height, int channels, const std::vector<QByteArray> &imageData)
    {
        char header[13] = {};
        qToBigEndian(quint32(width), header);
        qToBigEndian(quint32(height), header + 4);
        header[8] = 8;                           // bits per sample
        header[9] = char(channels == 4 ? 6 : 2); // RGBA or RGB; compression, filter and interlace 0
        pieces_.emplace_back(Signature, 8);
        addChunk("IHDR", QByteArray(header, sizeof header));
        for (const QByteArray &part : imageData)
            addChunk("IDAT", part);
        addChunk("IEND", QByteArray());
    }

    const std::vector<QByteArray> &pieces() const { return pieces_; }
    qint64 size() const
    {
        qint64 total = 0;
        for (const QByteArray &piece : pieces_)
            total += piece.size();
        return total;
    }

private:
    void addChunk(const char type[4], const QByteArray &data)
    {
        QByteArray start(8, Qt::Uninitialized);
        qToBigEndian(quint32(data.size()), start.data());
        std::memcpy(start.data() + 4, type, 4);
        const quint32 crc = crc32_gzip_refl(crc32_gzip_refl(0, reinterpret_cast<const uchar *>(type), 4),
                                            reinterpret_cast<const uchar *>(data.constData()), quint64(data.size()));
        QByteArray end(4, Qt::Uninitialized);
        qToBigEndian(crc, end.data());
        pieces_.push_back(start);
        pieces_.push_back(data);
        pieces_.push_back(end);
    }

    std::vector<QByteArray> pieces_;
};

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

} // namespace

QByteArray EncodePng(const QImage &image)
{
    const int channels = image.hasAlphaChannel() ? 4 : 3;
    // Qt's own conversion to byte-ordered pixels is the fast one.
    const QImage pixels =
        image.convertToFormat(channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const qsizetype pixelBytes = qsizetype(pixels.width()) * channels;
    const PngPieces png(pixels.width(), pixels.height(), channels,
                        CompressRowsToZlib(pixels.height(), 1 + pixelBytes, CompressionBandsFor(pixels.height()),
                                           [&](uchar *rows, int top, int count) {
                                               for (int y = 0; y < count; ++y) {
                                                   uchar *row = rows + y * (1 + pixelBytes);
                                                   row[0] = NoFilter;
                                                   std::memcpy(row + 1, pixels.constScanLine(top + y), pixelBytes);
                                               }
                                           }));
    QByteArray file;
    file.reserve(png.size());
    for (const QByteArray &piece : png.pieces())
        file.append(piece);
    return file;
}

// The picture is drawn straight into the rows the PNG stores, from sets turned into red, green,
// blue order once: no 32-bit picture, no conversion of its 7.5 million pixels. Its bands are
// drawn and compressed on all processors at once.
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
    const std::vector<uchar> backgroundRow = RowOfColour(SwapRedAndBlue(background), width, 3);
    const PngPieces png(width, height, 3,
                        CompressRowsToZlib(height, rowSize, CompressionBandsFor(height), [&](uchar *rows, int top, int count) {
                            for (int y = 0; y < count; ++y)
                                rows[y * rowSize] = NoFilter;
                            const PixelRows band{rows + 1, rowSize, width, count, 3};
                            FillAroundHexes(map, sets, band, top, backgroundRow);
                            DrawHexes(map, sets, band, top);
                            if (overlay)
                                DrawOverlayOnRows(overlay, band, top, QImage::Format_RGB888);
                        }));
    ReplacingFileWriter file(path);
    bool written = file.open(png.size());
    for (const QByteArray &piece : png.pieces())
        written = written && file.write(piece);
    if (!written || !file.commit())
        error = file.error();
    return report;
}

} // namespace vantor
