#include "picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int ScaledLength(int length, double scale) { return length > 0 ? std::max(1, int(std::lround(length * scale))) : 0; }

} // namespace

PictureBox::PictureBox(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPictureSize(int width, int height)
{
    if (picture_.width() != width || picture_.height() != height) {
        picture_ = QImage(width, height, QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    fitToPicture();
}

void PictureBox::setScale(double scale)
{
    if (scale == scale_)
        return;
    scale_ = scale;
    fitToPicture();
}

QSize PictureBox::shownSize() const
{
    return {ScaledLength(picture_.width(), scale_), ScaledLength(picture_.height(), scale_)};
}

void PictureBox::fitToPicture()
{
    resize(shownSize());
    update();
}

// The shown size in whole pixels decides the factors, so that painting and mouse positions agree exactly.
QPointF PictureBox::toPicture(QPointF widgetPosition) const
{
    if (picture_.isNull())
        return widgetPosition / scale_;
    const QSize shown = shownSize();
    return {widgetPosition.x() * picture_.width() / shown.width(), widgetPosition.y() * picture_.height() / shown.height()};
}

QPointF PictureBox::toWidget(QPointF picturePosition) const
{
    if (picture_.isNull())
        return picturePosition * scale_;
    const QSize shown = shownSize();
    return {picturePosition.x() * shown.width() / picture_.width(), picturePosition.y() * shown.height() / picture_.height()};
}

QPoint PictureBox::picturePixelAt(QPointF widgetPosition) const
{
    // The middle of the widget pixel; at 100 % this rounds as QPointF::toPoint() does.
    const QPointF at = toPicture(widgetPosition + QPointF(0.5, 0.5));
    return {int(std::floor(at.x())), int(std::floor(at.y()))};
}

QRect PictureBox::widgetArea(const QRect &pictureArea) const
{
    const QPointF topLeft = toWidget(pictureArea.topLeft());
    const QPointF bottomRight = toWidget(pictureArea.bottomRight() + QPoint(1, 1));
    return QRect(QPoint(int(std::floor(topLeft.x())), int(std::floor(topLeft.y()))),
                 QPoint(int(std::ceil(bottomRight.x())) - 1, int(std::ceil(bottomRight.y())) - 1));
}

QRect PictureBox::pictureArea(const QRect &widgetArea) const
{
    const QPointF topLeft = toPicture(widgetArea.topLeft());
    const QPointF bottomRight = toPicture(widgetArea.bottomRight() + QPoint(1, 1));
    return QRect(QPoint(int(std::floor(topLeft.x())), int(std::floor(topLeft.y()))),
                 QPoint(int(std::ceil(bottomRight.x())) - 1, int(std::ceil(bottomRight.y())) - 1))
        & picture_.rect();
}

const QImage &PictureBox::reducedPicture()
{
    if (reducedKey_ == 0 || reducedKey_ != picture_.cacheKey() || reduced_.size() != shownSize()) {
        // Averaging whole areas keeps one-pixel roads and coasts visible, where sampling would drop them.
        reduced_ = picture_.scaled(shownSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // A painter still open on the picture may go on drawing without changing its key.
        reducedKey_ = picture_.paintingActive() ? 0 : picture_.cacheKey();
    }
    return reduced_;
}

void PictureBox::pictureChanged(const QRect &area)
{
    const QRect changed = area & picture_.rect();
    if (changed.isEmpty())
        return;
    const QRect shown = widgetArea(changed);
    if (scale_ < 1 && reducedKey_ != 0 && reduced_.size() == shownSize() && !picture_.paintingActive()) {
        // The source is widened to whole widget pixels, so the new part blends with its neighbours.
        const QImage part = picture_.copy(pictureArea(shown)).scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPainter(&reduced_).drawImage(shown.topLeft(), part);
        reducedKey_ = picture_.cacheKey();
    }
    update(shown);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    if (!QRect(QPoint(), shownSize()).contains(area))
        painter.fillRect(area, palette().window());
    if (scale_ == 1) {
        painter.drawImage(area.topLeft(), picture_, area);
    } else if (scale_ < 1) {
        painter.drawImage(area.topLeft(), reducedPicture(), area);
    } else {
        // Smoothing evens out the uneven pixel widths of 150 %; from 200 % sharp blocks read better
        // and cost far less.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, scale_ < 2);
        painter.setClipRect(area);
        const QRect source = pictureArea(area);
        painter.drawImage(QRectF(toWidget(source.topLeft()), toWidget(source.bottomRight() + QPoint(1, 1))), picture_, source);
    }
    if (overlay_ && !picture_.isNull()) {
        const QSize shown = shownSize();
        painter.setClipRect(area);
        painter.scale(double(shown.width()) / picture_.width(), double(shown.height()) / picture_.height());
        overlay_(painter);
    }
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = picturePixelAt(event->position());
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
        leftPressAt_ = at;
        leftPressModifiers_ = event->modifiers();
    }
    emit mouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = picturePixelAt(event->position());
    emit mouseMoved(event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = picturePixelAt(event->position());
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(event->position().toPoint()))
            emit clicked(leftPressModifiers_, leftPressAt_.x(), leftPressAt_.y());
    }
    emit mouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void PictureBox::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    emit pointerLeft();
}
