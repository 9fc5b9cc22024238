#pragma once
// The "Strategic Map" window: the whole map in terrain icons, following every step, with a frame
// round the part the main window shows. A press or drag on it moves the main window's view there.

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
    // The frame of the main window's view, in overview pixels.
    QRectF viewFrame() const;

signals:
    // The user pressed or dragged on the overview: the main view should centre on this point of
    // the map picture.
    void pointPicked(QPointF picturePoint);

public slots:
    void ShowStratMapBtnClick();
    void StratImageMouseMove(Qt::KeyboardModifiers modifiers, int X, int Y);
    void SaveBtnClick();
    // The main window shows this part of its map picture (in picture pixels).
    void showViewArea(const QRectF &pictureArea);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class ViewFrame;

    void drawHexes(const std::vector<vantor::HexCoord> &hexes);

    std::unique_ptr<Ui::TStratForm> ui;
    const vantor::MapDocument &document_;
    vantor::StrategicIcons StratIL;
    FileDialogSettings StratSaveDlg;
    ViewFrame *viewFrame_;
};
