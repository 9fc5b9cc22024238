#pragma once
// The tile-set bitmaps of one folder, loaded on demand and kept until their file changes.

#include "render/pixel_rows.h"

#include <QDateTime>
#include <QImage>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class QFile;

namespace vantor {

class TileSetLibrary {
public:
    explicit TileSetLibrary(QString folder = {});

    const QString &folder() const { return folder_; }
    void setFolder(const QString &folder);

    // The set's bitmap as 32-bit RGB, or a null image when its file is missing or unreadable.
    // A file that changed on disk since it was last read is read again.
    const QImage &image(int set);

    // The same pixels as 24-bit rows of blue, green and red, as a bitmap file stores them; empty
    // rows when the file is missing or unreadable. A plain 24-bit bitmap is neither read nor
    // decoded: its file is mapped into memory and the rows are the file's own bytes. The rows stay
    // valid until the library finds the file changed or is given another folder.
    ConstPixelRows bitmapRows(int set);

    // The file the set was looked up as, for messages: the one found, or the name asked for.
    QString fileNameOf(int set) const;

private:
    // What is known of one set's file; image and bitmap rows are made when first asked for.
    struct Entry {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        std::optional<QImage> image;
        std::optional<ConstPixelRows> bitmapRows;
        std::shared_ptr<QFile> mappedFile; // holds the bytes of plain bitmap rows
        QImage bgrImage;                   // holds the bitmap rows of any other file
    };
    // The set's entry, its file read again when it changed.
    Entry &entryOf(int set);

    QString folder_;
    std::array<Entry, 16> entries_;
};

// Reads a bitmap file as 32-bit RGB; a null image when it is missing or unreadable.
QImage ReadTileSetImage(const QString &path);

} // namespace vantor
