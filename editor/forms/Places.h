#pragma once
// The "Place Name Editor" window.

#include <QWidget>

class TPlaceForm : public QWidget {
    Q_OBJECT
public:
    explicit TPlaceForm(QWidget *parent = nullptr);
};

extern TPlaceForm *PlaceForm;
