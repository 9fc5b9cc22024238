#pragma once
// The tile-set bitmaps of one folder, loaded on demand and kept until their file changes.

#include <QDateTime>
#include <QImage>
#include <QString>

#include <array>

namespace vantor {

class TileSetLibrary {
public:
    explicit TileSetLibrary(QString folder = {});

    const QString &folder() const { return folder_; }
    void setFolder(const QString &folder);

    // The set's bitmap as 32-bit RGB, or a null image when its file is missing or unreadable.
    // A file that changed on disk since it was last read is read again.
    const QImage &image(int set);

    // The file the set was looked up as, for messages: the one found, or the name asked for.
    QString fileNameOf(int set) const;

private:
    struct Entry {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    QString folder_;
    std::array<Entry, 16> entries_;
};

// Reads a bitmap file as 32-bit RGB; a null image when it is missing or unreadable.
QImage ReadTileSetImage(const QString &path);

} // namespace vantor
