#include "map_document.h"

#include <memory>

namespace vantor {

// A step of the history. It is pushed after its change was made, so its first redo does nothing.
class MapEditCommand : public QUndoCommand {
public:
    MapEditCommand(MapDocument &document, const QString &name, MapEdit edit)
        : QUndoCommand(name)
        , document_(document)
        , edit_(std::move(edit))
    {
    }

    void undo() override { swap(edit_.tablesBefore); }
    void redo() override
    {
        if (pushed_)
            swap(edit_.tablesAfter);
        pushed_ = true;
    }
    const MapEdit &edit() const { return edit_; }

private:
    void swap(const MapTables &tablesNow)
    {
        SwapEdit(document_.map(), edit_);
        document_.stepApplied(edit_, tablesNow);
    }

    MapDocument &document_;
    MapEdit edit_;
    bool pushed_ = false;
};

MapDocument::MapDocument(MapStore &map, QObject *parent)
    : QObject(parent)
    , map_(map)
{
    // The limit can be set only while the stack is empty.
    history_.setUndoLimit(HistoryLimit);
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

void MapDocument::edit(const QString &name, const std::function<void()> &change, MapTables *tables)
{
    if (editDepth_ > 0) {
        change();
        return;
    }
    // The map is small (186,480 bytes): a copy and a comparison cost less than a millisecond and
    // spare every tool from recording its own changes.
    const auto before = std::make_unique<MapStore>(map_);
    const MapTables tablesBefore = tables ? *tables : MapTables{};
    ++editDepth_;
    try {
        change();
    } catch (...) {
        --editDepth_;
        throw;
    }
    --editDepth_;
    MapEdit step = DiffMaps(*before, map_);
    if (tables)
        DiffTables(tablesBefore, *tables, step);
    if (!step.isEmpty())
        history_.push(new MapEditCommand(*this, name, std::move(step)));
}

void MapDocument::loaded(const QString &path, MapFileFormat format)
{
    history_.clear();
    setFile(path, format);
}

void MapDocument::saved(const QString &path, MapFileFormat format)
{
    history_.setClean();
    setFile(path, format);
}

std::size_t MapDocument::historyFootprint() const
{
    std::size_t bytes = 0;
    for (int i = 0; i < history_.count(); ++i)
        bytes += static_cast<const MapEditCommand *>(history_.command(i))->edit().footprint();
    return bytes;
}

void MapDocument::stepApplied(const MapEdit &edit, const MapTables &tables)
{
    if (edit.resizes || int(edit.hexes.size()) > PatchLimit) {
        emit mapChanged();
    } else if (!edit.hexes.empty()) {
        std::vector<HexCoord> hexes;
        hexes.reserve(edit.hexes.size());
        for (const HexChange &change : edit.hexes)
            hexes.push_back(change.hex());
        emit hexesChanged(hexes);
    }
    if (tables.places || tables.cities)
        emit tablesRestored(tables);
}

void MapDocument::setFile(const QString &path, MapFileFormat format)
{
    const bool pathChanged = path != filePath_;
    filePath_ = path;
    fileFormat_ = format;
    if (pathChanged)
        emit filePathChanged(path);
}

} // namespace vantor
