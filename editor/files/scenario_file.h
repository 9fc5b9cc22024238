#pragma once
// The map block at the start of a scenario file of the game, read into the map and written back
// in place. A regular scenario's block is a map file (width, 0, height, 0, hex records, set usage
// table); a homemade one has a place count and 30-byte place names between the header and the hex
// records. Everything after the block belongs to the game and is never changed.

#include "files/native_map_file.h"
#include "files/text_file.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vantor {

enum class ScenarioLayout { Regular, Homemade };

// Bytes of a homemade place name.
inline constexpr int HomemadeNameLength = 30;

// Length of the map block a save writes.
qint64 ScenarioBlockSize(int width, int height, ScenarioLayout layout, int placeCount);

// The layout that byte 4 suggests: 255 (the place index of hex (0, 0) of a regular scenario, which
// carries no name) means regular, anything else homemade. A file without byte 4 reads 255 there.
// Only the questions of the explicit load and save commands go by it; a file opened without a
// layout chosen is decided by DecideScenarioLayout.
ScenarioLayout GuessScenarioLayout(const QByteArray &data);

// How the start of a scenario file reads, for the map size in its header (1..72 x 1..70):
// as regular when the set usage table after the hexes at the regular offsets agrees with them
// (set 0 and exactly the sets 0..15 those hexes use are marked); as homemade when bytes 4..7 hold a
// place count of 0..32767 whose block (names, hexes, set usage table) fits the data and every
// name is a 30-byte text (no control characters) padded with zero bytes. Both, one or neither may
// hold.
struct ScenarioLayoutReading {
    bool regular = false;
    bool homemade = false;
};
ScenarioLayoutReading ReadScenarioLayouts(const QByteArray &data);

// The layout of a scenario opened without one chosen: the one it reads as, when exactly one;
// nothing when it reads as both or neither (then the user must choose).
std::optional<ScenarioLayout> DecideScenarioLayout(const QByteArray &data);

// Why DecideScenarioLayout decides nothing: "It reads as both a regular and a homemade (HM)
// scenario." or "It reads as neither ..."; empty when it decides.
QString UndecidedScenarioLayout(const QByteArray &data);

// The question (OK / Cancel) asked before a scenario is read or written in `layout` when byte 4
// suggests the other layout; empty when it fits.
UserMessage ScenarioLayoutQuestion(const QByteArray &data, ScenarioLayout layout);

// The longest map block with its set usage table: a homemade block of the largest map with the
// most places. A load reads no further.
inline constexpr qint64 LargestScenarioBlock =
    8 + qint64(HomemadeNameLength) * MaxPlaceCount + qint64(PlaneCount) * StoreColumns * StoreRows + SetUsageTableSize;

// Reads the start of the scenario file, as far as the longest map block reaches: empty text, or
// why it could not be read (naming the file).
QString ReadScenarioFile(const QString &path, QByteArray &data);

// Reads the map block. A width or height the store cannot hold, a homemade place count outside
// 0..32767 or whose names run past the end of the data, or data that ends before the last hex
// record is Refused with nothing changed. Otherwise the map gets the block's size and hexes and
// placeCount the number of places: for a homemade block the place table is emptied, gets
// placeCount + 1 rows, the headings and the names in column 2; for a regular block placeCount is
// 0 and the table is not touched.
LoadResult DecodeScenarioMap(const QByteArray &data, ScenarioLayout layout, MapStore &map, PlaceTable &places,
                             int &placeCount);

// The end of Load HM Scenario Map: for every hex, row by row, whose place number
// (PlaceIndexHigh * 256 + PlaceIndex) is below placeCount, its column and row go into columns 0 and 1
// of that place's row; the last hex wins.
void SetPlaceCoordinates(const MapStore &map, int placeCount, PlaceTable &places);

// The map block a save writes: for a homemade block, placeCount and the names of rows
// 1..placeCount cut or padded with NUL to 30 bytes.
QByteArray EncodeScenarioMapBlock(const MapStore &map, ScenarioLayout layout, const PlaceTable &places, int placeCount);

// The question (OK / Cancel) asked before saving into a path that does not contain ".scn"; empty
// when it does.
UserMessage ScenarioExtensionQuestion(const QString &path);

// A save of the map into an existing scenario, checked before anything is written.
struct ScenarioSave {
    QString path;
    QByteArray content; // the whole scenario with the new map block, when the save may go on

    UserMessage refusal;  // when not empty: show it with an OK button; nothing was or will be written
    UserMessage question; // when not empty: ask it (OK / Cancel); only OK goes on to commit()

    // Replaces the scenario by content atomically: empty text, or why it failed (naming the file),
    // with the scenario then exactly as it was.
    QString commit() const;
};

// Checks, in this order: the file exists; it can be read; its map has the size of the map; it does
// not read as the other layout only (ReadScenarioLayouts), which no answer can override; for a homemade save, its stored place count equals
// placeCount (otherwise the block would change length); the file is long enough to hold the block;
// then whether byte 4 suggests the other layout (the question). Nothing is written here.
ScenarioSave PrepareScenarioSave(const QString &path, const MapStore &map, ScenarioLayout layout,
                                 const PlaceTable &places, int placeCount);

} // namespace vantor
