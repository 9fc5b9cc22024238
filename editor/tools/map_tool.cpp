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

} // namespace vantor
