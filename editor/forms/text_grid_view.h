#pragma once
// A string grid shown in a table widget: row 0 of the grid is the header row, grid row r is table
// row r - 1.

#include "model/place_tables.h"

#include <initializer_list>

class QTableWidget;

void ShowTextGrid(QTableWidget &table, const vantor::TextGrid &grid);
void ReadTextGrid(const QTableWidget &table, vantor::TextGrid &grid);
void SetColumnWidths(QTableWidget &table, std::initializer_list<int> widths);
// The grid row of the table's current cell; the first row when there is none.
int CurrentGridRow(const QTableWidget &table);
