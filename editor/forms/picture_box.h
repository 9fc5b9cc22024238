#pragma once
// A picture shown at its natural size that reports presses, moves and clicks in its own pixels.

#include <QImage>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QImage &picture() { return picture_; }
    const QImage &picture() const { return picture_; }

    // Gives the picture a new size; its pixels are kept only when the size does not change.
    void setPictureSize(int width, int height);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);
    // A left press and release both on the picture.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage picture_;
    bool leftPressed_ = false;
};
