#pragma once

#include "core/EnhanceColor.h"

#include <QWidget>

namespace Ui {
class TEnhanceForm;
}

// The enhancement window: four sliders that set how Shrink brightens colours.
class TEnhanceForm : public QWidget {
    Q_OBJECT
public:
    explicit TEnhanceForm(QWidget *parent = nullptr);
    ~TEnhanceForm() override;

    Ui::TEnhanceForm *ui;

    // The slider values as they stand (the negated positions).
    dovrel::EnhanceSettings settings() const;

public slots:
    void RedTBChange();
    void GreenTBChange();
    void BlueTBChange();
    void MinTBChange();

protected:
    void showEvent(QShowEvent *event) override;
};

extern TEnhanceForm *EnhanceForm;
