#include "map_overlay.h"

#include "map_view.h"
#include "map_zoom.h"
#include "picture_box.h"

#include "render/hex_outlines.h"

#include <QPainter>

using namespace vantor;

namespace {

// A dark line under a light one reads on sea and on land alike.
void DrawOutline(QPainter &painter, const std::vector<QLineF> &lines, const QColor &colour, int width)
{
    if (lines.empty())
        return;
    QPen under(QColor(0, 0, 0, 160), width + 2);
    under.setCosmetic(true);
    painter.setPen(under);
    painter.drawLines(lines.data(), int(lines.size()));
    QPen over(colour, width);
    over.setCosmetic(true);
    painter.setPen(over);
    painter.drawLines(lines.data(), int(lines.size()));
}

QRectF Bounds(const std::vector<QLineF> &lines)
{
    QRectF bounds;
    for (const QLineF &line : lines)
        bounds |= QRectF(line.p1(), line.p2()).normalized();
    return bounds;
}

} // namespace

MapOverlay::MapOverlay(PictureBox &picture, const MapDocument &document, MapTools &tools, const MapView &view,
                       const MapZoom &zoom, QObject *parent)
    : QObject(parent)
    , picture_(picture)
    , document_(document)
    , tools_(tools)
    , view_(view)
    , zoom_(zoom)
{
    picture_.setOverlay([this](QPainter &painter) { draw(painter); });
    connect(&tools_.selection(), &MapSelection::changed, this, [this] { setOutline(selection_, tools_.selection().hexes()); });
    connect(&tools_, &MapTools::previewChanged, this, [this] {
        drawToolHexes();
        setOutline(tool_, tools_.current().preview().outline);
    });
    connect(&zoom_, &MapZoom::visibleAreaChanged, this, [this] {
        if (!hexes_.image.isNull())
            drawToolHexes();
    });
}

void MapOverlay::hideToolOutline()
{
    if (!hexes_.image.isNull()) {
        update(QRectF(hexes_.topLeft, hexes_.image.size()));
        hexes_ = {};
    }
    setOutline(tool_, {});
}

void MapOverlay::drawToolHexes()
{
    const QRectF before = hexes_.image.isNull() ? QRectF() : QRectF(hexes_.topLeft, hexes_.image.size());
    const auto &hexes = tools_.current().preview().hexes;
    hexes_ = hexes.empty() ? PreviewPicture{}
                           : DrawHexPreview(hexes, view_.sets(), document_.map().MapWidth,
                                            zoom_.visibleArea().toAlignedRect());
    update(before | (hexes_.image.isNull() ? QRectF() : QRectF(hexes_.topLeft, hexes_.image.size())));
}

void MapOverlay::setOutline(Outline &outline, const HexSet &hexes)
{
    const QRectF before = outline.bounds;
    outline.lines = RegionOutline(hexes);
    outline.bounds = Bounds(outline.lines);
    update(before | outline.bounds);
}

void MapOverlay::draw(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!hexes_.image.isNull()) {
        painter.setOpacity(PreviewOpacity);
        painter.drawImage(hexes_.topLeft, hexes_.image);
        painter.setOpacity(1);
    }
    DrawOutline(painter, selection_.lines, QColor(255, 230, 0), 2);
    DrawOutline(painter, tool_.lines, Qt::white, 1);
}

// The pens are up to four screen pixels wide whatever the zoom: the area grows by as much.
void MapOverlay::update(const QRectF &pictureArea)
{
    if (pictureArea.isNull())
        return;
    const QRectF shown(picture_.toWidget(pictureArea.topLeft()), picture_.toWidget(pictureArea.bottomRight()));
    picture_.update(shown.toAlignedRect().adjusted(-4, -4, 4, 4));
}
