#pragma once
// The city file: one city name per line; the name on line n (from 0) is city n, and a hex belongs
// to city n when its PlaceIndex holds n.

#include "files/text_file.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QByteArray>
#include <QString>

namespace vantor {

// The reader takes lines in pieces of at most this many characters.
inline constexpr int CityLineLength = 62;

// The names of rows 1, 2, ... up to the first row whose name is empty, each with CR LF.
QByteArray EncodeCities(const CityTable &cities);

// Reads names in 62-character pieces; each piece loses its last character (its line end, or the
// last character before a break or before the end of a file without a final line end). Piece n
// fills row n + 1: column 0 n, column 1 the name, and, from the last hex (row by row) whose
// PlaceIndex is n, its column, row, PlaceIndex and the three city attribute bytes in columns 2..7
// (left as they were when no hex has n); then the table gets n + 3 rows. The map is not changed.
// Data with more names than a map's name list holds (32767) is Refused, reading no further, and
// leaves the table as it was; otherwise Complete.
LoadResult DecodeCities(const QByteArray &data, const MapStore &map, CityTable &cities);

// Cities > Save Cities. Empty text, or why the file could not be written (naming it); a failed
// write leaves an existing file as it was. An existing file is replaced without a question.
QString WriteCityFile(const QString &path, const CityTable &cities);

// Cities > Load Cities: DecodeCities on the file, read a line at a time. Refused (table unchanged,
// the message naming the file) when the file cannot be read or holds too many names.
LoadResult ReadCityFile(const QString &path, const MapStore &map, CityTable &cities);

} // namespace vantor
