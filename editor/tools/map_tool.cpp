#include "map_tool.h"

namespace vantor {

MapTool::MapTool(MapDocument &document, QObject *parent)
    : QObject(parent)
    , document_(document)
{
}

void MapTool::setPrompt(const QString &text, ColourValue colour)
{
    prompt_ = text;
    promptColour_ = colour;
    emit promptChanged();
}

void MapTool::setPreview(ToolPreview preview)
{
    if (preview.outline == preview_.outline && preview.hexes.empty() && preview_.hexes.empty())
        return;
    preview_ = std::move(preview);
    emit previewChanged();
}

} // namespace vantor
