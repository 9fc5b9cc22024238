// The map tools on the largest map: all five pattern passes, converting a sketch, the road
// overlay, shaping around a brush dab, and pasting a whole map's hexes. Run from a Release build:
// build/bin/tools_bench

#include "test_support.h"

#include "model/terrain_tables.h"
#include "render/bmp_encoding.h"
#include "render/hex_preview.h"
#include "render/map_bitmap_export.h"
#include "render/map_renderer.h"
#include "render/road_overlay.h"
#include "render/tile_set_library.h"
#include "model/hex_cube.h"
#include "model/hex_regions.h"
#include "tools/live_shaping.h"
#include "tools/painting.h"
#include "tools/paste_tool.h"
#include "tools/pattern_passes.h"
#include "tools/road_links.h"
#include "tools/sketch_conversion.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

using namespace vantor;

namespace {

// A 360 x 350 sketch of an island with forest, mountains, desert, a river and roads: at 5 pixels per
// hex a 72 x 70 map.
QImage IslandSketch()
{
    QImage sketch(360, 350, QImage::Format_RGB32);
    for (int y = 0; y < 350; ++y)
        for (int x = 0; x < 360; ++x) {
            const double dx = (x - 180) / 150.0;
            const double dy = (y - 175) / 145.0;
            const double r = dx * dx + dy * dy + 0.08 * std::sin(x / 9.0) * std::cos(y / 7.0);
            QRgb colour = qRgb(0, 0, 127);
            if (r < 1) {
                colour = qRgb(0, 255, 0);
                if ((x / 40 + y / 30) % 5 == 0)
                    colour = qRgb(0, 127, 0);
                else if ((x / 40 + y / 30) % 7 == 3)
                    colour = qRgb(255, 255, 255);
                else if ((x / 50 + y / 45) % 9 == 4)
                    colour = qRgb(255, 255, 0);
                if (x / 5 == 30 || x / 5 == 50 || y / 5 == 40)
                    colour = qRgb(255, 0, 0);
                if (x / 5 == 40 || y / 5 == 25)
                    colour = qRgb(0, 0, 255);
            }
            sketch.setPixel(x, y, colour);
        }
    return sketch;
}

struct Fixture {
    DefaultTerrainTable terrains = InitialDefaultTerrain();
    QImage sketch = IslandSketch();
    std::unique_ptr<MapStore> converted = testing::BlankMap(72, 70);

    Fixture()
    {
        VariantSource random(1);
        ConvertSketch(sketch, 5, *converted, terrains, random);
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

// "Make Coastline", "Make Roads" and "Make Rivers" on a freshly converted map (copying it back
// each time is part of the figure: a few microseconds).
void BM_AllFivePasses(benchmark::State &state)
{
    auto map = std::make_unique<MapStore>();
    for (auto _ : state) {
        *map = *Data().converted;
        MakeCoastline(*map, Data().terrains);
        MakeRoads(*map, Data().terrains);
        MakeRivers(*map, Data().terrains);
        benchmark::DoNotOptimize(map->bytes.data());
    }
}
BENCHMARK(BM_AllFivePasses)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// One dab of the largest brush (37 hexes) on the shore of the shaped island, then the passes
// around it, as "Shape While Painting" runs them. The dabs alternate between land and deep water
// over shore hexes spread along the coast; putting the hexes back afterwards (a few hundred bytes)
// is part of the figure.
void BM_ShapeAroundDab(benchmark::State &state)
{
    auto map = std::make_unique<MapStore>(*Data().converted);
    for (int run = 0; run < 10; ++run) {
        const MapStore before = *map;
        MakeCoastline(*map, Data().terrains);
        MakeRoads(*map, Data().terrains);
        MakeRivers(*map, Data().terrains);
        if (map->bytes == before.bytes)
            break;
    }
    const auto shaped = std::make_unique<MapStore>(*map);
    std::vector<HexCoord> shore;
    for (int x = 4; x < 68; x += 3)
        for (int y = 4; y < 66; y += 3)
            if (map->at(TileSet, x, y) == 0 && map->at(TileIndex, x, y) < 52)
                shore.push_back({x, y});
    if (shore.empty()) {
        state.SkipWithError("no shore on the island");
        return;
    }
    std::vector<std::vector<HexCoord>> dabs;
    for (const HexCoord centre : shore)
        dabs.push_back(BrushHexes(*map, centre, LargestBrushRadius).hexes());

    const auto putBack = [&](HexCoord hex) {
        for (const Plane plane : {TileIndex, TileSet, Terrain})
            map->at(plane, hex.x, hex.y) = shaped->at(plane, hex.x, hex.y);
    };
    std::size_t next = 0;
    std::size_t changedHexes = 0;
    for (auto _ : state) {
        const std::vector<HexCoord> &dab = dabs[next % dabs.size()];
        const bool land = (next++ / dabs.size()) % 2 == 0;
        for (const HexCoord hex : dab)
            PaintHex(*map, hex, land ? 1 : 0, land ? 0 : 52, Data().terrains);
        const std::vector<HexCoord> changed = ShapeAround(*map, dab, Data().terrains);
        changedHexes += changed.size();
        for (const HexCoord hex : changed)
            putBack(hex);
        for (const HexCoord hex : dab)
            putBack(hex);
    }
    state.counters["shaped"] = benchmark::Counter(double(changedHexes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ShapeAroundDab)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The "Convert" button on a sketch already loaded.
void BM_ConvertSketch(benchmark::State &state)
{
    auto map = testing::BlankMap(72, 70);
    VariantSource random(1);
    for (auto _ : state) {
        ConvertSketch(Data().sketch, 5, *map, Data().terrains, random);
        benchmark::DoNotOptimize(map->bytes.data());
    }
}
BENCHMARK(BM_ConvertSketch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Reading the sketch from its bitmap file first, as "Load Bitmap" does.
void BM_ReadAndConvertSketch(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("island.bmp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeBmp24(Data().sketch)) < 0) {
        state.SkipWithError("cannot write the sketch");
        return;
    }
    file.close();
    auto map = testing::BlankMap(72, 70);
    VariantSource random(1);
    for (auto _ : state) {
        QImage sketch;
        if (const QString error = ReadSketch(path, sketch); !error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        ConvertSketch(sketch, 5, *map, Data().terrains, random);
        benchmark::DoNotOptimize(map->bytes.data());
    }
}
BENCHMARK(BM_ReadAndConvertSketch)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// "Show Road Connections" on a map whose every hex is linked all round.
void BM_RoadOverlay(benchmark::State &state)
{
    auto map = testing::BlankMap(72, 70);
    for (int x = 0; x < 72; ++x)
        for (int y = 0; y < 70; ++y)
            map->at(Terrain, x, y) = 2;
    MakeRoadConnections(*map);
    QImage picture = NewMapPicture(*map);
    picture.fill(0);
    for (auto _ : state) {
        DrawRoadOverlay(*map, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_RoadOverlay)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// `vantor-cli render --roads` of a 72 x 70 map with roads, against the same render without them.
void BM_RenderToBitmapFile(benchmark::State &state)
{
    const bool roads = state.range(0) != 0;
    QTemporaryDir setsDir;
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
    auto map = std::make_unique<MapStore>(*Data().converted);
    MakeCoastline(*map, Data().terrains);
    MakeRoads(*map, Data().terrains);
    MakeRivers(*map, Data().terrains);
    MakeRoadConnections(*map);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("map.bmp"));
    BandOverlay overlay;
    if (roads)
        overlay = [&map](QImage &band, int bandTop) { DrawRoadOverlay(*map, band, bandTop); };
    for (auto _ : state) {
        TileSetLibrary sets(setsDir.path());
        QString error;
        RenderMapToBmp(*map, sets, 0x38b8a0, path, error, overlay);
        if (!error.isEmpty())
            state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(BM_RenderToBitmapFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A clipboard of all 72 x 70 hexes, each a tile of one of the 16 sets, and the hex where the whole
// block lands on the map.
struct WholeMapClipboard {
    ClipboardHexes hexes;
    HexCoord anchor;
    MapTileSets sets;

    WholeMapClipboard()
    {
        auto source = testing::RandomMap(72, 70, 3);
        for (int x = 0; x < 72; ++x)
            for (int y = 0; y < 70; ++y) {
                source->at(TileSet, x, y) %= 16;
                source->at(TileIndex, x, y) %= 80;
            }
        hexes = CopyHexes(*source, WholeMap(*source));
        for (int x = 30; x < 42; ++x)
            for (int y = 30; y < 40; ++y)
                if (PlaceHexes(hexes, {x, y}, *source).size() == hexes.hexes.size())
                    anchor = {x, y};
        for (int s = 0; s < 16; ++s)
            sets.images[s] = testing::SyntheticTileSet(s);
    }
};

WholeMapClipboard &Clipboard()
{
    static WholeMapClipboard clipboard;
    return clipboard;
}

MapPointer PointerAt(HexCoord hex)
{
    MapPointer pointer;
    pointer.hex = hex;
    pointer.nearHex = hex;
    return pointer;
}

// A click of the paste tool with all 5040 hexes over the converted island: placing them and the
// step that writes them (the undo after each click is not timed). Arg 1 adds the full redraw of the
// map picture that the window makes of a step this large.
void BM_PasteWholeMap(benchmark::State &state)
{
    const bool redraw = state.range(0) != 0;
    MapDocument document;
    document.start(MapContent{*Data().converted, {}});
    const EditorSettings settings;
    PasteTool paste(document, settings);
    paste.setHexes(Clipboard().hexes);
    QImage picture = NewMapPicture(document.map());
    for (auto _ : state) {
        paste.click(PointerAt(Clipboard().anchor));
        if (redraw)
            DrawMap(document.map(), Clipboard().sets, 0x38b8a0, picture);
        state.PauseTiming();
        if (document.history().count() != 1) {
            state.SkipWithError("the paste made no step");
            return;
        }
        document.history().undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteWholeMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The picture of the 5040 hexes under the pointer (Arg 0), and laid at 70 % over the map picture as
// the window shows it (Arg 1); then the same for the part a window of 1280 x 800 pixels at full size
// shows (Args 2 and 3).
void BM_PastePreview(benchmark::State &state)
{
    const bool lay = state.range(0) % 2 != 0;
    const QRect visible = state.range(0) >= 2 ? QRect(700, 900, 1280, 800) : QRect();
    const std::vector<std::pair<HexCoord, HexRecord>> placed =
        PlaceHexes(Clipboard().hexes, Clipboard().anchor, *Data().converted);
    QImage picture = NewMapPicture(*Data().converted);
    picture.fill(Qt::darkGreen);
    for (auto _ : state) {
        const PreviewPicture preview = DrawHexPreview(placed, Clipboard().sets, 72, visible);
        if (lay) {
            QPainter painter(&picture);
            painter.setOpacity(0.7);
            painter.drawImage(preview.topLeft, preview.image);
        }
        benchmark::DoNotOptimize(preview.image.constBits());
    }
}
BENCHMARK(BM_PastePreview)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
