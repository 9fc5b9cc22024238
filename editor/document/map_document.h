#pragma once
// The map being edited: everything a save writes (the hexes, the place-name and city tables, the
// place count and the scenario layout), the file it came from or was last saved to and that file's
// format, and the history of its edits. Every change is a step in the history, so that it can be
// undone and redone, and "modified" means "not at the step last saved or loaded".

#include "document/map_edit.h"
#include "files/map_file_formats.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <memory>

namespace vantor {

class MapDocument : public QObject {
    Q_OBJECT
public:
    // The history keeps at least this many steps.
    static constexpr int HistoryLimit = 200;

    explicit MapDocument(QObject *parent = nullptr);
    ~MapDocument() override;

    const MapContent &content() const { return *content_; }
    const MapStore &map() const { return content_->map; }
    const MapTables &tables() const { return content_->tables; }
    QUndoStack &history() { return history_; }

    const QString &filePath() const { return filePath_; }
    MapFileFormat fileFormat() const { return fileFormat_; }
    bool isModified() const { return !history_.isClean(); }

    // Runs change as one step of the history named name (the undo action reads "Undo " + name).
    // change works on the content in place; the step records only what it changed, and a change
    // that changes nothing is no step. An edit inside another edit belongs to the outer one (a
    // spray stroke is one step made of paint clicks). Edits with the same name and the same
    // non-zero series, one right after the other, are one step (the cells typed into a table and
    // the Done that follows them).
    void edit(const QString &name, const std::function<void(MapContent &)> &change, int series = 0);
    // A series number not used before, for edits that are to be one step.
    int newSeries() { return ++lastSeries_; }
    bool isEditing() const { return editDepth_ > 0; }

    // Reads the file in format (None: by its extension) in place of the content: a fresh history
    // whose start is clean. A refused load, or one whose question is answered Cancel, changes
    // nothing at all.
    LoadResult open(const QString &path, MapFileFormat format = MapFileFormat::None, const MapFileOptions &options = {});
    // Writes the content to path in format (None: by its extension); once written, that is the
    // document's file and this step the clean one.
    LoadResult save(const QString &path, MapFileFormat format = MapFileFormat::None, const MapFileOptions &options = {});
    // Starts afresh from content: no file, and a clean, empty history.
    void start(const MapContent &content);
    // Takes up content recovered after a crash, tied to path and format (empty and None for a map
    // that had no file) so that a save writes it there. It is modified, and its history starts
    // here: there is no step to undo and no clean step to return to.
    void restore(const MapContent &content, const QString &path, MapFileFormat format);
    // Reads the document's file again in its format in place of the content, as one step of the
    // history that is the clean one: an undo brings back what was shown before.
    LoadResult reload(const MapFileOptions &options = {});
    // The content differs from the file's (the file changed elsewhere): a save is due.
    void markModified() { history_.resetClean(); }
    // The map has no file any more (a new map, a converted sketch): a save must ask for one.
    void forgetFile();

    // The bytes the steps of the history hold.
    std::size_t historyFootprint() const;

signals:
    // A step, its undo or its redo changed these hexes; the map kept its size.
    void hexesChanged(const std::vector<HexCoord> &hexes);
    // The map changed its size, or was replaced by a load: every hex may have changed.
    void mapReset();
    // The tables, the place count or the layout changed.
    void tablesChanged();
    void modifiedChanged(bool modified);
    void filePathChanged(const QString &path);

private:
    friend class MapEditCommand;
    // An undo or redo swapped the step into the content.
    void report(const MapEdit &edit);
    void setFile(const QString &path, MapFileFormat format);

    std::unique_ptr<MapContent> content_;
    QUndoStack history_;
    QString filePath_;
    MapFileFormat fileFormat_ = MapFileFormat::None;
    int editDepth_ = 0;
    int lastSeries_ = 0;
};

} // namespace vantor
