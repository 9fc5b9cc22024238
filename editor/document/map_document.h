#pragma once
// The map being edited: the map itself, the file it came from or was last saved to and that
// file's format, and the history of its edits. Every change to the map is a step in the history,
// so that it can be undone and redone, and "modified" means "not at the step last saved or loaded".

#include "document/map_edit.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

namespace vantor {

enum class MapFileFormat { None, NativeMap, AsciiMap, RegularScenario, HomemadeScenario };

class MapDocument : public QObject {
    Q_OBJECT
public:
    // The history keeps at least this many steps.
    static constexpr int HistoryLimit = 200;
    // An undo or redo that touches at most this many hexes patches them; more redraw the picture.
    static constexpr int PatchLimit = 8;

    // Edits map, which outlives the document.
    explicit MapDocument(MapStore &map, QObject *parent = nullptr);

    MapStore &map() { return map_; }
    const MapStore &map() const { return map_; }
    QUndoStack &history() { return history_; }

    const QString &filePath() const { return filePath_; }
    MapFileFormat fileFormat() const { return fileFormat_; }
    bool isModified() const { return !history_.isClean(); }

    // Runs change as one step of the history named name (the undo action reads "Undo " + name).
    // change works on the map, and on the tables given, in place; the step records only what it
    // changed, and a change that changes nothing is no step. An edit inside another edit belongs to
    // the outer one (a spray stroke is one step made of paint clicks).
    void edit(const QString &name, const std::function<void()> &change, MapTables *tables = nullptr);
    bool isEditing() const { return editDepth_ > 0; }

    // A file was loaded into the map: a fresh history whose start is clean.
    void loaded(const QString &path, MapFileFormat format);
    // The map was written to path in format: this step is now the clean one.
    void saved(const QString &path, MapFileFormat format);

    // The bytes the steps of the history hold.
    std::size_t historyFootprint() const;

signals:
    // An undo or redo changed these hexes (the map kept its size).
    void hexesChanged(const std::vector<HexCoord> &hexes);
    // An undo or redo changed the map's size or more hexes than are worth patching.
    void mapChanged();
    // An undo or redo put back tables of the place-name or city window.
    void tablesRestored(const MapTables &tables);
    void modifiedChanged(bool modified);
    void filePathChanged(const QString &path);

private:
    friend class MapEditCommand;
    // An undo or redo swapped the step into the map; tables are those the windows show now.
    void stepApplied(const MapEdit &edit, const MapTables &tables);
    void setFile(const QString &path, MapFileFormat format);

    MapStore &map_;
    QUndoStack history_;
    QString filePath_;
    MapFileFormat fileFormat_ = MapFileFormat::None;
    int editDepth_ = 0;
};

} // namespace vantor
