#pragma once
// A table view's model over a text grid of the document: grid row 0 gives the headings, grid row r
// is table row r - 1. A typed cell is handed to a writer, which edits the document; the model
// shows the grid again whenever the document reports the tables changed.

#include "document/map_document.h"

#include <QAbstractTableModel>

#include <functional>

class QTableView;

class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Which table of the document the model shows.
    using Grid = const vantor::TextGrid &(*)(const vantor::MapTables &tables);
    using CellWriter = std::function<void(int column, int gridRow, const QString &text)>;

    // Shows the document's grid again whenever the document reports its tables changed.
    TextTableModel(const vantor::MapDocument &document, Grid grid, CellWriter write, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    void gridChanged();
    const vantor::TextGrid &grid() const { return grid_(document_.tables()); }

    const vantor::MapDocument &document_;
    Grid grid_;
    CellWriter write_;
    int rows_ = 0;
    int columns_ = 0;
};

// The grid row of the view's current cell; the first row when there is none.
int CurrentGridRow(const QTableView &view);
