#pragma once
// The default terrain file: the default terrain table as text, one line per tile set, behind
// "//" comment lines.

#include "files/text_file.h"
#include "model/terrain_tables.h"

#include <QByteArray>
#include <QString>

namespace vantor {

// The reader sees lines of at most this many characters.
inline constexpr int TerrainLineLength = 126;
// A row takes this many characters of its line, the line end included; its last three slots
// are never written by the reader.
inline constexpr int TerrainRowLength = 85;

// Two comment lines, then for every set "// Set NN" and the row up to its first NUL. A line end
// that a loaded row holds is written as CR LF, so such a row is followed by an empty line.
QByteArray EncodeDefaultTerrain(const DefaultTerrainTable &table);

// Reads rows 0..15 from the first 16 lines that are neither comments ("//" first) nor start with a
// control character or a byte of 128 or more. Each row takes the first 85 characters of its line,
// with its line end (as one LF) when the line is shorter; the rest of those 85 slots become NUL
// and slots 85..87 keep what they held. rowsRead receives the number of row lines found (at most
// 16); the table changes only when there are 16 of them, and stays exactly as it was otherwise.
void DecodeDefaultTerrain(const QByteArray &data, DefaultTerrainTable &table, int &rowsRead);

// File > Save Default Terrain. Empty text, or why the file could not be written (naming it); a
// failed write leaves an existing file as it was. The caller asks before overwriting.
QString WriteDefaultTerrainFile(const QString &path, const DefaultTerrainTable &table);

// File > Load Default Terrain, reading only as far as the 16th row line. Refused, with the table
// unchanged, when the file cannot be read or holds fewer than 16 row lines; otherwise Complete.
LoadResult ReadDefaultTerrainFile(const QString &path, DefaultTerrainTable &table);

} // namespace vantor
