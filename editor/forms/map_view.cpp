#include "map_view.h"

#include "picture_box.h"

#include "model/geometry.h"
#include "render/map_patch.h"
#include "render/map_renderer.h"
#include "render/road_overlay.h"

#include <QApplication>

#include <algorithm>

using namespace vantor;

namespace {

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

MapView::MapView(PictureBox &picture, MapDocument &document, const EditorSettings &settings, QObject *parent)
    : QObject(parent)
    , picture_(picture)
    , document_(document)
    , settings_(settings)
{
    connect(&document_, &MapDocument::hexesChanged, this, &MapView::drawHexes);
    connect(&document_, &MapDocument::mapReset, this, [this] { redraw(true); });
}

void MapView::showRoads(bool shown)
{
    if (shown == showsRoads_)
        return;
    showsRoads_ = shown;
    redraw();
}

void MapView::redraw(bool showProgress)
{
    const MapStore &map = document_.map();
    picture_.setPictureSize(MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight));
    tileSets_.setFolder(settings_.programDir);
    {
        const BusyCursor busy;
        std::function<void(int)> progress;
        if (showProgress)
            progress = [this](int) { picture_.repaint(); };
        sets_ = LoadTileSetsOf(map, tileSets_);
        DrawMap(map, sets_, settings_.backgroundColour, picture_.picture(), 0, progress);
        if (showsRoads_)
            DrawRoadOverlay(map, picture_.picture());
        picture_.update();
    }
    emit redrawn();
    if (!sets_.unavailableSets.empty())
        emit setsUnavailable(sets_.unavailableSets);
}

// Only the hexes' cells are drawn and shown anew, so that a zoomed view rescales no more than that.
void MapView::drawHexes(const std::vector<HexCoord> &hexes)
{
    const MapStore &map = document_.map();
    if (PatchBandCount(map, hexes) > PatchBandLimit) {
        redraw();
        return;
    }
    PictureOverlay overlay;
    if (showsRoads_)
        overlay = [&map](QImage &window, int bandTop, int bandLeft) { DrawRoadOverlay(map, window, bandTop, bandLeft); };
    PatchMapPicture(map, setsFor(hexes), settings_.backgroundColour, picture_.picture(), hexes, overlay);
    for (const HexCoord hex : hexes) {
        const PixelRect cell = HexRect(hex.y * map.MapWidth + hex.x, map.MapWidth);
        picture_.pictureChanged(QRect(cell.left, cell.top, TileWidth, TileHeight));
    }
}

const MapTileSets &MapView::setsFor(const std::vector<HexCoord> &hexes)
{
    const MapStore &map = document_.map();
    for (const HexCoord hex : hexes) {
        const int set = map.at(TileSet, hex.x, hex.y);
        const bool known = set >= TileSetCount || !sets_.images[set].isNull() ||
                           std::find(sets_.unavailableSets.begin(), sets_.unavailableSets.end(), set) != sets_.unavailableSets.end();
        if (!known) {
            tileSets_.setFolder(settings_.programDir);
            sets_ = LoadTileSetsOf(map, tileSets_);
            break;
        }
    }
    return sets_;
}
