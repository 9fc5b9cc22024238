#include "map_tools.h"

#include "model/hex_regions.h"

namespace vantor {

namespace {

constexpr ClickMode AllModes[] = {ClickMode::Paint,     ClickMode::Fill,      ClickMode::RectangleSelect,
                                  ClickMode::MagicWand, ClickMode::SameTile,  ClickMode::SaveArea,
                                  ClickMode::PasteArea, ClickMode::CopyPlaceName, ClickMode::RoadToggle,
                                  ClickMode::CityCaption, ClickMode::Paste};

} // namespace

MapTools::MapTools(MapDocument &document, const EditorSettings &settings, ToolHost &host, QObject *parent)
    : QObject(parent)
    , selection_(document)
    , paint_(document, settings, selection_)
    , fill_(document, settings, selection_, paint_)
    , rectangleSelect_(document, selection_)
    , magicWand_(document, selection_, MagicWandRegion)
    , sameTile_(document, selection_, SameTileHexes)
    , roadToggle_(document)
    , saveArea_(document, host)
    , pasteArea_(document, host)
    , copyPlaceName_(document)
    , cityCaption_(document, host)
    , paste_(document, settings)
{
    for (const ClickMode mode : AllModes) {
        MapTool &each = tool(mode);
        connect(&each, &MapTool::finished, this, [this] { select(ClickMode::Paint); });
        connect(&each, &MapTool::promptChanged, this, [this, &each] {
            if (&each == &current())
                emit promptChanged();
        });
        connect(&each, &MapTool::previewChanged, this, [this, &each] {
            if (&each == &current())
                emit previewChanged();
        });
    }
}

MapTool &MapTools::tool(ClickMode mode)
{
    switch (mode) {
    case ClickMode::Fill:
        return fill_;
    case ClickMode::RectangleSelect:
        return rectangleSelect_;
    case ClickMode::MagicWand:
        return magicWand_;
    case ClickMode::SameTile:
        return sameTile_;
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
    case ClickMode::Paste:
        return paste_;
    case ClickMode::Paint:
        break;
    }
    return paint_;
}

bool MapTools::OwnsModifiers(ClickMode mode)
{
    return mode == ClickMode::Fill || mode == ClickMode::RectangleSelect || mode == ClickMode::MagicWand ||
           mode == ClickMode::SameTile || mode == ClickMode::Paste;
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
    emit previewChanged();
}

QString MapTools::currentName() const
{
    switch (mode_) {
    case ClickMode::Paint:
        return paint_.isSpraying() ? QStringLiteral("Spray") : QStringLiteral("Brush");
    case ClickMode::Fill:
        return QStringLiteral("Fill");
    case ClickMode::RectangleSelect:
        return QStringLiteral("Rectangle Select");
    case ClickMode::MagicWand:
        return QStringLiteral("Magic Wand");
    case ClickMode::SameTile:
        return QStringLiteral("Select Same Tile");
    case ClickMode::SaveArea:
        return QStringLiteral("Save Area");
    case ClickMode::PasteArea:
        return QStringLiteral("Paste Area");
    case ClickMode::CopyPlaceName:
        return QStringLiteral("Copy Place Name");
    case ClickMode::RoadToggle:
        return QStringLiteral("Road Toggle");
    case ClickMode::CityCaption:
        return QStringLiteral("City Caption");
    case ClickMode::Paste:
        return QStringLiteral("Paste");
    }
    return {};
}

void MapTools::startPaste(ClipboardHexes hexes)
{
    paste_.setHexes(std::move(hexes));
    select(ClickMode::Paste);
}

// Shift, the right button and Ctrl act on the press whatever the tool in use, as they always have,
// but for the tools to which Shift and Ctrl say how to select or fill.
void MapTools::press(const MapPointer &pointer)
{
    if (OwnsModifiers(mode_)) {
        current().press(pointer);
        return;
    }
    if (&current() == &paint_) {
        paint_.press(pointer);
        return;
    }
    if (!paint_.pressAnyTool(pointer))
        current().press(pointer);
}

void MapTools::move(const MapPointer &pointer) { current().move(pointer); }

void MapTools::release(const MapPointer &pointer) { current().release(pointer); }

void MapTools::click(const MapPointer &pointer) { current().click(pointer); }

void MapTools::escape()
{
    if (!current().cancel() && mode_ != ClickMode::Paint)
        select(ClickMode::Paint);
}

} // namespace vantor
