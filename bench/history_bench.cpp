// The editing history: an undo or redo of one painted hex and of Make Coastline on the largest map,
// each to the updated picture as the main window shows it, and the memory a long session's history
// holds. Run from a Release build: build/bin/history_bench

#include "test_support.h"

#include "document/map_document.h"
#include "model/terrain_tables.h"
#include "render/map_patch.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"
#include "tools/painting.h"
#include "tools/pattern_passes.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

// A 72 x 70 island of jungle in deep water, drawn from the 16 synthetic sets, with the window's
// answers to the document's signals: a patch for a few hexes, a full redraw for more.
struct Session {
    QTemporaryDir setsDir;
    std::unique_ptr<MapStore> map = testing::BlankMap(72, 70);
    std::unique_ptr<TileSetLibrary> sets;
    QImage picture;
    std::unique_ptr<MapDocument> document;

    Session()
    {
        for (int s = 0; s < 16; ++s)
            testing::WriteSyntheticTileSet(setsDir.path(), s);
        sets = std::make_unique<TileSetLibrary>(setsDir.path() + QLatin1Char('/'));
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 72; ++x) {
                const int dx = x - 36;
                const int dy = y - 35;
                map->at(TileSet, x, y) = dx * dx + dy * dy < 25 * 25 ? 1 : 0;
            }
        picture = NewMapPicture(*map);
        RedrawMapPicture(*map, *sets, 0x38b8a0, picture);
        document = std::make_unique<MapDocument>(*map);
        QObject::connect(document.get(), &MapDocument::hexesChanged, [this](const std::vector<HexCoord> &hexes) {
            PatchMapPicture(*map, LoadTileSetsOf(*map, *sets), 0x38b8a0, picture, hexes);
        });
        QObject::connect(document.get(), &MapDocument::mapChanged,
                         [this] { RedrawMapPicture(*map, *sets, 0x38b8a0, picture); });
    }

    void paint(HexCoord hex, int tile)
    {
        static const QImage stamp = testing::Canvas(TileWidth, TileHeight, 0xff102030);
        UndoRecord undo;
        document->edit(QStringLiteral("Paint"), [&] {
            PaintHex(*map, picture, stamp, hex, 2, tile, InitialDefaultTerrain(), undo);
        });
    }
};

void BM_UndoAndRedoOnePaintedHex(benchmark::State &state)
{
    Session session;
    session.paint({30, 30}, 5);
    for (auto _ : state) {
        session.document->history().undo();
        session.document->history().redo();
        benchmark::DoNotOptimize(session.picture.constBits());
    }
    state.SetItemsProcessed(2 * state.iterations()); // per step: divide the time by two
}
BENCHMARK(BM_UndoAndRedoOnePaintedHex)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_UndoAndRedoMakeCoastline(benchmark::State &state)
{
    Session session;
    session.document->edit(QStringLiteral("Make Coastline"),
                           [&] { MakeCoastline(*session.map, InitialDefaultTerrain()); });
    for (auto _ : state) {
        session.document->history().undo();
        session.document->history().redo();
        benchmark::DoNotOptimize(session.picture.constBits());
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_UndoAndRedoMakeCoastline)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 1,000 paint clicks and 20 pattern passes; the history's bytes are reported as a counter.
void BM_LongSessionHistory(benchmark::State &state)
{
    for (auto _ : state) {
        Session session;
        QRandomGenerator random(3);
        for (int i = 0; i < 1000; ++i) {
            session.paint({int(random.bounded(72)), int(random.bounded(70))}, int(random.bounded(80)));
            if (i % 50 == 0)
                session.document->edit(QStringLiteral("Make Coastline"),
                                       [&] { MakeCoastline(*session.map, InitialDefaultTerrain()); });
        }
        state.counters["history_MB"] = double(session.document->historyFootprint()) / (1024.0 * 1024.0);
        state.counters["steps"] = session.document->history().count();
    }
}
BENCHMARK(BM_LongSessionHistory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
