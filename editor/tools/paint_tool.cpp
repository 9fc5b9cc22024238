#include "paint_tool.h"

#include "model/hex_cube.h"
#include "model/hex_regions.h"

#include <QRandomGenerator>

namespace vantor {

namespace {

const QString PickTileHint = QStringLiteral("Pick a tile in the Tiles window");
const QString PaintStep = QStringLiteral("Paint");

} // namespace

PaintTool::PaintTool(MapDocument &document, const EditorSettings &settings, const MapSelection &selection, QObject *parent)
    : MapTool(document, parent)
    , settings_(settings)
    , selection_(selection)
    , sprayRandom_(QRandomGenerator::global()->generate())
{
    // What the last paint replaced belongs to the map it was painted on.
    connect(&document, &MapDocument::mapReset, this, [this] {
        lastPaint_ = {};
        strokeSeries_.reset();
    });
}

void PaintTool::setPick(const TilePick &pick)
{
    if (pick == pick_)
        return;
    pick_ = pick;
    emit pickChanged();
}

void PaintTool::pickTileOf(HexCoord hex)
{
    const MapStore &map = document().map();
    const int set = map.at(TileSet, hex.x, hex.y);
    if (set < TileSetCount)
        setPick({set, map.at(TileIndex, hex.x, hex.y)});
}

void PaintTool::setBrushRadius(int radius)
{
    radius = std::clamp(radius, 0, LargestBrushRadius);
    if (radius == brushRadius_)
        return;
    brushRadius_ = radius;
    emit brushChanged();
}

bool PaintTool::pressAnyTool(const MapPointer &pointer)
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
    } else if (pointer.control() && pointer.button == Qt::LeftButton) {
        if (pointer.hex)
            pickTileOf(*pointer.hex);
    } else {
        return false;
    }
    return true;
}

// Modifiers count as they were at the press: keys pressed during a stroke change nothing.
void PaintTool::press(const MapPointer &pointer)
{
    if (pressAnyTool(pointer) || pointer.button != Qt::LeftButton || !pointer.hex || spraying_ || !requirePick())
        return;
    strokeSeries_ = document().newSeries();
    strokeHex_ = *pointer.hex;
    paintAlong({strokeHex_});
}

void PaintTool::move(const MapPointer &pointer)
{
    showBrushAt(pointer.hex);
    if (!strokeSeries_ || pointer.nearHex == strokeHex_)
        return;
    // However fast the pointer moved, the stroke goes through every hex between.
    std::vector<HexCoord> path = HexLine(strokeHex_, pointer.nearHex);
    path.erase(path.begin());
    strokeHex_ = pointer.nearHex;
    paintAlong(path);
}

void PaintTool::release(const MapPointer &pointer)
{
    if (pointer.button == Qt::LeftButton)
        cancel();
}

bool PaintTool::cancel()
{
    const bool stroking = strokeSeries_.has_value();
    strokeSeries_.reset();
    return stroking;
}

void PaintTool::click(const MapPointer &pointer)
{
    if (spraying_ && !pointer.shift() && !pointer.control() && pointer.hex && requirePick())
        spray(*pointer.hex);
}

bool PaintTool::requirePick()
{
    if (!pick_.isPicked()) {
        setPrompt(PickTileHint);
        return false;
    }
    if (prompt() == PickTileHint)
        setPrompt({});
    return true;
}

void PaintTool::paintAlong(const std::vector<HexCoord> &path)
{
    const MapStore &map = document().map();
    HexSet dabs;
    for (const HexCoord centre : path)
        dabs |= BrushHexes(map, centre, brushRadius_);
    if (!selection_.isEmpty())
        dabs &= selection_.hexes();
    if (dabs.empty())
        return;
    const HexCoord last = path.back();
    document().edit(PaintStep, [&](MapContent &content) {
        const std::vector<HexCoord> hexes = dabs.hexes();
        for (const HexCoord hex : hexes) {
            const PaintRecord replaced = PaintHex(content.map, hex, pick_.set, pick_.tile, settings_.defaultTerrain);
            if (hex == last)
                lastPaint_ = replaced;
        }
        ShapeAfterPainting(content.map, hexes, settings_);
    }, *strokeSeries_);
}

// The whole stroke is one step of the history.
void PaintTool::spray(HexCoord centre)
{
    document().edit(QStringLiteral("Spray"), [&](MapContent &content) {
        for (const HexCoord hex : SprayHexes(content.map, centre, settings_.sprayRadius)) {
            const int r = 1 + int(sprayRandom_() % 100);
            if (r < settings_.sprayDensity)
                lastPaint_ = PaintHex(content.map, hex, pick_.set, pick_.tile, settings_.defaultTerrain);
        }
    });
}

void PaintTool::showBrushAt(std::optional<HexCoord> hex)
{
    ToolPreview preview;
    if (hex && !spraying_)
        preview.outline = BrushHexes(document().map(), *hex, brushRadius_);
    setPreview(std::move(preview));
}

} // namespace vantor
