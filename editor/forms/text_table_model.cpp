#include "text_table_model.h"

#include <QTableView>

TextTableModel::TextTableModel(const vantor::MapDocument &document, Grid grid, CellWriter write, QObject *parent)
    : QAbstractTableModel(parent)
    , document_(document)
    , grid_(grid)
    , write_(std::move(write))
    , rows_(this->grid().rowCount() - 1)
    , columns_(this->grid().columnCount())
{
    connect(&document_, &vantor::MapDocument::tablesChanged, this, &TextTableModel::gridChanged);
}

void TextTableModel::gridChanged()
{
    const vantor::TextGrid &grid = this->grid();
    if (grid.rowCount() - 1 != rows_ || grid.columnCount() != columns_) {
        beginResetModel();
        rows_ = grid.rowCount() - 1;
        columns_ = grid.columnCount();
        endResetModel();
        return;
    }
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

int TextTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : rows_; }

int TextTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : columns_; }

QVariant TextTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return grid().cell(index.column(), index.row() + 1);
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return grid().cell(section, 0);
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool TextTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (text != grid().cell(index.column(), index.row() + 1))
        write_(index.column(), index.row() + 1, text);
    return true;
}

int CurrentGridRow(const QTableView &view) { return std::max(0, view.currentIndex().row()) + 1; }
