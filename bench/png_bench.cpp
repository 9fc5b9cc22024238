// The map picture of the largest map written as a PNG against the same picture as a 24-bit bitmap,
// drawn with Dovrel's sample tile sets (their grain is what a PNG must compress), and the PNG
// encoder alone. Run from a Release build, beside the sample sets: build/bin/png_bench

#include "render/picture_files.h"
#include "render/png_export.h"
#include "render/tile_set_library.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

struct Fixture {
    QTemporaryDir out;
    MapStore map;

    Fixture()
    {
        QRandomGenerator random(1);
        for (int y = 0; y < StoreRows; ++y)
            for (int x = 0; x < StoreColumns; ++x) {
                map.at(TileSet, x, y) = std::uint8_t((x / 18 + 4 * (y / 18)) % 16);
                map.at(TileIndex, x, y) = std::uint8_t(random.bounded(80));
            }
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

void Render(benchmark::State &state, PictureFormat format, const char *name)
{
    TileSetLibrary sets(QCoreApplication::applicationDirPath());
    const QString path = Data().out.filePath(QLatin1String(name));
    for (auto _ : state) {
        QString error;
        const RedrawReport report = RenderMapToPicture(Data().map, sets, 0x38b8a0, path, format, error);
        if (!error.isEmpty() || !report.unavailableSets.empty())
            state.SkipWithError("the sample tile sets must lie beside the benchmark");
    }
}

void BM_RenderBmp(benchmark::State &state) { Render(state, PictureFormat::Bmp, "map.bmp"); }
void BM_RenderPng(benchmark::State &state) { Render(state, PictureFormat::Png, "map.png"); }

void BM_EncodePng(benchmark::State &state)
{
    TileSetLibrary sets(QCoreApplication::applicationDirPath());
    QImage picture = NewMapPicture(Data().map);
    RedrawMapPicture(Data().map, sets, 0x38b8a0, picture);
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = std::size_t(EncodePng(picture).size());
    state.counters["png_bytes"] = double(bytes);
}

} // namespace

BENCHMARK(BM_RenderBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
