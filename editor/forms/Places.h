#pragma once
// The "Place Name Editor": the place-name table, whose coordinates Done writes into the map.

#include "model/place_tables.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TPlaceForm;
}

class TPlaceForm : public QWidget {
    Q_OBJECT
public:
    explicit TPlaceForm(QWidget *parent = nullptr);
    ~TPlaceForm() override;

    vantor::PlaceTable places() const;
    void setPlaces(const vantor::PlaceTable &places);
    // The name of place `place` (row place + 1); empty when there is no such row.
    QString placeName(int place) const;

public slots:
    void DoneBtnClick();
    void DeleteBtnClick();

private:
    std::unique_ptr<Ui::TPlaceForm> ui;
};

extern TPlaceForm *PlaceForm;
