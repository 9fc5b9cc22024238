#pragma once
// The ASCII map file: a readable text form of a map (or of a rectangle of it) with its place names.
// A header gives the width, the height and the places; then one line per hex holds planes 0..16
// as seventeen two-digit hexadecimal values. Planes 17..36 are not part of it.

#include "files/text_file.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

namespace vantor {

// The version the header line names: ";ASCII map file for Vantor Version 0.50a".
inline constexpr const char *VersionText = "0.50a";

// Planes an ASCII hex line carries: 0..16.
inline constexpr int AsciiPlaneCount = 17;
// Lines are read in pieces of at most this many characters.
inline constexpr int AsciiLineLength = 253;
// Longest place name kept by the reader.
inline constexpr int AsciiPlaceNameLength = 63;

// The whole map with places 0..placeCount-1 taken from rows 1..placeCount of places: X and Y are
// the leading numbers of their cells (0 when there is none), the name is written as it stands.
QByteArray EncodeAsciiMap(const MapStore &map, const PlaceTable &places, int placeCount);

// The hexes of columns x1..xe-1 and rows y1..ye-1 as a map of their own, without places.
// The rectangle must lie on the map (an empty one is allowed): otherwise the result is empty and
// problem says why.
QByteArray EncodeAsciiArea(const MapStore &map, int x1, int y1, int xe, int ye, QString *problem = nullptr);

// Reads a whole ASCII map: the width and height, placeCount and places 0..placeCount-1 into rows
// 1..placeCount of places (X and Y as decimal text; when the file has places the table gets
// placeCount + 1 rows, other cells and the headings stay), then planes 0..16 of every hex.
// map, places and placeCount change only when the whole map was read: a width or height the store
// cannot hold, a place count outside 0..32767, a file that ends before its last hex line is
// Refused, and a hex value that is not two hexadecimal digits is BadValue with
// "'$xx' is not a valid integer value"; either leaves them exactly as they were.
LoadResult DecodeAsciiMap(const QByteArray &data, MapStore &map, PlaceTable &places, int &placeCount);

// Reads an ASCII map file into map with its upper-left hex at (x0, y0). Hexes that fall outside the
// map are read and dropped; the file's places are skipped. The map's size does not change, and the
// map changes only when every announced hex line was read: Refused and BadValue as for
// DecodeAsciiMap leave it as it was.
LoadResult DecodeAsciiPaste(const QByteArray &data, MapStore &map, int x0, int y0);

// The width and height the text announces, as read by DecodeAsciiPaste; nothing when the text ends
// before its header does.
std::optional<QSize> AsciiSizeOf(const QByteArray &data);

// File > Save ASCII Map. Empty text, or the reason the file could not be written (naming it); a
// failed write leaves an existing file as it was. The caller asks before overwriting.
QString WriteAsciiMapFile(const QString &path, const MapStore &map, const PlaceTable &places, int placeCount);

// File > Load ASCII Map: DecodeAsciiMap on the file, read a line at a time (never whole);
// messages name the file.
LoadResult ReadAsciiMapFile(const QString &path, MapStore &map, PlaceTable &places, int &placeCount);

// The end of the save-area clicks: writes columns x1..xe-1 and rows y1..ye-1 into path.
// Empty text, or why nothing was written (naming the file). The caller asks before overwriting.
QString SaveArea(const QString &path, const MapStore &map, int x1, int y1, int xe, int ye);

// The end of the paste-area click: DecodeAsciiPaste on the file, read a line at a time; messages
// name the file.
LoadResult PasteArea(const QString &path, MapStore &map, int x0, int y0);

} // namespace vantor
