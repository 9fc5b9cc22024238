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
    void BackEditChange(const QString &text);

private:
    std::unique_ptr<Ui::TMiscForm> ui;
};

extern TMiscForm *MiscForm;
