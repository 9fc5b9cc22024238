#pragma once
// The "Strategic Map" window: the whole map in terrain icons, redrawn each time it is activated.
// A click on it asks the main window to show that part of the map.

#include "dialogs.h"
#include "document/map_document.h"
#include "render/strategic_map.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TStratForm;
}

class TStratForm : public QWidget {
    Q_OBJECT
public:
    explicit TStratForm(const vantor::MapDocument &document, QWidget *parent = nullptr);
    ~TStratForm() override;

    const QImage &picture() const;

signals:
    // The user clicked the hex on the strategic map.
    void hexPicked(vantor::HexCoord hex);

public slots:
    void ShowStratMapBtnClick();
    void StratImageMouseMove(Qt::KeyboardModifiers modifiers, int X, int Y);
    void StratImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y);
    void SaveBtnClick();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::TStratForm> ui;
    const vantor::MapDocument &document_;
    vantor::StrategicIcons StratIL;
    FileDialogSettings StratSaveDlg;
};
