#pragma once
// The settings of the editor as a whole, apart from any map: handed to every window and tool that
// needs one of them.

#include "model/colour_value.h"
#include "model/terrain_tables.h"

#include <QObject>
#include <QStringList>

namespace vantor {

// File > Recent Maps: the last maps opened or saved, remembered between runs.
class RecentMapList : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxEntries = 8;

    // Reads the remembered list.
    RecentMapList();

    const QStringList &files() const { return files_; }
    // Puts path first, once.
    void add(const QString &path);
    void remove(const QString &path);

signals:
    void changed();

private:
    void store();

    QStringList files_;
};

// Options > Keep a Backup When Saving, remembered between runs; on unless turned off.
bool ReadKeepBackups();
void StoreKeepBackups(bool keep);

// Options > Shape While Painting, remembered between runs; off on the first start.
bool ReadShapeWhilePainting();
void StoreShapeWhilePainting(bool on);

// View > Tool Bar, remembered between runs; shown on the first start.
bool ReadToolBarShown();
void StoreToolBarShown(bool shown);

struct EditorSettings {
    ColourValue backgroundColour = DefaultBackgroundColour;
    int sprayRadius = 3;
    int sprayDensity = 33;
    DefaultTerrainTable defaultTerrain = InitialDefaultTerrain();
    QString programDir; // the running program's folder, with a trailing separator: where tile sets are looked for first
    RecentMapList recentMaps;
    bool keepBackups = ReadKeepBackups();
    bool shapeWhilePainting = ReadShapeWhilePainting();
};

} // namespace vantor
