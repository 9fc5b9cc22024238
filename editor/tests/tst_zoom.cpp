// Zooming the map: the steps, the View menu's commands, Ctrl+wheel around the pointer, clicks that
// hit the same hex at every level, and the shown picture following every change.

#include "test_support.h"

#include "forms/Map.h"
#include "forms/Tiles.h"
#include "forms/map_zoom.h"
#include "forms/picture_box.h"
#include "forms/windows.h"
#include "model/geometry.h"
#include "model/zoom_levels.h"

#include <QAction>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

using namespace vantor;

namespace {

// The window's own zoom when it has one, else one made here on its View menu's commands.
MapZoom &ZoomOf(TMapForm &form)
{
    if (auto *zoom = form.findChild<MapZoom *>())
        return *zoom;
    const auto action = [&form](const char *name) { return form.findChild<QAction *>(QLatin1String(name)); };
    return *new MapZoom(form, form.mapScrollBox(), *form.findChild<PictureBox *>(QStringLiteral("MapImage")),
                        {action("ZoomIn1"), action("ZoomOut1"), action("ActualSize1"), action("FitMapInWindow1")});
}

// Whether the box shows about the colour at a widget pixel (scaling a plain area down may round).
bool Shows(PictureBox &box, QPoint at, QRgb colour)
{
    const QRgb shown = box.grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0);
    return std::abs(qRed(shown) - qRed(colour)) <= 2 && std::abs(qGreen(shown) - qGreen(colour)) <= 2
        && std::abs(qBlue(shown) - qBlue(colour)) <= 2;
}

} // namespace

class ZoomTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { windows.reset(); }

    void stepsAndWheelTurns();
    void menuCommandsClampAndNewPicturesKeepTheLevel();
    void clicksAtQuarterAndFourfoldPaintTheHexUnderThem();
    void hoverNamesTheHexUnderThePointerWhenZoomedIn();
    void ctrlWheelKeepsThePictureUnderThePointer();
    void shownPictureFollowsChangesAndEdgesMapToEdges();

private:
    // Starts afresh from a map of set 0, tile 0.
    void showMap(int width, int height);
    const MapStore &map() { return windows->document().map(); }
    void trigger(const char *action) { form->findChild<QAction *>(QLatin1String(action))->trigger(); }

    QTemporaryDir setsDir;
    testing::ScriptedDialogs dialogs;
    std::unique_ptr<VantorWindows> windows;
    TMapForm *form = nullptr;
    PictureBox *mapImage = nullptr;
    MapZoom *zoom = nullptr;
};

void ZoomTest::initTestCase()
{
    QVERIFY(setsDir.isValid());
    for (int s = 0; s < 16; ++s)
        testing::WriteSyntheticTileSet(setsDir.path(), s);
}

void ZoomTest::init()
{
    windows = std::make_unique<VantorWindows>();
    form = &windows->main();
    windows->settings().programDir = setsDir.path() + QLatin1Char('/');
    mapImage = form->findChild<PictureBox *>(QStringLiteral("MapImage"));
    zoom = &ZoomOf(*form);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void ZoomTest::showMap(int width, int height)
{
    auto content = std::make_unique<MapContent>();
    content->map = *testing::BlankMap(width, height);
    windows->document().start(*content);
}

void ZoomTest::stepsAndWheelTurns()
{
    QCOMPARE(ZoomedIn(0.6), 0.75); // from between steps, as after fitting the map
    QCOMPARE(ZoomedOut(0.6), 0.5);
    QCOMPARE(ZoomedByWheel(1, 60), 1.15); // a touch pad's half notch
    QCOMPARE(ZoomedByWheel(0.3, -600), 0.25);
}

void ZoomTest::menuCommandsClampAndNewPicturesKeepTheLevel()
{
    showMap(10, 8);
    const QSize picture = form->mapPicture().size();
    zoom->setZoom(10);
    trigger("ZoomIn1");
    QCOMPARE(zoom->zoom(), 4.0);
    QCOMPARE(mapImage->size(), picture * 4);
    trigger("ZoomOut1");
    QCOMPARE(zoom->zoom(), 3.0);
    trigger("ActualSize1");
    QCOMPARE(mapImage->size(), picture);
    zoom->setZoom(0.1);
    trigger("ZoomOut1");
    QCOMPARE(zoom->zoom(), 0.25);
    trigger("ZoomIn1");
    QCOMPARE(zoom->zoom(), 0.33);

    showMap(20, 12); // a new size keeps the level
    QCOMPARE(mapImage->size(), (QSizeF(form->mapPicture().size()) * 0.33).toSize());

    trigger("FitMapInWindow1");
    const QSize room = form->mapScrollBox().maximumViewportSize();
    QVERIFY(room.width() >= mapImage->width() && room.height() >= mapImage->height());
    QVERIFY(room.width() - mapImage->width() <= 1 || room.height() - mapImage->height() <= 1);

    const QList<QKeySequence> keys = form->findChild<QAction *>(QStringLiteral("ZoomIn1"))->shortcuts();
    QVERIFY(keys.contains(QKeySequence(QStringLiteral("Ctrl+="))) && keys.contains(QKeySequence(QStringLiteral("Ctrl++"))));
}

void ZoomTest::clicksAtQuarterAndFourfoldPaintTheHexUnderThem()
{
    showMap(10, 8);
    testing::PickTile(form->tilesForm(), 1, 9);

    for (const auto &[level, hex] : {std::pair{0.25, QPoint(3, 2)}, std::pair{4.0, QPoint(6, 5)}}) {
        zoom->setZoom(level);
        const PixelRect r = HexRect(hex.y() * map().MapWidth + hex.x(), map().MapWidth);
        const QPoint at = (QPointF(r.left + 24, r.top + 20) * level).toPoint();
        form->mapScrollBox().ensureVisible(at.x(), at.y());
        QVERIFY(!Shows(*mapImage, at, testing::TileColour(1, 9)));
        QTest::mouseClick(mapImage, Qt::LeftButton, {}, at);
        QCOMPARE(int(map().at(TileIndex, hex.x(), hex.y())), 9);
        QCOMPARE(int(map().at(TileSet, hex.x(), hex.y())), 1);
        QCOMPARE(int(map().at(TileIndex, hex.x() + 1, hex.y())), 0);
        QCOMPARE(int(map().at(TileIndex, hex.x(), hex.y() - 1)), 0);
        QVERIFY(Shows(*mapImage, at, testing::TileColour(1, 9)));
    }
}

void ZoomTest::hoverNamesTheHexUnderThePointerWhenZoomedIn()
{
    showMap(10, 8);
    zoom->setZoom(4);
    auto *label = form->findChild<QLabel *>(QStringLiteral("WhereLbl"));
    // A move of five picture pixels (twenty on the screen) across the edge of hex (2, 2) names the
    // hex beyond it.
    const int y = 100; // the middle of hex (2, 2) is (98, 100)
    int edge = 98;
    while (HexOnMapAt(edge, y, map().MapWidth, map().MapHeight) == HexOnMapAt(98, y, map().MapWidth, map().MapHeight))
        ++edge;
    const std::optional<HexCoord> beyond = HexOnMapAt(edge, y, map().MapWidth, map().MapHeight);
    testing::HoverOver(mapImage, QPoint((edge - 3) * 4, y * 4));
    QVERIFY(label->text().startsWith(QStringLiteral("2,2 ")));
    testing::HoverOver(mapImage, QPoint((edge + 2) * 4, y * 4));
    QVERIFY(label->text().startsWith(QStringLiteral("%1,%2 ").arg(beyond->x).arg(beyond->y)));
}

void ZoomTest::ctrlWheelKeepsThePictureUnderThePointer()
{
    showMap(30, 30);
    QScrollArea &box = form->mapScrollBox();
    box.horizontalScrollBar()->setValue(300);
    box.verticalScrollBar()->setValue(400);
    const QPoint pointer(100, 120); // in the viewport
    const QPointF underPointer = QPointF(pointer - mapImage->pos()) / zoom->zoom();

    // The picture leaves wheel turns to the viewport, where they arrive as this one.
    const auto turn = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(pointer, box.viewport()->mapToGlobal(pointer), {}, QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(box.viewport(), &wheel);
    };
    for (const auto &[delta, level] : {std::pair{120, 1.5}, std::pair{-240, 0.75}, std::pair{360, 2.0}}) {
        turn(delta, Qt::ControlModifier);
        QCOMPARE(zoom->zoom(), level);
        QVERIFY((QPointF(pointer - mapImage->pos()) / level - underPointer).manhattanLength() < 2);
    }

    const int scrolled = box.verticalScrollBar()->value();
    turn(-120, {}); // a plain turn scrolls
    QCOMPARE(zoom->zoom(), 2.0);
    QVERIFY(box.verticalScrollBar()->value() > scrolled);
}

void ZoomTest::shownPictureFollowsChangesAndEdgesMapToEdges()
{
    PictureBox box;
    box.setPictureSize(400, 300);
    box.setScale(0.25);
    QVERIFY(Shows(box, {30, 30}, qRgb(255, 255, 255)));
    QPainter(&box.picture()).fillRect(100, 100, 40, 40, Qt::red);
    box.pictureChanged(QRect(100, 100, 40, 40));
    QVERIFY(Shows(box, {30, 30}, qRgb(255, 0, 0)));
    QVERIFY(Shows(box, {10, 10}, qRgb(255, 255, 255)));

    // Pixels written without saying where, then a plain update, as the main window's redraws do.
    for (int y = 220; y < 224; ++y)
        std::fill_n(reinterpret_cast<QRgb *>(box.picture().scanLine(y)) + 220, 4, qRgb(0, 0, 255));
    box.update();
    QVERIFY(Shows(box, {55, 55}, qRgb(0, 0, 255)));

    // At 150 % the first and last widget pixels are the first and last picture pixels.
    box.setScale(1.5);
    QCOMPARE(box.size(), QSize(600, 450));
    QSignalSpy presses(&box, &PictureBox::mouseDown);
    for (const QPoint at : {QPoint(0, 1), QPoint(599, 449), QPoint(3, 4)}) // (0, 0) would mean the middle
        QTest::mousePress(&box, Qt::LeftButton, {}, at);
    const auto pressedAt = [&presses](int n) { return QPoint(presses[n][2].toInt(), presses[n][3].toInt()); };
    QCOMPARE(pressedAt(0), QPoint(0, 1));
    QCOMPARE(pressedAt(1), QPoint(399, 299));
    QCOMPARE(pressedAt(2), QPoint(2, 3));
}

QTEST_MAIN(ZoomTest)
#include "tst_zoom.moc"
