#pragma once
// Writing a whole file so that a failed write never leaves a cut file where a good one stood.

#include <QByteArray>
#include <QString>

namespace dovrel {

// Writes bytes through a temporary file that replaces path only once complete. On failure error
// (when given) receives "Cannot write "<path>": <reason>" and path keeps its old content.
bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *error);

} // namespace dovrel
