#pragma once
// Notices when the document's file changes on disk through another program, and asks about it
// when the user comes back to Vantor: Reload (one step of the history) or Keep Mine (the map is
// marked modified, and the next save asks before it writes over the newer file).

#include "document/map_document.h"
#include "files/disk_identity.h"

#include <QFileSystemWatcher>
#include <QTimer>

class QWidget;

class DiskWatch : public QObject {
    Q_OBJECT
public:
    DiskWatch(vantor::MapDocument &document, QWidget &window);

    // The document's file is as Vantor read or wrote it just now.
    void fileIsOurs();
    // Asks about a change on disk not asked about yet.
    void check();
    // True when the document's file is there but no longer as Vantor read or wrote it.
    bool changedOnDisk() const;

private:
    void watch();
    void noticed();

    vantor::MapDocument &document_;
    QWidget &window_;
    QFileSystemWatcher watcher_;
    // A burst of writes by another program is one change.
    QTimer settle_;
    vantor::DiskIdentity ours_; // the file as Vantor last read or wrote it
    vantor::DiskIdentity seen_; // the file as last asked about
    bool asking_ = false;
};
