#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace dovrel {

// The bytes of a 24-bit Windows bitmap (bottom-up rows, each padded to four
// bytes) holding `image`.
QByteArray EncodeBmp24(const QImage &image);

// Writes `image` as a 24-bit Windows bitmap. The file is replaced only when the
// whole new file has been written; on failure returns false and sets `error` to
// a message naming the file.
bool SaveBmp24(const QImage &image, const QString &path, QString *error);

// Loads a bitmap into a canvas (32-bit RGB). On failure returns no image and
// sets `error` to a message naming the file and the reason.
std::optional<QImage> LoadBitmap(const QString &path, QString *error);

} // namespace dovrel
