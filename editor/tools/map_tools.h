#pragma once
// The tools of the map window and the one in use. The brush is in use unless another tool is
// taken up; a command that ends, or is put down for another, hands the map back to the brush. The
// window hands every mouse event on the map here, and this hands it to the tool it belongs to.

#include "tools/area_tools.h"
#include "tools/fill_tool.h"
#include "tools/map_selection.h"
#include "tools/paint_tool.h"
#include "tools/paste_tool.h"
#include "tools/place_tools.h"
#include "tools/road_toggle_tool.h"
#include "tools/selection_tools.h"

namespace vantor {

// What a click on the map means.
enum class ClickMode {
    Paint,
    Fill,
    RectangleSelect,
    MagicWand,
    SameTile,
    SaveArea,
    PasteArea,
    CopyPlaceName,
    RoadToggle,
    CityCaption,
    Paste,
};

class MapTools : public QObject {
    Q_OBJECT
public:
    MapTools(MapDocument &document, const EditorSettings &settings, ToolHost &host, QObject *parent = nullptr);

    PaintTool &paint() { return paint_; }
    FillTool &fill() { return fill_; }
    RoadToggleTool &roadToggle() { return roadToggle_; }
    SaveAreaTool &saveArea() { return saveArea_; }
    PasteAreaTool &pasteArea() { return pasteArea_; }
    CopyPlaceNameTool &copyPlaceName() { return copyPlaceName_; }
    CityCaptionTool &cityCaption() { return cityCaption_; }
    PasteTool &paste() { return paste_; }
    MapSelection &selection() { return selection_; }

    ClickMode mode() const { return mode_; }
    MapTool &current() { return tool(mode_); }
    // Puts down the tool in use and takes up the one of mode, from its first click.
    void select(ClickMode mode);
    // The name of the tool in use, as the status bar shows it.
    QString currentName() const;
    // Edit > Paste: takes up the paste tool with the hexes picked up from the clipboard.
    void startPaste(ClipboardHexes hexes);

    // The mouse on the map.
    void press(const MapPointer &pointer);
    void move(const MapPointer &pointer);
    void release(const MapPointer &pointer);
    void click(const MapPointer &pointer);
    // Escape: ends what the tool in use is in the middle of, or else the tool itself.
    void escape();
    // The pointer or the keyboard went elsewhere: a drag under way ends as it is.
    void interrupt() { current().cancel(); }

signals:
    void modeChanged(ClickMode previous, ClickMode now);
    // The prompt of the tool in use changed.
    void promptChanged();
    // What the tool in use shows over the map changed.
    void previewChanged();

private:
    MapTool &tool(ClickMode mode);
    // The tools to which Shift, Ctrl or the right button mean something of their own.
    static bool OwnsModifiers(ClickMode mode);

    MapSelection selection_;
    PaintTool paint_;
    FillTool fill_;
    RectangleSelectTool rectangleSelect_;
    ClickSelectTool magicWand_;
    ClickSelectTool sameTile_;
    RoadToggleTool roadToggle_;
    SaveAreaTool saveArea_;
    PasteAreaTool pasteArea_;
    CopyPlaceNameTool copyPlaceName_;
    CityCaptionTool cityCaption_;
    PasteTool paste_;
    ClickMode mode_ = ClickMode::Paint;
};

} // namespace vantor
