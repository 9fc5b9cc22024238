#include "area_tools.h"

#include "files/ascii_map_file.h"

#include <QFileInfo>

namespace vantor {

SaveAreaTool::SaveAreaTool(MapDocument &document, ToolHost &host, QObject *parent)
    : MapTool(document, parent)
    , host_(host)
{
}

void SaveAreaTool::start()
{
    step_ = Step::UpperLeft;
    setPrompt(QStringLiteral("Click Upper Left"));
}

void SaveAreaTool::putDown() { step_ = Step::UpperLeft; }

void SaveAreaTool::fail(const QString &prompt)
{
    step_ = Step::Failed;
    setPrompt(prompt, PromptRed);
}

// A click beside the map picks nothing.
void SaveAreaTool::click(const MapPointer &pointer)
{
    switch (step_) {
    case Step::UpperLeft:
        if (!pointer.hex)
            return;
        upperLeft_ = *pointer.hex;
        step_ = Step::LowerRight;
        setPrompt(QStringLiteral("Now click on lower right"));
        return;
    case Step::LowerRight:
        break;
    case Step::Failed:
        emit finished();
        return;
    }
    if (!pointer.hex)
        return;
    const MapStore &map = document().map();
    const HexCoord first = upperLeft_;
    const HexCoord second = *pointer.hex;
    const int width = second.x + 1 - first.x;
    const int height = second.y + 1 - first.y;
    // The first hex may lie off a map made smaller since it was clicked.
    if (!IsOnMap(map, first.x, first.y) || width < 0 || height < 0 || (width == 0 && height == 0)) {
        fail(QStringLiteral("Invalid area. Click map to abort."));
        return;
    }
    setPrompt(QStringLiteral("Pick save file"));
    const QString fileName = host_.askAreaFileToSave();
    if (fileName.isEmpty()) {
        fail(QStringLiteral("No save. Click map to abort."));
        return;
    }
    emit finished();
    if (QFileInfo::exists(fileName) && !host_.confirmOverwrite(fileName))
        return;
    if (const QString error = SaveArea(fileName, map, first.x, first.y, second.x + 1, second.y + 1); !error.isEmpty())
        host_.inform(QStringLiteral("Area Not Saved"), error);
}

PasteAreaTool::PasteAreaTool(MapDocument &document, ToolHost &host, QObject *parent)
    : MapTool(document, parent)
    , host_(host)
{
}

void PasteAreaTool::start()
{
    failed_ = false;
    setPrompt(QStringLiteral("Click on upper left of paste area."));
}

void PasteAreaTool::click(const MapPointer &pointer)
{
    if (failed_) {
        emit finished();
        return;
    }
    if (!pointer.hex)
        return;
    const QString fileName = host_.askAreaFileToPaste();
    if (fileName.isEmpty()) {
        failed_ = true;
        setPrompt(QStringLiteral("Paste aborted. Click map to continue."), PromptRed);
        return;
    }
    LoadResult result;
    document().edit(QStringLiteral("Paste"),
                    [&](MapContent &content) { result = PasteArea(fileName, content.map, pointer.hex->x, pointer.hex->y); });
    emit finished();
    if (result.outcome != LoadResult::Complete)
        host_.showLoadProblem(result);
}

} // namespace vantor
