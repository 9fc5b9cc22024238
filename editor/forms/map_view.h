#pragma once
// The map picture as a view of the document: it draws the hexes each step reports changed, from
// the map, through the renderer, and the whole picture when the map is resized or replaced. Only
// the view draws the picture.

#include "document/editor_settings.h"
#include "document/map_document.h"
#include "render/map_renderer.h"
#include "render/tile_set_library.h"

#include <QObject>

#include <optional>
#include <vector>

class PictureBox;

class MapView : public QObject {
    Q_OBJECT
public:
    // A step that reaches more bands of the picture than this is drawn as a full redraw.
    static constexpr int PatchBandLimit = 16;

    MapView(PictureBox &picture, vantor::MapDocument &document, const vantor::EditorSettings &settings,
            QObject *parent = nullptr);

    bool showsRoads() const { return showsRoads_; }
    // Shows or hides the road overlay.
    void showRoads(bool shown);

    // Sizes the picture for the map and draws it whole; with progress, the picture is shown after
    // each tile set.
    void redraw(bool showProgress = false);

    vantor::TileSetLibrary &tileSets() { return tileSets_; }
    // The tile sets the picture was last drawn with.
    const vantor::MapTileSets &sets() const { return sets_; }

signals:
    // A full redraw found sets the map uses missing or unreadable.
    void setsUnavailable(const std::vector<int> &sets);
    // The picture was drawn whole.
    void redrawn();

private:
    void drawHexes(const std::vector<vantor::HexCoord> &hexes);
    // The sets of the last full redraw serve the patches; when a changed hex takes up a set they
    // lack, the sets are read again.
    const vantor::MapTileSets &setsFor(const std::vector<vantor::HexCoord> &hexes);

    PictureBox &picture_;
    vantor::MapDocument &document_;
    const vantor::EditorSettings &settings_;
    vantor::TileSetLibrary tileSets_;
    vantor::MapTileSets sets_;
    bool showsRoads_ = false;
};
