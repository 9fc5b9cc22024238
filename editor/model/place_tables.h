#pragma once
// The place-name table and the city table as plain data. The windows show them in string grids
// and copy them to and from these types; the file readers and writers work on these types.

#include <QList>
#include <QString>
#include <QStringList>

namespace vantor {

// A table of text cells addressed (column, row) as a string grid is; row 0 holds the headings.
class TextGrid {
public:
    explicit TextGrid(int columns, int rows = 1);

    int columnCount() const { return columns_; }
    int rowCount() const { return int(rows_.size()); }
    // New rows are empty; rows past the new count are dropped. At least one row is kept.
    void setRowCount(int rows);

    // The text of a cell; empty for a cell outside the table.
    QString cell(int column, int row) const;
    // Sets a cell, adding empty rows when row lies past the last one. A column outside the table
    // or a negative row is ignored.
    void setCell(int column, int row, const QString &text);
    // Empties every cell of every row; the row count stays.
    void clearCells();

    friend bool operator==(const TextGrid &, const TextGrid &) = default;

private:
    int columns_;
    QList<QStringList> rows_;
};

// The place-name table: place k in row k + 1, its hex's column and row as decimal text (or empty)
// and its name.
class PlaceTable : public TextGrid {
public:
    enum Column { XColumn = 0, YColumn = 1, NameColumn = 2 };
    static constexpr int Columns = 3;

    PlaceTable() : PlaceTable(1) {}
    explicit PlaceTable(int rows) : TextGrid(Columns, rows) {}
    // Row 0 as the homemade scenario loader writes it: "  X", "  Y", "  Name".
    void writeHeadings();
};

// The city table: city n in row n + 1 with its number, its name, the column and row of its hex and
// the hex's place index and three city attribute bytes, all as decimal text.
class CityTable : public TextGrid {
public:
    enum Column {
        NumberColumn = 0,
        NameColumn = 1,
        XColumn = 2,
        YColumn = 3,
        PlaceIndexColumn = 4,
        Attr03Column = 5,
        Attr04Column = 6,
        Attr16Column = 7,
    };
    static constexpr int Columns = 8;

    CityTable() : CityTable(1) {}
    explicit CityTable(int rows) : TextGrid(Columns, rows) {}
    // Row 0 as the city window shows it: "Num", "Place Name", " X", " Y", " 00", " 03", " 04", " 16".
    void writeHeadings();
};

} // namespace vantor
