#include "zlib_bands.h"

#include <QThread>
#include <QtEndian>

#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <future>
#include <stdexcept>

namespace vantor {

namespace {

// ISA-L's level 1: about twice as fast as libdeflate's fastest level on map pictures, whose
// repeated tiles it finds as well, for a stream a fifth larger.
constexpr int CompressionLevel = 1;
// Rows are made and compressed a few at a time, so they are still in the processor's cache when
// compressed, and a band needs no more memory than this.
constexpr qsizetype ChunkBytes = 256 * 1024;
// A band of fewer rows would cost more in starting a thread and losing history than it saves.
constexpr int MinBandRows = 64;
constexpr int MaxBands = 8;
// Deflate with a 32 KiB window; the check bits make the header a multiple of 31; level "fastest".
constexpr char ZlibHeader[] = "\x78\x01";
constexpr quint32 AdlerModulus = 65521;

// One band's raw deflate stream, fed a few rows at a time.
class BandDeflater {
public:
    // Room is made at once for bandSize bytes stored as they are: pages the stream never reaches
    // are never touched, and the stream is never moved.
    BandDeflater(bool lastBand, QByteArray start, qsizetype bandSize)
        : out_(std::move(start)), used_(out_.size()), levelBuffer_(ISAL_DEF_LVL1_DEFAULT), lastBand_(lastBand)
    {
        reserve(roomFor(bandSize));
        isal_deflate_init(&stream_);
        stream_.level = CompressionLevel;
        stream_.level_buf = levelBuffer_.data();
        stream_.level_buf_size = quint32(levelBuffer_.size());
        stream_.gzip_flag = IGZIP_DEFLATE;
    }

    // Compresses the next size bytes of the band; its last bytes end the stream: with the final
    // block in the last band, on a byte boundary in the others.
    void add(const uchar *data, qsizetype size, bool endOfBand)
    {
        adler_ = isal_adler32(adler_, data, quint64(size));
        stream_.next_in = const_cast<uchar *>(data);
        stream_.avail_in = quint32(size);
        stream_.end_of_stream = endOfBand && lastBand_;
        stream_.flush = endOfBand && !lastBand_ ? SYNC_FLUSH : NO_FLUSH;
        const int endState = lastBand_ ? ZSTATE_END : ZSTATE_NEW_HDR;
        do {
            reserve(roomFor(size));
            stream_.next_out = reinterpret_cast<uchar *>(out_.data()) + used_;
            stream_.avail_out = quint32(out_.size() - used_);
            if (isal_deflate(&stream_) != COMP_OK)
                throw std::logic_error("the deflate settings were refused");
            used_ = out_.size() - stream_.avail_out;
        } while (stream_.avail_in > 0 || (endOfBand && stream_.internal_state.state != endState));
    }

    quint32 adler() const { return adler_; }
    QByteArray takeBytes()
    {
        out_.resize(used_);
        return std::move(out_);
    }

private:
    // Room for size bytes stored as they are, with the headers of their blocks.
    static qsizetype roomFor(qsizetype size) { return size + size / 64 + 1024; }
    void reserve(qsizetype room)
    {
        if (out_.size() - used_ < room)
            out_.resize(std::max(out_.size() * 2, used_ + room));
    }

    isal_zstream stream_;
    QByteArray out_;
    qsizetype used_;
    std::vector<uchar> levelBuffer_;
    bool lastBand_;
    quint32 adler_ = 1;
};

// The Adler-32 checksum of two pieces of data from the checksums of each, both started at 1: the
// sums of bytes add up, and the running sum of the whole counts the first piece's sum of bytes
// once more for each byte of the second.
quint32 CombineAdler32(quint32 first, quint32 second, qint64 secondSize)
{
    const quint64 sizeModulo = quint64(secondSize % AdlerModulus);
    const quint64 firstSum = first & 0xFFFF;
    const quint64 sum = (firstSum + (second & 0xFFFF) + AdlerModulus - 1) % AdlerModulus;
    const quint64 weightedSum =
        (sizeModulo * firstSum + (first >> 16) + (second >> 16) + AdlerModulus - sizeModulo) % AdlerModulus;
    return quint32(weightedSum << 16 | sum);
}

struct CompressedBand {
    QByteArray bytes;
    quint32 adler;
    qint64 size;
};

} // namespace

int CompressionBandsFor(int height)
{
    return std::clamp(std::min(QThread::idealThreadCount(), height / MinBandRows), 1, MaxBands);
}

std::vector<QByteArray> CompressRowsToZlib(int height, qsizetype rowSize, int bandCount, const RowProducer &produceRows)
{
    bandCount = std::clamp(bandCount, 1, std::max(1, height));
    const int chunkRows = int(std::max<qsizetype>(1, ChunkBytes / std::max<qsizetype>(1, rowSize)));
    const auto compressBand = [&](int band) {
        const int top = int(qint64(height) * band / bandCount);
        const int end = int(qint64(height) * (band + 1) / bandCount);
        BandDeflater deflater(band == bandCount - 1, band == 0 ? QByteArray(ZlibHeader, 2) : QByteArray(),
                              qsizetype(end - top) * rowSize);
        std::vector<uchar> rows(std::size_t(std::min(chunkRows, std::max(1, end - top)) * rowSize));
        int y = top;
        do {
            const int count = std::min(chunkRows, end - y);
            if (count > 0)
                produceRows(rows.data(), y, count);
            y += count;
            deflater.add(rows.data(), count * rowSize, y == end);
        } while (y < end);
        return CompressedBand{deflater.takeBytes(), deflater.adler(), qint64(end - top) * rowSize};
    };

    // The first band is compressed here while the others are on threads of their own.
    std::vector<std::future<CompressedBand>> others;
    for (int band = 1; band < bandCount; ++band)
        others.push_back(std::async(std::launch::async, compressBand, band));
    CompressedBand first = compressBand(0);
    quint32 adler = first.adler;
    std::vector<QByteArray> parts{std::move(first.bytes)};
    for (std::future<CompressedBand> &other : others) {
        CompressedBand band = other.get();
        adler = CombineAdler32(adler, band.adler, band.size);
        parts.push_back(std::move(band.bytes));
    }
    QByteArray trailer(4, Qt::Uninitialized);
    qToBigEndian(adler, trailer.data());
    parts.push_back(trailer);
    return parts;
}

} // namespace vantor
