#pragma once
// The "Strategic Map" window: the whole map in terrain icons, redrawn each time it is activated.

#include "dialogs.h"
#include "render/strategic_map.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TStratForm;
}

class TStratForm : public QWidget {
    Q_OBJECT
public:
    explicit TStratForm(QWidget *parent = nullptr);
    ~TStratForm() override;

    const QImage &picture() const;

public slots:
    void ShowStratMapBtnClick();
    void StratImageMouseMove(Qt::KeyboardModifiers modifiers, int X, int Y);
    void StratImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y);
    void SaveBtnClick();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::TStratForm> ui;
    vantor::StrategicIcons StratIL;
    FileDialogSettings StratSaveDlg;
};

extern TStratForm *StratForm;
