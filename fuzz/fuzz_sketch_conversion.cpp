// The sketch conversion fed any bytes as a bitmap file. A refused file leaves the sketch as it was
// and names the file; a readable one is converted into a map of the size it gives, at a scale taken
// from the input's length.

#include "fuzz_support.h"

#include "tools/sketch_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = fuzzing::ScratchPath(QStringLiteral("sketch.bmp"));
    fuzzing::WriteScratchFile(path, fuzzing::Bytes(data, size));

    QImage sketch(2, 3, QImage::Format_RGB32);
    sketch.fill(0x123456);
    const QImage before = sketch;
    const QString problem = vantor::ReadSketch(path, sketch);
    if (!problem.isEmpty()) {
        FUZZ_CHECK(problem.contains(path));
        FUZZ_CHECK(sketch == before);
        return 0;
    }
    FUZZ_CHECK(!sketch.isNull() && sketch.width() >= 1 && sketch.height() >= 1);
    FUZZ_CHECK(sketch.format() == QImage::Format_RGB32);

    const int scale = vantor::MinPixelsPerHex + int(size % (vantor::MaxPixelsPerHex - vantor::MinPixelsPerHex + 1));
    const QSize mapSize = vantor::SketchMapSize(sketch.size(), scale);
    FUZZ_CHECK(mapSize.width() >= 0 && mapSize.width() <= vantor::StoreColumns);
    FUZZ_CHECK(mapSize.height() >= 0 && mapSize.height() <= vantor::StoreRows);
    if (mapSize.width() < 1 || mapSize.height() < 1)
        return 0;
    static const auto pattern = fuzzing::PatternMap(vantor::StoreColumns, vantor::StoreRows);
    static auto map = std::make_unique<vantor::MapStore>();
    *map = *pattern;
    map->MapWidth = mapSize.width();
    map->MapHeight = mapSize.height();
    static const vantor::DefaultTerrainTable terrain = vantor::InitialDefaultTerrain();
    vantor::VariantSource random(7);
    vantor::ConvertSketch(sketch, scale, *map, terrain, random);
    FUZZ_CHECK(map->MapWidth == mapSize.width() && map->MapHeight == mapSize.height());
    for (int y = 0; y < map->MapHeight; ++y)
        for (int x = 0; x < map->MapWidth; ++x)
            FUZZ_CHECK(map->at(vantor::TileSet, x, y) < vantor::TileSetCount);
    return 0;
}
