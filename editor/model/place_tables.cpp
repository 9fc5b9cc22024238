#include "place_tables.h"

#include <algorithm>

namespace vantor {

TextGrid::TextGrid(int columns, int rows)
    : columns_(std::max(columns, 1))
{
    setRowCount(rows);
}

void TextGrid::setRowCount(int rows)
{
    rows = std::max(rows, 1);
    if (rows < rowCount())
        rows_.resize(rows);
    while (rowCount() < rows)
        rows_.append(QStringList(columns_, QString()));
}

QString TextGrid::cell(int column, int row) const
{
    if (column < 0 || column >= columns_ || row < 0 || row >= rowCount())
        return {};
    return rows_[row][column];
}

void TextGrid::setCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= columns_ || row < 0)
        return;
    if (row >= rowCount())
        setRowCount(row + 1);
    rows_[row][column] = text;
}

void TextGrid::clearCells()
{
    for (QStringList &row : rows_)
        for (QString &text : row)
            text.clear();
}

void PlaceTable::writeHeadings()
{
    setCell(XColumn, 0, QStringLiteral("  X"));
    setCell(YColumn, 0, QStringLiteral("  Y"));
    setCell(NameColumn, 0, QStringLiteral("  Name"));
}

void CityTable::writeHeadings()
{
    const char *const headings[Columns] = {"Num", "Place Name", " X", " Y", " 00", " 03", " 04", " 16"};
    for (int c = 0; c < Columns; ++c)
        setCell(c, 0, QString::fromLatin1(headings[c]));
}

} // namespace vantor
