#include "Batch.h"

#include "BmpFile.h"

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
                         ColorValue background, const std::function<void()> &afterTile)
{
    large.fill(ToRgb(background));
    return DecodeSet(stream, set, large, state, afterTile);
}

BatchResult RunBatch(const ArchiveStream &archive, const BatchOptions &options, DecoderState &state,
                     const std::function<void(int, int, int)> &progress)
{
    BatchResult result;
    QList<int> sets = options.sets;
    if (sets.isEmpty())
        for (int s = 0; s < TileSetCount; ++s)
            sets.append(s);

    const QDir out(options.outputDir);
    QImage large = MakeCanvas(LargeWidth, LargeHeight);
    QImage small = MakeCanvas(SmallWidth, SmallHeight);
    for (int i = 0; i < sets.size(); ++i) {
        const int set = sets[i];
        if (progress)
            progress(set, i, int(sets.size()));
        ArchiveStream stream = archive;
        const DecodeReport report = GenerateSet(stream, set, large, state, options.background);
        if (!report.complete)
            result.problems.append(report.problem);
        Shrink(large, small, options.enhance ? &options.enhancement : nullptr);
        if (options.lines)
            Lines(small, options.background);

        auto save = [&](const QImage &image, const QString &name) {
            const QString path = out.filePath(name);
            QString error;
            if (!SaveBmp24(image, path, &error)) {
                result.error = error;
                return false;
            }
            result.written.append(path);
            return true;
        };
        if (options.saveSmall && !save(small, SmallSetFileName(set)))
            return result;
        if (options.saveLarge && !save(large, LargeSetFileName(set)))
            return result;
    }
    return result;
}

} // namespace dovrel
