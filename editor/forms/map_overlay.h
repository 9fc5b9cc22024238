#pragma once
// What the map window shows over the picture without being part of it: the outline of the
// selection, and what the tool in use would act on at the pointer (the brush, a paste). It is drawn
// at every zoom and redrawn only where it changed.

#include "tools/map_tools.h"

#include <QLineF>
#include <QObject>
#include <QRectF>

#include <vector>

class PictureBox;
class QPainter;

class MapOverlay : public QObject {
    Q_OBJECT
public:
    MapOverlay(PictureBox &picture, vantor::MapTools &tools, QObject *parent = nullptr);

    const std::vector<QLineF> &selectionOutline() const { return selection_.lines; }
    const std::vector<QLineF> &toolOutline() const { return tool_.lines; }

    // The pointer left the map: the tool's outline goes with it.
    void hideToolOutline();

private:
    struct Outline {
        std::vector<QLineF> lines;
        QRectF bounds; // in picture pixels
    };
    void setOutline(Outline &outline, const vantor::HexSet &hexes);
    void draw(QPainter &painter) const;
    void update(const QRectF &pictureArea);

    PictureBox &picture_;
    vantor::MapTools &tools_;
    Outline selection_;
    Outline tool_;
};
