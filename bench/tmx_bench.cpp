// Maps that come back, on the largest map (72 x 70, every set, 40 places): importing a TMX whose
// layer is base64 + zlib, `dump` and `diff`, each in process and as the whole vantor-cli process.
// Run from a Release build: build/bin/tmx_bench

#include "test_support.h"

#include "files/map_text.h"
#include "files/native_map_file.h"
#include "files/tmx_import.h"
#include "model/terrain_tables.h"
#include "render/tmx_export.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <zlib.h>

using namespace vantor;

namespace {

constexpr int PlaceCount = 40;

struct Files {
    QTemporaryDir dir;
    std::unique_ptr<MapStore> map, painted;
    PlaceTable places{PlaceCount + 1};
    QByteArray tmx;
    QString tmxPath, mapPath, paintedPath;
};

// The export's csv layer as base64 + zlib, as Tiled writes it with that layer format.
QByteArray WithZlibLayer(const QByteArray &tmx)
{
    static const QRegularExpression data(QStringLiteral("<data encoding=\"csv\">([^<]*)</data>"));
    const QString text = QString::fromUtf8(tmx);
    const QRegularExpressionMatch match = data.match(text);
    QByteArray raw;
    for (const QString &gid : match.captured(1).split(QLatin1Char(',')))
        for (int i = 0; i < 4; ++i)
            raw += char(gid.trimmed().toUInt() >> (8 * i));
    QByteArray packed(qsizetype(compressBound(uLong(raw.size()))), '\0');
    uLongf size = uLongf(packed.size());
    compress2(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(raw.data()), uLong(raw.size()), 9);
    packed.resize(qsizetype(size));
    const QString element = QStringLiteral("<data encoding=\"base64\" compression=\"zlib\">\n   %1\n  </data>")
                                .arg(QString::fromLatin1(packed.toBase64()));
    return QString(text).replace(match.capturedStart(), match.capturedLength(), element).toUtf8();
}

Files &Prepared()
{
    static Files files = [] {
        Files f;
        f.map = testing::RandomMap(StoreColumns, StoreRows, 7);
        for (int y = 0; y < StoreRows; ++y)
            for (int x = 0; x < StoreColumns; ++x) {
                const int n = y * StoreColumns + x;
                f.map->at(TileSet, x, y) = std::uint8_t(n % TileSetCount);
                f.map->at(TileIndex, x, y) = std::uint8_t(n % 80);
                const int place = n % 120 == 0 && n / 120 < PlaceCount ? n / 120 : NoPlace;
                f.map->at(PlaceIndex, x, y) = std::uint8_t(place & 0xFF);
                f.map->at(PlaceIndexHigh, x, y) = std::uint8_t(place >> 8);
            }
        for (int k = 1; k <= PlaceCount; ++k)
            f.places.setCell(PlaceTable::NameColumn, k, QStringLiteral("Place %1").arg(k));
        TmxTilesets tilesets;
        for (int s = 0; s < TileSetCount; ++s)
            tilesets[s] = {TmxSheetFileName(s), QSize(384, 400), 80};
        f.tmx = WithZlibLayer(EncodeTmx(*f.map, tilesets, InitialDefaultTerrain(),
                                        MapLabelsOf(*f.map, f.places, PlaceCount, {}), 0x38b8a0, PlaceCount));
        f.painted = std::make_unique<MapStore>(*f.map);
        for (int x = 0; x < StoreColumns; x += 3)
            f.painted->at(TileSet, x, x % StoreRows) = 2;
        f.tmxPath = f.dir.filePath(QStringLiteral("big.tmx"));
        f.mapPath = f.dir.filePath(QStringLiteral("big.map"));
        f.paintedPath = f.dir.filePath(QStringLiteral("painted.map"));
        testing::Write(f.tmxPath, f.tmx);
        testing::Write(f.mapPath, EncodeMapFile(*f.map));
        testing::Write(f.paintedPath, EncodeMapFile(*f.painted));
        return f;
    }();
    return files;
}

void BM_DecodeTmxZlib(benchmark::State &state)
{
    Files &f = Prepared();
    auto map = std::make_unique<MapStore>();
    PlaceTable places;
    int count = 0;
    for (auto _ : state)
        if (!DecodeTmx(f.tmx, *map, places, count).isEmpty())
            state.SkipWithError("refused");
    state.counters["bytes"] = double(f.tmx.size());
}
BENCHMARK(BM_DecodeTmxZlib)->Unit(benchmark::kMillisecond);

void BM_DumpMap(benchmark::State &state)
{
    Files &f = Prepared();
    for (auto _ : state)
        benchmark::DoNotOptimize(DumpMap({*f.map, f.places, PlaceCount}));
}
BENCHMARK(BM_DumpMap)->Unit(benchmark::kMillisecond);

void BM_DiffMaps(benchmark::State &state)
{
    Files &f = Prepared();
    for (auto _ : state)
        benchmark::DoNotOptimize(DiffMaps({*f.map, f.places, PlaceCount}, {*f.painted, f.places, PlaceCount}));
}
BENCHMARK(BM_DiffMaps)->Unit(benchmark::kMillisecond);

// The whole vantor-cli process, start to exit, as a user or git runs it.
void RunProcess(benchmark::State &state, const QStringList &arguments, int expectedStatus)
{
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(VANTOR_CLI_PATH), arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != expectedStatus)
            state.SkipWithError("vantor-cli failed");
    }
}

void BM_CliConvertTmx(benchmark::State &state)
{
    Files &f = Prepared();
    RunProcess(state, {QStringLiteral("convert"), f.tmxPath, f.dir.filePath(QStringLiteral("out.map"))}, 0);
}
BENCHMARK(BM_CliConvertTmx)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDump(benchmark::State &state)
{
    Files &f = Prepared();
    RunProcess(state, {QStringLiteral("dump"), f.mapPath}, 0);
}
BENCHMARK(BM_CliDump)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDiff(benchmark::State &state)
{
    Files &f = Prepared();
    RunProcess(state, {QStringLiteral("diff"), f.mapPath, f.paintedPath}, 1);
}
BENCHMARK(BM_CliDiff)->Unit(benchmark::kMillisecond)->UseRealTime();

// The process that does nothing but start: what every command pays before its work.
void BM_CliStartOnly(benchmark::State &state) { RunProcess(state, {QStringLiteral("--version")}, 0); }
BENCHMARK(BM_CliStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
