#pragma once
// The "Place Name Editor": a view of the document's place-name table. Typed cells and the Done
// that writes the places' coordinates into the map are one step of the history.

#include "document/map_document.h"

#include <QWidget>

#include <memory>

class TextTableModel;

namespace Ui {
class TPlaceForm;
}

class TPlaceForm : public QWidget {
    Q_OBJECT
public:
    explicit TPlaceForm(vantor::MapDocument &document, QWidget *parent = nullptr);
    ~TPlaceForm() override;

public slots:
    void DoneBtnClick();
    void DeleteBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TPlaceForm> ui;
    vantor::MapDocument &document_;
    TextTableModel *model_ = nullptr;
    int series_ = 0; // the step the cells typed since the window was shown belong to
};
