// Times Dovrel's batch: the whole run of `dovrel-cli generate` on the sample archive (the
// figure that must stay within one second), and the stages of the batch in one process.
//
// Usage: dovrel_batch_bench [RUNS]   (default 7)

#include "core/Batch.h"
#include "core/BmpFile.h"
#include "core/PixelOps.h"
#include "core/TileArchive.h"
#include "samples/SampleArchive.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace dovrel;

namespace {
struct Figures {
    double median, min, max;
};

Figures Measure(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void Report(const char *what, const Figures &f)
{
    std::printf("%-46s median %8.1f ms   min %8.1f ms   max %8.1f ms\n", what, f.median, f.min, f.max);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString archivePath = dir.filePath(QStringLiteral("til.pfp"));

    Report("write the sample archive (in process)", Measure(1, [&] {
               QString error;
               if (!WriteSampleArchive(archivePath, &error))
                   std::fprintf(stderr, "%s\n", qPrintable(error));
           }));

    bool failed = false;
    const Figures cli = Measure(runs, [&] {
        QProcess process;
        process.start(QStringLiteral(DOVREL_CLI_PATH),
                      {QStringLiteral("generate"), archivePath, QStringLiteral("--out"), dir.path()});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            failed = true;
    });
    Report("dovrel-cli generate, 16 sets (whole process)", cli);
    if (failed) {
        std::fprintf(stderr, "dovrel-cli failed\n");
        return 1;
    }

    ArchiveFile archive;
    if (!archive.open(archivePath))
        return 1;
    DecoderState state;
    QImage large = MakeCanvas(LargeWidth, LargeHeight);
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    const EnhanceSettings enhance;
    Report("decode 16 sets", Measure(runs, [&] {
               for (int s = 0; s < 16; ++s) {
                   ArchiveStream stream = archive.stream();
                   GenerateSet(stream, s, large, state, DefaultBackground);
               }
           }));
    Report("shrink with enhancement, 16 times", Measure(runs, [&] {
               for (int s = 0; s < 16; ++s)
                   Shrink(large, small, &enhance);
           }));
    Report("lines, 16 times", Measure(runs, [&] {
               for (int s = 0; s < 16; ++s)
                   Lines(small, DefaultBackground);
           }));
    Report("save 16 small bitmaps", Measure(runs, [&] {
               for (int s = 0; s < 16; ++s)
                   SaveBmp24(small, dir.filePath(SmallSetFileName(s)), nullptr);
           }));

    std::printf("\nBudget for the whole batch: 1000 ms; median %.1f ms: %s\n", cli.median,
                cli.median <= 1000.0 ? "within budget" : "OVER BUDGET");
    return cli.median <= 1000.0 ? 0 : 2;
}
