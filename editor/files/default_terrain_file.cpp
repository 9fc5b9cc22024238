#include "default_terrain_file.h"

#include "files/all_or_nothing.h"
#include "files/file_io.h"

#include <QCoreApplication>

#include <cstring>

namespace vantor {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("DefaultTerrainFile", text); }

// Comments, and lines that start with a control character (an empty line starts with its line
// end) or a byte of 128 or more.
bool IsSkipped(const QByteArray &line)
{
    if (line.isEmpty() || line.startsWith("//"))
        return true;
    const auto first = std::uint8_t(line[0]);
    return first < 32 || first == 127 || first >= 128;
}

} // namespace

QByteArray EncodeDefaultTerrain(const DefaultTerrainTable &table)
{
    QByteArray out;
    AppendLine(out, "// This is a default terrain map file for Vantor");
    AppendLine(out, "// Comments start with \"//\" ");
    for (int s = 0; s < TileSetCount; ++s) {
        AppendLine(out, QByteArray("// Set ") + QByteArray::number(s).rightJustified(2, '0'));
        const auto &row = table[s];
        const auto length = qsizetype(strnlen(row.data(), row.size()));
        QByteArray text(row.data(), length);
        text.replace("\n", "\r\n");
        AppendLine(out, text);
    }
    return out;
}

namespace {

void DecodeRows(TextPieceReader &pieces, DefaultTerrainTable &table, int &rowsRead)
{
    rowsRead = 0;
    while (rowsRead < TileSetCount && !pieces.atEnd()) {
        TextPiece piece = pieces.next();
        if (IsSkipped(piece.text))
            continue;
        QByteArray text = piece.text;
        if (piece.lineEnded)
            text.append('\n');
        text.truncate(TerrainRowLength);
        auto &row = table[rowsRead++];
        std::memset(row.data(), 0, TerrainRowLength);
        std::memcpy(row.data(), text.constData(), size_t(text.size()));
    }
}

// The table changes only when all 16 rows were read.
void ReadRows(TextPieceReader &pieces, DefaultTerrainTable &table, int &rowsRead)
{
    DecodeAllOrNothing(
        [&](DefaultTerrainTable &copy) {
            DecodeRows(pieces, copy, rowsRead);
            return rowsRead == TileSetCount;
        },
        table);
}

} // namespace

void DecodeDefaultTerrain(const QByteArray &data, DefaultTerrainTable &table, int &rowsRead)
{
    TextPieceReader pieces(data, TerrainLineLength);
    ReadRows(pieces, table, rowsRead);
}

QString WriteDefaultTerrainFile(const QString &path, const DefaultTerrainTable &table)
{
    return WriteFileAtomically(path, EncodeDefaultTerrain(table));
}

LoadResult ReadDefaultTerrainFile(const QString &path, DefaultTerrainTable &table)
{
    const QString refused = tr("Default Terrain Not Loaded");
    TextPieceReader pieces(path, TerrainLineLength);
    if (!pieces.openError().isEmpty())
        return {LoadResult::Refused, {refused, pieces.openError()}};
    int rowsRead = 0;
    ReadRows(pieces, table, rowsRead);
    if (const QString error = pieces.readError(); !error.isEmpty())
        return {LoadResult::Refused, {refused, error}};
    if (rowsRead < TileSetCount)
        return {LoadResult::Refused,
                {refused, FileMessage(path, tr("the file holds %1 of the 16 rows; the table was not changed.").arg(rowsRead))}};
    return {};
}

} // namespace vantor
