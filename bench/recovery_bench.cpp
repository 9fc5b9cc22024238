// The recovery file: the copy taken on the interface thread for a 72 x 70 map with 300 places, the
// whole write that follows on the writer's thread, and a start with one recovery file up to its
// question. Run from a Release build: build/bin/recovery_bench

#include "test_support.h"

#include "document/recovery_files.h"
#include "files/file_io.h"
#include "forms/windows.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

MapDocument &FullDocument()
{
    static MapDocument document;
    static bool made = false;
    if (!made) {
        MapContent content;
        content.map = *testing::RandomMap(72, 70, 11);
        for (int place = 1; place <= 300; ++place) {
            content.tables.places.setCell(PlaceTable::XColumn, place, QString::number(place % 72));
            content.tables.places.setCell(PlaceTable::YColumn, place, QString::number(place % 70));
            content.tables.places.setCell(PlaceTable::NameColumn, place, QStringLiteral("Place %1").arg(place));
        }
        content.tables.placeCount = 300;
        content.tables.homemade = true;
        document.restore(content, QStringLiteral("/maps/island.scn"), MapFileFormat::HomemadeScenario);
        made = true;
    }
    return document;
}

void BM_SnapshotOnTheInterfaceThread(benchmark::State &state)
{
    MapDocument &document = FullDocument();
    for (auto _ : state) {
        RecoverySnapshot snapshot{document.content(), document.filePath(), document.fileFormat()};
        benchmark::DoNotOptimize(snapshot.content.map.bytes.data());
    }
}
BENCHMARK(BM_SnapshotOnTheInterfaceThread)->Unit(benchmark::kMicrosecond);

void BM_WholeWrite(benchmark::State &state)
{
    MapDocument &document = FullDocument();
    const RecoverySnapshot snapshot{document.content(), document.filePath(), document.fileFormat()};
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/recovery-bench-XXXXXX")); // where it is run: a disk, not a tmpfs
    for (auto _ : state) {
        if (!WriteFileAtomically(dir.filePath(QStringLiteral("a.vantor-recovery")), EncodeRecovery(snapshot)).isEmpty())
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WholeWrite)->Unit(benchmark::kMillisecond);

// The window made and the recovery file found, read and checked, up to the question (answered Cancel,
// so the file stays for the next round).
void BM_StartUpToTheQuestion(benchmark::State &state)
{
    QTemporaryDir dir;
    qputenv("XDG_STATE_HOME", dir.path().toLocal8Bit());
    QDir().mkpath(RecoveryFolder());
    MapDocument &document = FullDocument();
    testing::Write(RecoveryFolder() + QStringLiteral("/1-1.vantor-recovery"),
                   EncodeRecovery({document.content(), QString(), MapFileFormat::None}));
    testing::ScriptedDialogs dialogs;
    for (auto _ : state) {
        VantorWindows windows;
        windows.offerRecovery();
        if (dialogs.questions.isEmpty())
            state.SkipWithError("no question");
        dialogs.questions.clear();
    }
}
BENCHMARK(BM_StartUpToTheQuestion)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
