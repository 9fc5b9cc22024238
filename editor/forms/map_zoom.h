#pragma once
// The zoom of the main window's map: the View menu's four commands, Ctrl+wheel around the mouse,
// and a short note of the new level in the corner of the map. It also tells which part of the
// picture the window shows, and moves the view to any part of it.

#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QTimer>

class PictureBox;
class QAction;
class QLabel;
class QScrollArea;

class MapZoom : public QObject {
    Q_OBJECT
public:
    struct Actions {
        QAction *zoomIn = nullptr;
        QAction *zoomOut = nullptr;
        QAction *actualSize = nullptr;
        QAction *fitInWindow = nullptr;
    };

    // Belongs to window; the picture lies in scrollBox.
    MapZoom(QWidget &window, QScrollArea &scrollBox, PictureBox &picture, const Actions &actions);

    double zoom() const;
    // Keeps the middle of the view on the same part of the picture.
    void setZoom(double zoom);
    // Keeps the picture point at `anchor` (a position in the scroll box's viewport) under it.
    void setZoom(double zoom, QPointF anchor);
    // The largest zoom at which the whole picture fits in the window, within 25 % .. 400 %.
    void fitInWindow();

    // The part of the picture the scroll box shows, in picture pixels.
    QRectF visibleArea() const;
    // Scrolls the picture point into the middle of the view, as near as the picture's edges allow.
    void centreOn(QPointF picturePoint);

signals:
    void zoomChanged(double zoom);
    // The view scrolled, zoomed or changed its size.
    void visibleAreaChanged(const QRectF &area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointF viewCentre() const;
    void showLevel();
    void reportVisibleArea();

    QScrollArea &scrollBox_;
    PictureBox &picture_;
    // Compared with, never called, in the event filter: the viewport's last events come while the
    // scroll box is already half destroyed.
    QObject *viewport_;
    QLabel *levelNote_;
    QTimer levelNoteTimer_;
};
