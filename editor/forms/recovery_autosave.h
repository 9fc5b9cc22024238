#pragma once
// Keeps the recovery file of the main window's document: a few seconds after an unsaved change
// the document is copied here and written on the recovery writer's thread; once nothing is
// unsaved (a save, an undo back to it, a load) the file goes.

#include "document/map_document.h"
#include "document/recovery_files.h"

#include <QElapsedTimer>
#include <QTimer>

class QWidget;

class RecoveryAutosave : public QObject {
    Q_OBJECT
public:
    // The wait after the last change; a long stroke of changes is written at most MaxDelayMs
    // after its first change.
    static constexpr int DelayMs = 3000;
    static constexpr int MaxDelayMs = 5000;

    RecoveryAutosave(vantor::MapDocument &document, QWidget &window);

    vantor::RecoveryWriter &writer() { return writer_; }
    // Writes the document now, whatever the timer says.
    void writeNow();

private:
    void documentChanged();
    void warnOnce(const QString &message);

    vantor::MapDocument &document_;
    QWidget &window_;
    vantor::RecoveryWriter writer_;
    QTimer timer_;
    QElapsedTimer sinceFirstChange_;
    bool warned_ = false;
};
