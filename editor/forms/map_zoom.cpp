#include "map_zoom.h"

#include "model/zoom_levels.h"
#include "picture_box.h"

#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using namespace vantor;

namespace {
constexpr int LevelNoteMilliseconds = 1500;
} // namespace

MapZoom::MapZoom(QWidget &window, QScrollArea &scrollBox, PictureBox &picture, const Actions &actions)
    : QObject(&window)
    , scrollBox_(scrollBox)
    , picture_(picture)
    , viewport_(scrollBox.viewport())
    , levelNote_(new QLabel(&scrollBox))
{
    // Ctrl+= serves keyboards where + needs Shift.
    QList<QKeySequence> zoomInKeys = QKeySequence::keyBindings(QKeySequence::ZoomIn);
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)})
        if (!zoomInKeys.contains(keys))
            zoomInKeys.append(keys);
    actions.zoomIn->setShortcuts(zoomInKeys);

    connect(actions.zoomIn, &QAction::triggered, this, [this] { setZoom(ZoomedIn(zoom())); });
    connect(actions.zoomOut, &QAction::triggered, this, [this] { setZoom(ZoomedOut(zoom())); });
    connect(actions.actualSize, &QAction::triggered, this, [this] { setZoom(1); });
    connect(actions.fitInWindow, &QAction::triggered, this, &MapZoom::fitInWindow);

    viewport_->installEventFilter(this);
    // A new map's picture changes what the view shows without a scroll.
    picture_.installEventFilter(this);
    connect(scrollBox.horizontalScrollBar(), &QScrollBar::valueChanged, this, &MapZoom::reportVisibleArea);
    connect(scrollBox.verticalScrollBar(), &QScrollBar::valueChanged, this, &MapZoom::reportVisibleArea);

    levelNote_->setObjectName(QStringLiteral("ZoomLevelNote"));
    levelNote_->setAutoFillBackground(true);
    levelNote_->setMargin(3);
    levelNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
    levelNote_->hide();
    levelNoteTimer_.setSingleShot(true);
    levelNoteTimer_.setInterval(LevelNoteMilliseconds);
    connect(&levelNoteTimer_, &QTimer::timeout, levelNote_, &QLabel::hide);
}

double MapZoom::zoom() const { return picture_.scale(); }

void MapZoom::setZoom(double zoom) { setZoom(zoom, viewCentre()); }

void MapZoom::setZoom(double zoom, QPointF anchor)
{
    zoom = ClampedZoom(zoom);
    if (zoom != picture_.scale()) {
        const QPointF fixed = picture_.toPicture(anchor - picture_.pos());
        // Resizing the picture updates the scroll bars' ranges at once, so they take the new values.
        picture_.setScale(zoom);
        const QPointF corner = picture_.toWidget(fixed) - anchor;
        scrollBox_.horizontalScrollBar()->setValue(int(std::lround(corner.x())));
        scrollBox_.verticalScrollBar()->setValue(int(std::lround(corner.y())));
        emit zoomChanged(zoom);
        reportVisibleArea();
    }
    showLevel();
}

void MapZoom::fitInWindow()
{
    const QSize room = scrollBox_.maximumViewportSize();
    const QSize picture = picture_.picture().size();
    if (picture.isEmpty())
        return;
    setZoom(std::min(double(room.width()) / picture.width(), double(room.height()) / picture.height()));
}

QRectF MapZoom::visibleArea() const
{
    const QRectF view = QRectF(scrollBox_.viewport()->rect()).translated(-QPointF(picture_.pos()));
    const QRectF shown(picture_.toPicture(view.topLeft()), picture_.toPicture(view.bottomRight()));
    return shown & QRectF(picture_.picture().rect());
}

void MapZoom::centreOn(QPointF picturePoint)
{
    const QPointF corner = picture_.toWidget(picturePoint) - viewCentre();
    scrollBox_.horizontalScrollBar()->setValue(int(std::lround(corner.x())));
    scrollBox_.verticalScrollBar()->setValue(int(std::lround(corner.y())));
}

void MapZoom::reportVisibleArea() { emit visibleAreaChanged(visibleArea()); }

QPointF MapZoom::viewCentre() const { return QRectF(scrollBox_.viewport()->rect()).center(); }

bool MapZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && (watched == viewport_ || watched == &picture_))
        reportVisibleArea();
    if (event->type() == QEvent::Wheel && watched == viewport_) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        const int turn = wheel->angleDelta().y();
        if (wheel->modifiers().testFlag(Qt::ControlModifier) && turn != 0) {
            setZoom(ZoomedByWheel(zoom(), turn), wheel->position());
            wheel->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void MapZoom::showLevel()
{
    levelNote_->setText(QStringLiteral("%1 %").arg(std::lround(zoom() * 100)));
    levelNote_->adjustSize();
    const QRect view = scrollBox_.viewport()->geometry();
    levelNote_->move(view.right() - levelNote_->width() - 4, view.bottom() - levelNote_->height() - 4);
    levelNote_->show();
    levelNote_->raise();
    levelNoteTimer_.start();
}
