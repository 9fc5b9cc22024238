// The full redraw of the largest map using all 16 tile sets, and its streaming export to a bitmap.
// Run from a Release build: build/bin/redraw_bench

#include "test_support.h"

#include "render/map_bitmap_export.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

struct Fixture {
    QTemporaryDir setsDir;
    std::unique_ptr<MapStore> map = testing::BlankMap(72, 70);

    Fixture()
    {
        for (int s = 0; s < 16; ++s)
            testing::WriteSyntheticTileSet(setsDir.path(), s);
        QRandomGenerator random(1);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 72; ++x) {
                map->at(TileSet, x, y) = std::uint8_t((x / 4 + y / 5) % 16);
                map->at(TileIndex, x, y) = std::uint8_t(random.bounded(80));
            }
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

// Every set read from disk again, as after Dovrel rewrote them all.
void BM_RedrawReadingEverySet(benchmark::State &state)
{
    QImage picture = NewMapPicture(*Data().map);
    picture.fill(0);
    for (auto _ : state) {
        TileSetLibrary sets(Data().setsDir.path());
        RedrawMapPicture(*Data().map, sets, 0x38b8a0, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RedrawReadingEverySet)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The sets unchanged since the last redraw, as for every redraw but the first.
void BM_RedrawWithSetsKept(benchmark::State &state)
{
    QImage picture = NewMapPicture(*Data().map);
    picture.fill(0);
    TileSetLibrary sets(Data().setsDir.path());
    for (auto _ : state) {
        RedrawMapPicture(*Data().map, sets, 0x38b8a0, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RedrawWithSetsKept)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// What `vantor-cli render` does after start-up: read the sets, draw band by band, write the file.
void BM_RenderToBitmapFile(benchmark::State &state)
{
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("map.bmp"));
    for (auto _ : state) {
        TileSetLibrary sets(Data().setsDir.path());
        QString error;
        RenderMapToBmp(*Data().map, sets, 0x38b8a0, path, error);
        if (!error.isEmpty())
            state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(BM_RenderToBitmapFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
