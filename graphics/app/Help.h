#pragma once

#include <QWidget>

namespace Ui {
class THelpForm;
}

// The help window: a fixed text and an OK button.
class THelpForm : public QWidget {
    Q_OBJECT
public:
    explicit THelpForm(QWidget *parent = nullptr);
    ~THelpForm() override;

    Ui::THelpForm *ui;

public slots:
    void OKBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
};

extern THelpForm *HelpForm;
