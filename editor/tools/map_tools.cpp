#include "map_tools.h"

namespace vantor {

MapTools::MapTools(MapDocument &document, const EditorSettings &settings, ToolHost &host, QObject *parent)
    : QObject(parent)
    , paint_(document, settings)
    , roadToggle_(document)
    , saveArea_(document, host)
    , pasteArea_(document, host)
    , copyPlaceName_(document)
    , cityCaption_(document, host)
{
    for (const ClickMode mode : {ClickMode::Paint, ClickMode::SaveArea, ClickMode::PasteArea, ClickMode::CopyPlaceName,
                                 ClickMode::RoadToggle, ClickMode::CityCaption}) {
        MapTool &each = tool(mode);
        connect(&each, &MapTool::finished, this, [this] { select(ClickMode::Paint); });
        connect(&each, &MapTool::promptChanged, this, [this, &each] {
            if (&each == &current())
                emit promptChanged();
        });
    }
}

MapTool &MapTools::tool(ClickMode mode)
{
    switch (mode) {
    case ClickMode::SaveArea:
        return saveArea_;
    case ClickMode::PasteArea:
        return pasteArea_;
    case ClickMode::CopyPlaceName:
        return copyPlaceName_;
    case ClickMode::RoadToggle:
        return roadToggle_;
    case ClickMode::CityCaption:
        return cityCaption_;
    case ClickMode::Paint:
        break;
    }
    return paint_;
}

void MapTools::select(ClickMode mode)
{
    const ClickMode previous = mode_;
    if (previous != mode)
        current().putDown();
    mode_ = mode;
    current().start();
    if (previous != mode)
        emit modeChanged(previous, mode);
    emit promptChanged();
}

} // namespace vantor
