#pragma once
// A picture shown at a scale that reports presses, moves and clicks in the picture's own pixels,
// so that what handles them never sees the scale.

#include <QImage>
#include <QWidget>

#include <functional>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QImage &picture() { return picture_; }
    const QImage &picture() const { return picture_; }

    // Gives the picture a new size; its pixels are kept only when the size does not change.
    // The scale is kept.
    void setPictureSize(int width, int height);

    // The widget is the picture's size times the scale (1 = one widget pixel per picture pixel).
    double scale() const { return scale_; }
    void setScale(double scale);

    // Says that `area` of picture() has been drawn anew, and shows it. Below 100 % only that area of
    // the shown copy is scaled again; a plain update() or repaint() makes the next paint scale the
    // whole picture.
    void pictureChanged(const QRect &area);

    // Draws over the picture, in the picture's own pixels, whatever the scale.
    using Overlay = std::function<void(QPainter &painter)>;
    void setOverlay(Overlay overlay) { overlay_ = std::move(overlay); }

    // Between widget and picture positions (fractional: no rounding).
    QPointF toPicture(QPointF widgetPosition) const;
    QPointF toWidget(QPointF picturePosition) const;
    // The picture pixel a widget pixel shows.
    QPoint picturePixelAt(QPointF widgetPosition) const;

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);
    // A button came up, wherever the pointer is.
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // The pointer left the picture.
    void pointerLeft();
    // A left press and release both on the picture: where the press was, with the keys held then.
    void clicked(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // The picture's size times the scale.
    QSize shownSize() const;
    void fitToPicture();
    // The widget pixels that show the picture pixels of `area`, and back.
    QRect widgetArea(const QRect &pictureArea) const;
    QRect pictureArea(const QRect &widgetArea) const;
    // The picture scaled down to the widget's size, made anew when the picture has changed.
    const QImage &reducedPicture();

    QImage picture_;
    Overlay overlay_;
    double scale_ = 1;
    QImage reduced_;
    // picture_.cacheKey() when reduced_ was made: QImage changes its key whenever its pixels are
    // written to. 0 while reduced_ may be behind the picture.
    qint64 reducedKey_ = 0;
    bool leftPressed_ = false;
    QPoint leftPressAt_;
    Qt::KeyboardModifiers leftPressModifiers_;
};
