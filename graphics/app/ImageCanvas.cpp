#include "ImageCanvas.h"

#include <QPaintEvent>
#include <QPainter>

ImageCanvas::ImageCanvas(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageCanvas::setImage(const QImage &image)
{
    m_image = image;
    setFixedSize(m_image.size());
    update();
}

void ImageCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    painter.drawImage(event->rect().topLeft(), m_image, event->rect());
}
