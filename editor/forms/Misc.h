#pragma once
// The "Misc" window: the background colour of the map picture.

#include <QWidget>

#include <memory>

namespace Ui {
class TMiscForm;
}

class TMiscForm : public QWidget {
    Q_OBJECT
public:
    explicit TMiscForm(QWidget *parent = nullptr);
    ~TMiscForm() override;

public slots:
    void BackEditExit();

private:
    std::unique_ptr<Ui::TMiscForm> ui;
    QString checkedText;
};

extern TMiscForm *MiscForm;
