#include "text_grid_view.h"

#include <QHeaderView>
#include <QTableWidget>

void ShowTextGrid(QTableWidget &table, const vantor::TextGrid &grid)
{
    table.setColumnCount(grid.columnCount());
    table.setRowCount(grid.rowCount() - 1);
    QStringList headings;
    for (int column = 0; column < grid.columnCount(); ++column)
        headings << grid.cell(column, 0);
    table.setHorizontalHeaderLabels(headings);
    for (int row = 1; row < grid.rowCount(); ++row) {
        for (int column = 0; column < grid.columnCount(); ++column) {
            QTableWidgetItem *item = table.item(row - 1, column);
            if (!item)
                table.setItem(row - 1, column, new QTableWidgetItem(grid.cell(column, row)));
            else if (item->text() != grid.cell(column, row))
                item->setText(grid.cell(column, row));
        }
    }
}

void ReadTextGrid(const QTableWidget &table, vantor::TextGrid &grid)
{
    grid.setRowCount(table.rowCount() + 1);
    for (int column = 0; column < grid.columnCount(); ++column) {
        const QTableWidgetItem *heading = table.horizontalHeaderItem(column);
        grid.setCell(column, 0, heading ? heading->text() : QString());
        for (int row = 0; row < table.rowCount(); ++row) {
            const QTableWidgetItem *item = table.item(row, column);
            grid.setCell(column, row + 1, item ? item->text() : QString());
        }
    }
}

void SetColumnWidths(QTableWidget &table, std::initializer_list<int> widths)
{
    int column = 0;
    for (const int width : widths)
        table.setColumnWidth(column++, width);
}

int CurrentGridRow(const QTableWidget &table) { return std::max(0, table.currentRow()) + 1; }
