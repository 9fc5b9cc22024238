#pragma once
// Helpers the Dovrel tests share: hand-made tile archives and dialogs answered by the test.

#include "Dialogs.h"
#include "core/TileArchive.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace testing {

// One palette entry as stored: colour index, then 6-bit red, green and blue.
using RawEntry = std::array<int, 4>;

// A palette block: the 32-bit entry count, then the entries.
QByteArray PaletteBlock(const QList<RawEntry> &entries);

// A tile record: 24 header bytes with the first and last row numbers, then the coded rows.
QByteArray TileRecord(int first, int last, const QByteArray &rows);

// A tile set as the archive holds it, laid out from its signature on.
struct SetBuilder {
    struct Tile {
        int record = 0;  // index into records
        int palette = 0; // index into palettes
    };
    QList<QByteArray> palettes;
    QList<QByteArray> records;
    QList<Tile> tiles;
    int declaredCount = -1; // the count to write; -1 writes tiles.size()

    // The bytes from the signature on; offsets are from the signature.
    QByteArray bytes() const;
    // Offsets (from the signature) of the palette blocks and records in bytes().
    qint64 paletteOffset(int index) const;
    qint64 recordOffset(int index) const;
};

// An archive that holds `setBytes` for set `set`, `gap` bytes after the set's search offset,
// preceded by zeros; `tail` bytes of zeros follow.
QByteArray ArchiveWith(int set, const QByteArray &setBytes, int gap = 0, int tail = 0);

// A stream over a byte array that the caller keeps alive.
inline dovrel::ArchiveStream StreamOver(const QByteArray &bytes)
{
    return dovrel::ArchiveStream(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size());
}

// A byte array from a list of byte values.
QByteArray Bytes(std::initializer_list<int> values);

// Answers Dovrel's dialogs from queues the test fills, and records what they were asked.
class ScriptedDialogs final : public dovrel::DialogSeam {
public:
    ScriptedDialogs() { dovrel::SetDialogs(this); }
    ~ScriptedDialogs() override { dovrel::SetDialogs(nullptr); }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    QStringList fileAnswers; // next file chosen; an empty text or an empty queue cancels
    QList<dovrel::FileDialogSettings> openShown;
    QList<dovrel::FileDialogSettings> saveShown;
    QStringList errors;

    QString openFile(QWidget *, const dovrel::FileDialogSettings &settings) override
    {
        openShown.append(settings);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QString saveFile(QWidget *, const dovrel::FileDialogSettings &settings) override
    {
        saveShown.append(settings);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    void showError(QWidget *, const QString &message) override { errors.append(message); }
};

// Reads a whole file.
QByteArray ReadFile(const QString &path);

} // namespace testing
