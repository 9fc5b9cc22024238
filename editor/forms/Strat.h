#pragma once
// The "Strategic Map" window.

#include <QWidget>

class TStratForm : public QWidget {
    Q_OBJECT
public:
    explicit TStratForm(QWidget *parent = nullptr);
};

extern TStratForm *StratForm;
