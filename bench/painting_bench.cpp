// The painting tools on the largest map, each up to the updated picture as the main window's map
// view draws it, with Shape While Painting on: a step of a stroke with the 37-hex brush, a fill of
// the whole map (also with shaping off), a paste of a whole map, and a magic-wand and a same-tile
// selection over the whole map.
// Run from a Release build: build/bin/painting_bench

#include "test_support.h"

#include "document/editor_settings.h"
#include "document/map_document.h"
#include "forms/map_view.h"
#include "forms/picture_box.h"
#include "model/geometry.h"
#include "model/hex_cube.h"
#include "model/hex_neighbours.h"
#include "tools/map_tools.h"
#include "tools/pattern_passes.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

// A shaped 72 x 70 island of field in deep water, drawn from the 16 synthetic sets.
struct Session {
    QTemporaryDir setsDir;
    EditorSettings settings;
    MapDocument document;
    PictureBox picture;
    MapView view{picture, document, settings};
    testing::SilentToolHost host;
    MapTools tools{document, settings, host};

    Session()
    {
        for (int s = 0; s < 16; ++s)
            testing::WriteSyntheticTileSet(setsDir.path(), s);
        settings.programDir = setsDir.path() + QLatin1Char('/');
        settings.shapeWhilePainting = true;
        const std::unique_ptr<MapStore> map = testing::BlankMap(72, 70);
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 72; ++x) {
                const int dx = x - 36, dy = y - 35;
                const bool land = dx * dx + dy * dy < 25 * 25;
                map->at(TileSet, x, y) = land ? 1 : 0;
                map->at(TileIndex, x, y) = land ? 0 : 53;
            }
        MakeCoastline(*map, settings.defaultTerrain);
        MakeRoads(*map, settings.defaultTerrain);
        MakeRivers(*map, settings.defaultTerrain);
        document.start(MapContent{*map, {}});
    }

    static MapPointer At(HexCoord hex, Qt::KeyboardModifiers modifiers = {})
    {
        return {HexCentre(hex), hex, Qt::LeftButton, modifiers, hex};
    }
};

// The pointer moves one hex at a time round the island's shore with the largest brush, painting
// land and water by turns; each move is one dab merged into the stroke's step, shaped around, and
// patched into the picture.
void BM_BrushStepWithShaping(benchmark::State &state)
{
    Session session;
    PaintTool &brush = session.tools.paint();
    brush.setBrushRadius(LargestBrushRadius);
    std::vector<HexCoord> shore;
    for (int i = 0; i < 360; i += 2) {
        const double angle = i * 3.14159265358979 / 180;
        shore.push_back({int(36 + 25 * std::cos(angle)), int(35 + 25 * std::sin(angle))});
    }
    std::size_t next = 0;
    int strokes = 0;
    for (auto _ : state) {
        if (next % shore.size() == 0) {
            state.PauseTiming();
            if (next > 0)
                session.tools.release(Session::At(shore.back()));
            brush.setPick(strokes++ % 2 == 0 ? TilePick{1, 0} : TilePick{0, 53});
            state.ResumeTiming();
            session.tools.press(Session::At(shore.front()));
        } else {
            session.tools.move(Session::At(shore[next % shore.size()]));
        }
        ++next;
        benchmark::DoNotOptimize(session.picture.picture().constBits());
    }
}
BENCHMARK(BM_BrushStepWithShaping)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A click of the fill on a map of one tile: all 5040 hexes change, by turns to the other tile, and
// the picture is redrawn whole.
void BM_FillWholeMap(benchmark::State &state)
{
    Session session;
    session.settings.shapeWhilePainting = state.range(0) != 0;
    session.document.edit(QStringLiteral("Sea"), [](MapContent &content) {
        for (int x = 0; x < 72; ++x)
            for (int y = 0; y < 70; ++y) {
                content.map.at(TileSet, x, y) = 0;
                content.map.at(TileIndex, x, y) = 53;
            }
    });
    session.tools.select(ClickMode::Fill);
    int turn = 0;
    for (auto _ : state) {
        session.tools.paint().setPick(turn++ % 2 == 0 ? TilePick{5, 0} : TilePick{0, 53});
        session.tools.click(Session::At({30, 30}));
        benchmark::DoNotOptimize(session.picture.picture().constBits());
    }
    state.counters["steps"] = session.document.history().count();
}
BENCHMARK(BM_FillWholeMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A click of the paste tool with the 5040 hexes of a map of shallow water, held by the middle over
// the island: the step and the view's redraw of the whole picture (the undo is not timed).
void BM_PasteWholeMap(benchmark::State &state)
{
    Session session;
    auto shallows = std::make_unique<MapStore>(session.document.map());
    for (int x = 0; x < 72; ++x)
        for (int y = 0; y < 70; ++y)
            PaintHex(*shallows, {x, y}, 5, 0, session.settings.defaultTerrain);
    session.tools.startPaste(CopyHexes(*shallows, WholeMap(*shallows)));
    for (auto _ : state) {
        session.tools.click(Session::At({36, 35}));
        benchmark::DoNotOptimize(session.picture.picture().constBits());
        state.PauseTiming();
        if (session.document.history().count() != 1) {
            state.SkipWithError("the paste made no step");
            return;
        }
        session.document.history().undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteWholeMap)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A click of the magic wand (arg 0) or of the same-tile selection (arg 1) on a map of one tile: the
// selection is all 5040 hexes, its outline recomputed by whoever shows it.
void BM_SelectWholeMap(benchmark::State &state)
{
    Session session;
    session.document.edit(QStringLiteral("Sea"), [](MapContent &content) {
        for (int x = 0; x < 72; ++x)
            for (int y = 0; y < 70; ++y) {
                content.map.at(TileSet, x, y) = 0;
                content.map.at(TileIndex, x, y) = 53;
            }
    });
    session.tools.select(state.range(0) == 0 ? ClickMode::MagicWand : ClickMode::SameTile);
    for (auto _ : state) {
        session.tools.selection().clear();
        session.tools.click(Session::At({30, 30}));
        benchmark::DoNotOptimize(session.tools.selection().hexes().size());
    }
    if (session.tools.selection().hexes().size() != 72 * 70)
        state.SkipWithError("the selection is not the whole map");
}
BENCHMARK(BM_SelectWholeMap)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
