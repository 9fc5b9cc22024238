#include "place_tools.h"

#include "tools/place_names.h"

namespace vantor {

void CopyPlaceNameTool::start()
{
    source_.reset();
    setPrompt(QStringLiteral("Click on name to Copy."));
}

void CopyPlaceNameTool::click(const MapPointer &pointer)
{
    if (!source_) {
        // No place there: wait for another source.
        const int place = pointer.hex ? PlaceReferenceOf(document().map(), *pointer.hex) : NoPlace;
        if (place >= NoPlace)
            return;
        source_ = place;
        setPrompt(QStringLiteral("Click destination(s). Shift click to exit"));
    } else if (pointer.shift()) {
        emit finished();
    } else if (pointer.hex) {
        const int place = *source_;
        document().edit(QStringLiteral("Copy Place Name"),
                        [&](MapContent &content) { SetPlaceReference(content.map, *pointer.hex, place); });
    }
}

CityCaptionTool::CityCaptionTool(MapDocument &document, ToolHost &host, QObject *parent)
    : MapTool(document, parent)
    , host_(host)
{
}

void CityCaptionTool::start() { setPrompt(QStringLiteral("City Caption: click hexes. Uncaption to end.")); }

void CityCaptionTool::choose(Action action, int row)
{
    action_ = action;
    row_ = row;
    emit actionChanged();
}

void CityCaptionTool::putDown() { choose(Action::None, 0); }

void CityCaptionTool::click(const MapPointer &pointer)
{
    if (action_ == Action::None || !pointer.hex)
        return;
    QString error;
    document().edit(QStringLiteral("City Caption"), [&](MapContent &content) {
        if (action_ == Action::Caption)
            error = CaptionHexWithCity(content.map, content.tables.cities, row_, *pointer.hex);
        else
            ClearCityHex(content.map, content.tables.cities, row_, *pointer.hex);
    });
    if (!error.isEmpty())
        host_.showError(error);
}

} // namespace vantor
