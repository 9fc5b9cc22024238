#include "map_bitmap_export.h"

#include "files/file_io.h"
#include "model/geometry.h"
#include "render/bmp_encoding.h"
#include "render/tile_set_library.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantor {

namespace {

// The file is written in blocks of this many bytes, each at an offset that is a multiple of it:
// the system keeps such writes in fewer, larger pieces of memory, quicker to fill and to free. A
// block's band of rows also stays in the processor's cache from its drawing to its writing.
constexpr qsizetype BlockSize = 256 * 1024;

// A bitmap file cut into blocks. Each block is drawn as the band of the stored rows that reach
// into it (a row cut by a block's edge is drawn for both blocks), in a buffer where the rows lie
// as in the file: stored row i, counted from the first in the file (the bottom row of the
// picture), starts at BmpHeaderSize + (i - firstRow(block)) * rowSize, the header before row 0.
struct BlockLayout {
    int width;
    int height;
    qsizetype rowSize;

    qsizetype fileSize() const { return BmpHeaderSize + rowSize * height; }
    int count() const { return int((fileSize() + BlockSize - 1) / BlockSize); }
    qsizetype begin(int block) const { return block * BlockSize; }
    qsizetype end(int block) const { return std::min(fileSize(), begin(block) + BlockSize); }
    int firstRow(int block) const { return int(std::max<qsizetype>(0, begin(block) - BmpHeaderSize) / rowSize); }
    int endRow(int block) const { return int((end(block) - BmpHeaderSize + rowSize - 1) / rowSize); }
    // The file offset of the buffer's first byte while it holds the block.
    qsizetype bufferOffset(int block) const { return firstRow(block) * rowSize; }
    qsizetype bufferSize() const { return BmpHeaderSize + (BlockSize / rowSize + 2) * rowSize; }
};

} // namespace

void DrawOverlayOnRows(const BandOverlay &overlay, const PixelRows &band, int bandTop, QImage::Format rowFormat)
{
    const std::size_t rowBytes = std::size_t(band.width) * 3;
    QImage picture(band.width, band.height, rowFormat);
    for (int y = 0; y < band.height; ++y)
        std::memcpy(picture.scanLine(y), band.row(y), rowBytes);
    picture.convertTo(QImage::Format_RGB32);
    overlay(picture, bandTop);
    picture.convertTo(rowFormat);
    for (int y = 0; y < band.height; ++y)
        std::memcpy(band.row(y), picture.constScanLine(y), rowBytes);
}

SetPixels Bgr24SetsOf(const MapStore &map, TileSetLibrary &library, RedrawReport &report)
{
    const std::array<bool, TileSetCount> used = SetsUsedBy(map);
    SetPixels sets;
    for (int s = 0; s < TileSetCount; ++s) {
        if (!used[s])
            continue;
        sets[s] = library.bitmapRows(s);
        if (sets[s].isEmpty())
            report.unavailableSets.push_back(s);
    }
    return sets;
}

RedrawReport RenderMapToBmp(const MapStore &map, TileSetLibrary &library, ColourValue background,
                            const QString &path, QString &error, const BandOverlay &overlay)
{
    const BlockLayout layout{MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight),
                             Bmp24RowSize(MapPictureWidth(map.MapWidth))};
    RedrawReport report;
    const SetPixels sets = Bgr24SetsOf(map, library, report);

    ReplacingFileWriter file(path);
    if (!file.open(layout.fileSize())) {
        error = file.error();
        return report;
    }
    const std::vector<uchar> backgroundRow = RowOfColour(background, layout.width, 3);
    std::vector<uchar> buffer(layout.bufferSize(), 0); // the pad bytes of every row stay 0
    const QByteArray header = Bmp24Header(layout.width, layout.height);
    std::copy(header.begin(), header.end(), buffer.begin());
    for (int block = 0; block < layout.count(); ++block) {
        // The band's rows, stored bottom-up: its top row is the last of them in the file.
        const int rowCount = layout.endRow(block) - layout.firstRow(block);
        const int bandTop = layout.height - layout.endRow(block);
        const PixelRows rows{buffer.data() + BmpHeaderSize + (rowCount - 1) * layout.rowSize, -layout.rowSize,
                             layout.width, rowCount, 3};
        FillAroundHexes(map, sets, rows, bandTop, backgroundRow);
        DrawHexes(map, sets, rows, bandTop);
        if (overlay)
            DrawOverlayOnRows(overlay, rows, bandTop, QImage::Format_BGR888);
        const char *blockBytes =
            reinterpret_cast<const char *>(buffer.data()) + (layout.begin(block) - layout.bufferOffset(block));
        if (!file.write(QByteArray::fromRawData(blockBytes, layout.end(block) - layout.begin(block))))
            break;
    }
    if (!file.commit())
        error = file.error();
    return report;
}

} // namespace vantor
