// The editing history: an undo or redo of one painted hex and of Make Coastline on the largest map,
// each to the updated picture as the main window's map view draws it, and the memory a long
// session's history holds. Run from a Release build: build/bin/history_bench

#include "test_support.h"

#include "document/editor_settings.h"
#include "document/map_document.h"
#include "forms/map_view.h"
#include "forms/picture_box.h"
#include "tools/map_commands.h"
#include "tools/paint_tool.h"
#include "tools/pattern_passes.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

// A 72 x 70 island of jungle in deep water, drawn from the 16 synthetic sets by the view that the
// main window shows: it patches the hexes a step changed, or redraws when a step reaches many bands.
struct Session {
    QTemporaryDir setsDir;
    EditorSettings settings;
    MapDocument document;
    PictureBox picture;
    MapView view{picture, document, settings};
    MapSelection selection{document};
    PaintTool paintTool{document, settings, selection};

    Session()
    {
        for (int s = 0; s < 16; ++s)
            testing::WriteSyntheticTileSet(setsDir.path(), s);
        settings.programDir = setsDir.path() + QLatin1Char('/');
        settings.backgroundColour = 0x38b8a0;
        const std::unique_ptr<MapStore> map = testing::BlankMap(72, 70);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 72; ++x) {
                const int dx = x - 36;
                const int dy = y - 35;
                map->at(TileSet, x, y) = dx * dx + dy * dy < 25 * 25 ? 1 : 0;
            }
        document.start(MapContent{*map, {}}); // the view draws the whole picture
    }

    // A click of the paint tool with tile `tile` of set 2 picked.
    void paint(HexCoord hex, int tile)
    {
        MapPointer pointer;
        pointer.hex = hex;
        pointer.nearHex = hex;
        paintTool.setPick({2, tile});
        paintTool.press(pointer);
        paintTool.release(pointer);
    }

    void makeCoastline() { RunPass(document, QStringLiteral("Make Coastline"), MakeCoastline, settings.defaultTerrain); }
};

void BM_UndoAndRedoOnePaintedHex(benchmark::State &state)
{
    Session session;
    session.paint({30, 30}, 5);
    for (auto _ : state) {
        session.document.history().undo();
        session.document.history().redo();
        benchmark::DoNotOptimize(session.picture.picture().constBits());
    }
    state.SetItemsProcessed(2 * state.iterations()); // per step: divide the time by two
}
BENCHMARK(BM_UndoAndRedoOnePaintedHex)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_UndoAndRedoMakeCoastline(benchmark::State &state)
{
    Session session;
    session.makeCoastline();
    for (auto _ : state) {
        session.document.history().undo();
        session.document.history().redo();
        benchmark::DoNotOptimize(session.picture.picture().constBits());
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
                session.makeCoastline();
        }
        state.counters["history_MB"] = double(session.document.historyFootprint()) / (1024.0 * 1024.0);
        state.counters["steps"] = session.document.history().count();
    }
}
BENCHMARK(BM_LongSessionHistory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
