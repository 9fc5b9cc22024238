#pragma once
// A zlib stream compressed band by band on several threads at once. Each band is a raw deflate
// stream of its own that ends on a byte boundary (all but the last with an empty stored block), so
// the bands follow each other as they are; a band starts with no history, which costs a few
// hundred bytes of the stream.

#include <QByteArray>

#include <functional>
#include <vector>

namespace vantor {

// Writes rows top to top + count - 1 of the data into rows, each of the row size given to
// CompressRowsToZlib. Called from several threads at once, each time for other rows.
using RowProducer = std::function<void(uchar *rows, int top, int count)>;

// The bands a picture of height rows is compressed in: one per processor, none of a few rows.
int CompressionBandsFor(int height);

// The zlib stream of height rows of rowSize bytes, made and compressed in bandCount bands at once:
// the returned parts, one after the other, are the whole stream.
std::vector<QByteArray> CompressRowsToZlib(int height, qsizetype rowSize, int bandCount,
                                           const RowProducer &produceRows);

} // namespace vantor
