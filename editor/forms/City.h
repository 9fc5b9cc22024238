#pragma once
// The "City" window.

#include <QWidget>

class TCityForm : public QWidget {
    Q_OBJECT
public:
    explicit TCityForm(QWidget *parent = nullptr);
};

extern TCityForm *CityForm;
