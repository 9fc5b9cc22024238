#include "map_document.h"

namespace vantor {

namespace {

// Reads the file into read, which holds the content as it is: what the file does not carry (the
// cities, and the places of a format without names) stays.
LoadResult ReadContent(const QString &path, MapFileFormat format, const MapFileOptions &options, MapContent &read,
                       MapFileFormat &formatRead)
{
    MapFileExtras extras{0, read.tables.places};
    LoadResult result = ReadMapFileAs(path, format, read.map, extras, options, &formatRead);
    if (result.outcome != LoadResult::Complete)
        return result;
    read.tables.places = std::move(extras.places);
    read.tables.placeCount = extras.placeCount;
    read.tables.homemade = formatRead == MapFileFormat::HomemadeScenario;
    return result;
}

} // namespace

// A step of the history. It is pushed after its change was made, so its first redo does nothing.
class MapEditCommand : public QUndoCommand {
public:
    MapEditCommand(MapDocument &document, const QString &name, MapEdit edit, int series)
        : QUndoCommand(name)
        , document_(document)
        , edit_(std::move(edit))
        , series_(series)
    {
    }

    // Steps of a series merge; QUndoStack never merges into the step last saved.
    int id() const override { return series_ == 0 || edit_.resizes ? -1 : 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *later = static_cast<const MapEditCommand *>(other);
        if (later->series_ != series_ || later->text() != text() || later->edit_.resizes)
            return false;
        MergeEdits(edit_, later->edit_);
        return true;
    }

    void undo() override { swap(); }
    void redo() override
    {
        if (pushed_)
            swap();
        pushed_ = true;
    }
    const MapEdit &edit() const { return edit_; }

private:
    void swap()
    {
        SwapEdit(*document_.content_, edit_);
        document_.report(edit_);
    }

    MapDocument &document_;
    MapEdit edit_;
    int series_ = 0;
    bool pushed_ = false;
};

MapDocument::MapDocument(QObject *parent)
    : QObject(parent)
    , content_(std::make_unique<MapContent>())
{
    // The limit can be set only while the stack is empty.
    history_.setUndoLimit(HistoryLimit);
    connect(&history_, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

MapDocument::~MapDocument() = default;

void MapDocument::edit(const QString &name, const std::function<void(MapContent &)> &change, int series)
{
    if (editDepth_ > 0) {
        change(*content_);
        return;
    }
    // The map is small (186,480 bytes) and the tables are shared until written: a copy and a
    // comparison cost less than a millisecond and spare every tool from recording its own changes.
    const auto before = std::make_unique<MapContent>(*content_);
    ++editDepth_;
    try {
        change(*content_);
    } catch (...) {
        --editDepth_;
        throw;
    }
    --editDepth_;
    MapEdit step = DiffContent(*before, *content_);
    if (step.isEmpty())
        return;
    auto *command = new MapEditCommand(*this, name, step, series);
    // A merged command is gone once pushed: the step is reported from its own copy.
    history_.push(command);
    report(step);
}

LoadResult MapDocument::open(const QString &path, MapFileFormat format, const MapFileOptions &options)
{
    // Read beside the content, so that a refused file leaves it as it was.
    auto read = std::make_unique<MapContent>(*content_);
    MapFileFormat formatRead = format;
    LoadResult result = ReadContent(path, format, options, *read, formatRead);
    if (result.outcome != LoadResult::Complete)
        return result;
    content_ = std::move(read);
    history_.clear();
    setFile(path, formatRead);
    emit mapReset();
    emit tablesChanged();
    return result;
}

LoadResult MapDocument::reload(const MapFileOptions &options)
{
    MapContent read = content();
    MapFileFormat formatRead = fileFormat_;
    LoadResult result = ReadContent(filePath_, fileFormat_, options, read, formatRead);
    if (result.outcome != LoadResult::Complete)
        return result;
    edit(QStringLiteral("Reload"), [&](MapContent &content) { content = std::move(read); });
    history_.setClean();
    return result;
}

LoadResult MapDocument::save(const QString &path, MapFileFormat format, const MapFileOptions &options)
{
    const MapFileExtras extras{tables().placeCount, tables().places};
    MapFileFormat written = format;
    LoadResult result = WriteMapFileAs(path, format, map(), extras, options, &written);
    if (result.outcome != LoadResult::Complete)
        return result;
    history_.setClean();
    setFile(path, written);
    return result;
}

void MapDocument::start(const MapContent &content)
{
    *content_ = content;
    history_.clear();
    setFile({}, MapFileFormat::None);
    emit mapReset();
    emit tablesChanged();
}

void MapDocument::restore(const MapContent &content, const QString &path, MapFileFormat format)
{
    start(content);
    setFile(path, format);
    history_.resetClean();
}

void MapDocument::forgetFile() { setFile({}, MapFileFormat::None); }

std::size_t MapDocument::historyFootprint() const
{
    std::size_t bytes = 0;
    for (int i = 0; i < history_.count(); ++i)
        bytes += static_cast<const MapEditCommand *>(history_.command(i))->edit().footprint();
    return bytes;
}

void MapDocument::report(const MapEdit &edit)
{
    if (edit.resizes)
        emit mapReset();
    else if (!edit.hexes.empty())
        emit hexesChanged(edit.changedHexes());
    if (edit.tables)
        emit tablesChanged();
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
