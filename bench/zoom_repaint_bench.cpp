// Painting the main window's map picture at every zoom level: the largest map (72 x 70 hexes,
// 2676 x 2820 pixels) seen through a 1600 x 1000 view, on the offscreen platform.
// Run from a Release build: build/bin/zoom_repaint_bench

#include "test_support.h"

#include "forms/picture_box.h"
#include "model/geometry.h"
#include "model/zoom_levels.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

const QSize View(1600, 1000);

struct Fixture {
    PictureBox box;
    QImage screen{View, QImage::Format_RGB32};

    Fixture()
    {
        QTemporaryDir setsDir;
        for (int s = 0; s < 16; ++s)
            testing::WriteSyntheticTileSet(setsDir.path(), s);
        const std::unique_ptr<MapStore> map = testing::BlankMap(72, 70);
        QRandomGenerator random(1);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 72; ++x) {
                map->at(TileSet, x, y) = std::uint8_t((x / 4 + y / 5) % 16);
                map->at(TileIndex, x, y) = std::uint8_t(random.bounded(80));
            }
        box.setPictureSize(MapPictureWidth(72), MapPictureHeight(70));
        TileSetLibrary sets(setsDir.path());
        RedrawMapPicture(*map, sets, 0x38b8a0, box.picture());
    }

    // The part of the picture a view of the middle of the map shows.
    QRect visible() const
    {
        QRect area(QPoint(), View.boundedTo(box.size()));
        area.moveCenter(box.rect().center());
        return area;
    }

    void paint()
    {
        const QRect area = visible();
        box.render(&screen, QPoint(), QRegion(area));
        benchmark::DoNotOptimize(screen.constBits());
    }

    // Writes one hex's worth of pixels in the middle of the picture, as the map view's patch after a
    // paint click does.
    QRect editHex()
    {
        const PixelRect hex = HexRect(35 * 72 + 36, 72);
        const QRect area(hex.left, hex.top, TileWidth, TileHeight);
        static quint32 colour = 0;
        ++colour;
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(box.picture().scanLine(y)) + area.left(), area.width(), colour);
        return area;
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

double Level(const benchmark::State &state) { return state.range(0) / 100.0; }

// Scrolling: the picture unchanged since the last paint.
void BM_Repaint(benchmark::State &state)
{
    Fixture &data = Data();
    data.box.setScale(Level(state));
    data.paint();
    for (auto _ : state)
        data.paint();
}

// Zooming: the first paint at a level, coming from the next step (whose shown copy, below 100 %,
// has replaced this level's).
void BM_RepaintAfterZoom(benchmark::State &state)
{
    Fixture &data = Data();
    const double level = Level(state);
    const double from = level == MinimumZoom ? ZoomedIn(level) : ZoomedOut(level);
    for (auto _ : state) {
        state.PauseTiming();
        data.box.setScale(from);
        data.paint();
        state.ResumeTiming();
        data.box.setScale(level);
        data.paint();
    }
}

// A paint click followed by update(): below 100 % the whole shown copy is scaled again.
void BM_RepaintAfterEdit(benchmark::State &state)
{
    Fixture &data = Data();
    data.box.setScale(Level(state));
    data.paint();
    for (auto _ : state) {
        data.editHex();
        data.paint();
    }
}

// A paint click followed by pictureChanged(hex): only the hex is scaled again.
void BM_RepaintAfterPictureChanged(benchmark::State &state)
{
    Fixture &data = Data();
    data.box.setScale(Level(state));
    data.paint();
    for (auto _ : state) {
        data.box.pictureChanged(data.editHex());
        data.paint();
    }
}

void Levels(benchmark::internal::Benchmark *benchmark)
{
    for (int percent : {25, 33, 50, 75, 100, 150, 200, 300, 400})
        benchmark->Arg(percent);
    benchmark->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Repaint)->Apply(Levels);
BENCHMARK(BM_RepaintAfterZoom)->Apply(Levels);
BENCHMARK(BM_RepaintAfterEdit)->Apply(Levels);
BENCHMARK(BM_RepaintAfterPictureChanged)->Apply(Levels);

} // namespace
