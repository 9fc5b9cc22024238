#pragma once
// The tools of the map window and the one in use. Painting is in use unless a command collects
// clicks; a command that ends, or is put down for another, hands the map back to painting.

#include "tools/area_tools.h"
#include "tools/paint_tool.h"
#include "tools/place_tools.h"
#include "tools/road_toggle_tool.h"

namespace vantor {

// What a click on the map means.
enum class ClickMode { Paint, SaveArea, PasteArea, CopyPlaceName, RoadToggle, CityCaption };

class MapTools : public QObject {
    Q_OBJECT
public:
    MapTools(MapDocument &document, const EditorSettings &settings, ToolHost &host, QObject *parent = nullptr);

    PaintTool &paint() { return paint_; }
    RoadToggleTool &roadToggle() { return roadToggle_; }
    SaveAreaTool &saveArea() { return saveArea_; }
    PasteAreaTool &pasteArea() { return pasteArea_; }
    CopyPlaceNameTool &copyPlaceName() { return copyPlaceName_; }
    CityCaptionTool &cityCaption() { return cityCaption_; }

    ClickMode mode() const { return mode_; }
    MapTool &current() { return tool(mode_); }
    // Puts down the tool in use and takes up the one of mode, from its first click.
    void select(ClickMode mode);

signals:
    void modeChanged(ClickMode previous, ClickMode now);
    // The prompt of the tool in use changed.
    void promptChanged();

private:
    MapTool &tool(ClickMode mode);

    PaintTool paint_;
    RoadToggleTool roadToggle_;
    SaveAreaTool saveArea_;
    PasteAreaTool pasteArea_;
    CopyPlaceNameTool copyPlaceName_;
    CityCaptionTool cityCaption_;
    ClickMode mode_ = ClickMode::Paint;
};

} // namespace vantor
