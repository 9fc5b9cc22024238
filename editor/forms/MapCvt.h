#pragma once
// The "Map Converter" window.

#include <QWidget>

class TMapConvert : public QWidget {
    Q_OBJECT
public:
    explicit TMapConvert(QWidget *parent = nullptr);
};

extern TMapConvert *MapConvert;
