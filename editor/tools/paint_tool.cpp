#include "paint_tool.h"

#include <QRandomGenerator>

namespace vantor {

namespace {

const QString PickTileHint = QStringLiteral("Pick a tile in the Tiles window");

} // namespace

PaintTool::PaintTool(MapDocument &document, const EditorSettings &settings, QObject *parent)
    : MapTool(document, parent)
    , settings_(settings)
    , sprayRandom_(QRandomGenerator::global()->generate())
{
    // What the last paint replaced belongs to the map it was painted on.
    connect(&document, &MapDocument::mapReset, this, [this] { lastPaint_ = {}; });
}

void PaintTool::setPick(const TilePick &pick)
{
    if (pick == pick_)
        return;
    pick_ = pick;
    emit pickChanged();
}

void PaintTool::press(const MapPointer &pointer)
{
    const MapStore &map = document().map();
    if (pointer.shift() && pointer.button == Qt::LeftButton) {
        if (pointer.hex)
            anchor_ = *pointer.hex;
    } else if (pointer.shift() && pointer.button == Qt::RightButton) {
        // The anchor may lie outside a map made smaller since it was picked.
        if (pointer.hex && IsOnMap(map, anchor_.x, anchor_.y))
            document().edit(QStringLiteral("Copy Hex"), [&](MapContent &content) { CopyHex(content.map, anchor_, *pointer.hex); });
    } else if (pointer.button == Qt::RightButton) {
        document().edit(QStringLiteral("Restore Hex"), [this](MapContent &content) { RestorePaint(content.map, lastPaint_); });
    }
}

void PaintTool::click(const MapPointer &pointer)
{
    if (pointer.shift() || !pointer.hex)
        return;
    if (spraying_)
        spray(*pointer.hex);
    else
        paint(*pointer.hex);
}

// Painting needs a tile picked in the palette; until then a click paints nothing.
void PaintTool::paint(HexCoord hex)
{
    if (!pick_.isPicked()) {
        setPrompt(PickTileHint);
        return;
    }
    if (prompt() == PickTileHint)
        setPrompt({});
    document().edit(QStringLiteral("Paint"), [&](MapContent &content) {
        lastPaint_ = PaintHex(content.map, hex, pick_.set, pick_.tile, settings_.defaultTerrain);
    });
}

// The whole stroke is one step of the history.
void PaintTool::spray(HexCoord centre)
{
    document().edit(QStringLiteral("Spray"), [&](MapContent &content) {
        for (const HexCoord hex : SprayHexes(content.map, centre, settings_.sprayRadius)) {
            const int r = 1 + int(sprayRandom_() % 100);
            if (r < settings_.sprayDensity)
                paint(hex);
        }
    });
}

} // namespace vantor
