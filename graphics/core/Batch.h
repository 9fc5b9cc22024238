#pragma once

#include "ColorValue.h"
#include "EnhanceColor.h"
#include "PixelOps.h"
#include "TileArchive.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace dovrel {

inline constexpr int TileSetCount = 16;

// "Setxxm.bmp" and "SetLxx.bmp", xx being the set number as two digits.
QString SmallSetFileName(int set);
QString LargeSetFileName(int set);

// Fills the large image with the background and decodes one set into it,
// exactly as Generate does once the archive is open.
DecodeReport GenerateSet(ArchiveStream &stream, int set, QImage &large, DecoderState &state,
                         ColorValue background, const std::function<void()> &afterTile = {});

// Everything the batch takes from the window's controls.
struct BatchOptions {
    QList<int> sets;                // increasing; all 16 when empty
    QString outputDir = QStringLiteral(".");
    bool saveSmall = true;
    bool saveLarge = false;
    bool lines = true;
    bool enhance = true;
    ColorValue background = DefaultBackground;
    EnhanceSettings enhancement;
};

struct BatchResult {
    QStringList written;            // files written, in order
    QStringList problems;           // sets that decoded only in part
    QString error;                  // a refused input or a failed write that ended the batch
    bool ok() const { return error.isEmpty() && problems.isEmpty(); }
};

// Runs the batch without a window, on one archive that is already open, with a
// palette table that carries over from set to set. `progress` is told each set
// before it starts.
BatchResult RunBatch(const ArchiveStream &archive, const BatchOptions &options, DecoderState &state,
                     const std::function<void(int set, int index, int total)> &progress = {});

} // namespace dovrel
