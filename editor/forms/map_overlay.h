#pragma once
// What the map window shows over the picture without being part of it: the outline of the
// selection, what the tool in use would act on at the pointer (the brush, a paste), and a paste's
// hexes, half-transparent. It is drawn at every zoom and redrawn only where it changed.

#include "render/hex_preview.h"
#include "tools/map_tools.h"

#include <QLineF>
#include <QObject>
#include <QRectF>

#include <vector>

class MapView;
class MapZoom;
class PictureBox;
class QPainter;

class MapOverlay : public QObject {
    Q_OBJECT
public:
    MapOverlay(PictureBox &picture, const vantor::MapDocument &document, vantor::MapTools &tools, const MapView &view,
               const MapZoom &zoom, QObject *parent = nullptr);

    // The opacity of a paste's hexes over the map.
    static constexpr double PreviewOpacity = 0.7;

    const std::vector<QLineF> &selectionOutline() const { return selection_.lines; }
    const std::vector<QLineF> &toolOutline() const { return tool_.lines; }
    const vantor::PreviewPicture &toolHexes() const { return hexes_; }

    // The pointer left the map: the tool's outline goes with it.
    void hideToolOutline();

private:
    struct Outline {
        std::vector<QLineF> lines;
        QRectF bounds; // in picture pixels
    };
    void setOutline(Outline &outline, const vantor::HexSet &hexes);
    // The tool's hexes are drawn only where the window shows them, so a scroll draws them again.
    void drawToolHexes();
    void draw(QPainter &painter) const;
    void update(const QRectF &pictureArea);

    PictureBox &picture_;
    const vantor::MapDocument &document_;
    vantor::MapTools &tools_;
    const MapView &view_;
    const MapZoom &zoom_;
    vantor::PreviewPicture hexes_;
    Outline selection_;
    Outline tool_;
};
