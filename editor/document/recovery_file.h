#pragma once
// The recovery file: the whole document (its content, its file and that file's format) as it was a
// few seconds after its last unsaved change, for the next start after a crash. A magic header, a
// version and a SHA-256 trailer make a damaged or foreign file refused, never trusted.

#include "document/map_content.h"
#include "files/map_file_formats.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vantor {

// What a recovery file holds: taken on the interface thread (a copy of the content is a copy of
// 186,480 bytes and a few shared tables), encoded elsewhere.
struct RecoverySnapshot {
    MapContent content;
    QString filePath;
    MapFileFormat fileFormat = MapFileFormat::None;
};

QByteArray EncodeRecovery(const RecoverySnapshot &snapshot);
// The snapshot, or nothing for bytes that are not a whole recovery file of this version.
std::optional<RecoverySnapshot> DecodeRecovery(const QByteArray &bytes);

} // namespace vantor
