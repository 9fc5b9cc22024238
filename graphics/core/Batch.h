#pragma once

#include "ColorValue.h"
#include "EnhanceColor.h"
#include "PixelOps.h"
#include "TileArchive.h"

#include <QImage>
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
// exactly as Generate does once the archive is open. `filled` runs between the
// two, `afterTile` after every tile (a window repaints there).
DecodeReport GenerateSet(ArchiveStream &stream, int set, QImage &large, DecoderState &state,
                         ColorValue background, const std::function<void()> &afterTile = {},
                         const std::function<void()> &filled = {});

// What the batch does with one set: the window's check boxes, background and sliders.
struct SetSteps {
    bool saveSmall = true;
    bool saveLarge = false;
    bool lines = true;
    bool enhance = true;
    ColorValue background = DefaultBackground;
    EnhanceSettings enhancement;
};

struct BatchOptions {
    QList<int> sets;                // increasing; all 16 when empty
    QString outputDir;              // empty: the current folder, the files under their bare names
    SetSteps steps;
};

// The points of a set at which a window shows what the batch has drawn so far.
enum class BatchStep { LargeFilled, Generated, SmallDrawn };

// How a window follows a running batch; every member may be left empty.
struct BatchObserver {
    // Before each set; may change the steps for it (the window reads its controls anew), or
    // return false to end the batch before the set.
    std::function<bool(int set, int index, int total, SetSteps &steps)> beforeSet;
    std::function<void(BatchStep step)> stepDone;
    std::function<void()> afterTile;        // a tile was drawn into the large image
    std::function<void(int row)> afterRow;  // Shrink wrote a row of the small image
};

struct BatchResult {
    QStringList written;            // files written, in order
    QStringList problems;           // sets that decoded only in part
    QString error;                  // a failed write that ended the batch
    int setsDone = 0;               // sets made and saved in full
    bool ok() const { return error.isEmpty() && problems.isEmpty(); }
};

// The batch of the window's "Graphics for Vantor" and of dovrel-cli: for each set, Generate
// into `large`, Shrink into `small`, Lines, and the saves, on one archive that is already open,
// with a palette table that carries over from set to set. Pending window messages are let
// through once after each set. The images keep the last set drawn.
BatchResult RunBatch(const ArchiveStream &archive, const BatchOptions &options, DecoderState &state, QImage &large,
                     QImage &small, const BatchObserver &observer = {});

// The same on images of its own.
BatchResult RunBatch(const ArchiveStream &archive, const BatchOptions &options, DecoderState &state);

} // namespace dovrel
