#pragma once
// The "Spray Settings" window: size and density of the spray can, taken only by OK.

#include "document/editor_settings.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TSprayForm;
}

class TSprayForm : public QWidget {
    Q_OBJECT
public:
    explicit TSprayForm(vantor::EditorSettings &settings, QWidget *parent = nullptr);
    ~TSprayForm() override;

public slots:
    void OKBtnClick();

private:
    std::unique_ptr<Ui::TSprayForm> ui;
    vantor::EditorSettings &settings_;
};
