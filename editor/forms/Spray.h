#pragma once
// The "Spray Settings" window: size and density of the spray can, taken only by OK.

#include <QWidget>

#include <memory>

namespace Ui {
class TSprayForm;
}

class TSprayForm : public QWidget {
    Q_OBJECT
public:
    explicit TSprayForm(QWidget *parent = nullptr);
    ~TSprayForm() override;

public slots:
    void OKBtnClick();

private:
    std::unique_ptr<Ui::TSprayForm> ui;
};

extern TSprayForm *SprayForm;
