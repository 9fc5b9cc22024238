#pragma once

#include <QImage>
#include <QWidget>

// An image that the program draws on and shows at its own size.
class ImageCanvas : public QWidget {
    Q_OBJECT
public:
    explicit ImageCanvas(QWidget *parent = nullptr);

    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }
    // Replaces the picture; the control takes its size.
    void setImage(const QImage &image);
    QSize sizeHint() const override { return m_image.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};
