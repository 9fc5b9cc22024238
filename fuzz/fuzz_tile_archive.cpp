// Dovrel's tile archive decoder: any bytes, any set number. The first byte chooses the set: its low
// four bits give 0..15, and with bit 4 set the byte itself, read as -128..127, is the set number
// (none that exists). With bit 5 clear the rest of the input is placed at the set's search
// offset behind zero bytes, as in a real archive, so that the scan finds it; with bit 5 set the
// rest is the whole archive. The set is decoded into the large picture as the batch does, twice,
// with the decoder state carried over as it is from one set of a batch to the next.

#include "fuzz_support.h"

#include "core/Batch.h"
#include "core/PixelOps.h"
#include "core/TileArchive.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The largest input the fuzz script lets libFuzzer make, and poisoned room behind it.
constexpr qint64 MaxInput = 1 << 20;
constexpr qint64 Guard = 1 << 16;

// The archive lies in one buffer of zero bytes large enough for every set's search offset and the
// input behind it. The bytes past the archive's end are poisoned for AddressSanitizer, so that a read
// past the end is caught as it would be in an allocation of exactly the archive's size.
uchar *ArchiveBuffer()
{
    static const qint64 size = *std::max_element(dovrel::SetSearchOffsets.begin(), dovrel::SetSearchOffsets.end()) + MaxInput + Guard;
    static uchar *const buffer = static_cast<uchar *>(std::calloc(size_t(size), 1));
    if (!buffer)
        fuzzing::Fail("fuzz_tile_archive", "out of memory");
    return buffer;
}

void Decode(const dovrel::ArchiveStream &archive, int set, QImage &large, dovrel::DecoderState &state)
{
    dovrel::ArchiveStream stream = archive;
    const dovrel::DecodeReport report = dovrel::GenerateSet(stream, set, large, state, 0x00FF00FF);
    FUZZ_CHECK(report.complete == report.problem.isEmpty());
    FUZZ_CHECK(report.tilesDrawn >= 0 && report.tilesDrawn <= report.tileCount);
    FUZZ_CHECK(report.tilesDrawn <= dovrel::LargeColumns * dovrel::LargeRows);
    if (set < 0 || set > 15)
        FUZZ_CHECK(!report.complete);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t choice = data[0];
    const int set = choice & 0x10 ? int(std::int8_t(choice)) : choice & 0x0F;
    const bool placed = !(choice & 0x20) && set >= 0 && set < int(dovrel::SetSearchOffsets.size());
    const qint64 offset = placed ? dovrel::SetSearchOffsets[size_t(set)] : 0;

    if (qint64(size) > MaxInput)
        return 0;
    uchar *const buffer = ArchiveBuffer();
    const qint64 length = offset + qint64(size - 1);
    std::memcpy(buffer + offset, data + 1, size - 1);
    ASAN_POISON_MEMORY_REGION(buffer + length, size_t(Guard));
    const dovrel::ArchiveStream stream(buffer, length);

    static QImage large = dovrel::MakeCanvas(dovrel::LargeWidth, dovrel::LargeHeight);
    dovrel::DecoderState state;
    Decode(stream, set, large, state);
    Decode(stream, set, large, state); // the palette of the last tile carries over

    ASAN_UNPOISON_MEMORY_REGION(buffer + length, size_t(Guard));
    std::memset(buffer + offset, 0, size - 1);
    return 0;
}
