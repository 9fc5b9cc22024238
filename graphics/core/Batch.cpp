#include "Batch.h"

#include "BmpFile.h"

#include <QCoreApplication>
#include <QDir>

namespace dovrel {

QString SmallSetFileName(int set)
{
    return QStringLiteral("Set%1m.bmp").arg(set, 2, 10, QLatin1Char('0'));
}

QString LargeSetFileName(int set)
{
    return QStringLiteral("SetL%1.bmp").arg(set, 2, 10, QLatin1Char('0'));
}

DecodeReport GenerateSet(ArchiveStream &stream, int set, QImage &large, DecoderState &state,
                         ColorValue background, const std::function<void()> &afterTile,
                         const std::function<void()> &filled)
{
    large.fill(ToRgb(background));
    if (filled)
        filled();
    return DecodeSet(stream, set, large, state, afterTile);
}

BatchResult RunBatch(const ArchiveStream &archive, const BatchOptions &options, DecoderState &state, QImage &large,
                     QImage &small, const BatchObserver &observer)
{
    BatchResult result;
    QList<int> sets = options.sets;
    if (sets.isEmpty())
        for (int s = 0; s < TileSetCount; ++s)
            sets.append(s);
    auto step = [&observer](BatchStep done) {
        if (observer.stepDone)
            observer.stepDone(done);
    };
    // The window saves under the bare names, which its messages then show.
    auto pathOf = [&options](const QString &name) {
        return options.outputDir.isEmpty() ? name : QDir(options.outputDir).filePath(name);
    };
    auto save = [&](const QImage &image, const QString &name) {
        const QString path = pathOf(name);
        QString error;
        if (!SaveBmp24(image, path, &error)) {
            result.error = error;
            return false;
        }
        result.written.append(path);
        return true;
    };

    SetSteps steps = options.steps;
    for (int i = 0; i < sets.size(); ++i) {
        const int set = sets[i];
        if (observer.beforeSet && !observer.beforeSet(set, i, int(sets.size()), steps))
            return result;
        ArchiveStream stream = archive;
        const DecodeReport report = GenerateSet(stream, set, large, state, steps.background, observer.afterTile,
                                                [&step] { step(BatchStep::LargeFilled); });
        step(BatchStep::Generated);
        if (!report.complete)
            result.problems.append(report.problem);
        Shrink(large, small, steps.enhance ? &steps.enhancement : nullptr, observer.afterRow);
        if (steps.lines)
            Lines(small, steps.background);
        step(BatchStep::SmallDrawn);

        if (steps.saveSmall && !save(small, SmallSetFileName(set)))
            return result;
        if (steps.saveLarge && !save(large, LargeSetFileName(set)))
            return result;
        ++result.setsDone;
        QCoreApplication::processEvents();
    }
    return result;
}

BatchResult RunBatch(const ArchiveStream &archive, const BatchOptions &options, DecoderState &state)
{
    QImage large = MakeCanvas(LargeWidth, LargeHeight);
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    return RunBatch(archive, options, state, large, small);
}

} // namespace dovrel
