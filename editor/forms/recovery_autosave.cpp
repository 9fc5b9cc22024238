#include "recovery_autosave.h"

#include "dialogs.h"

#include <QWidget>

#include <algorithm>

using namespace vantor;

RecoveryAutosave::RecoveryAutosave(MapDocument &document, QWidget &window)
    : document_(document)
    , window_(window)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryAutosave::writeNow);
    connect(&document_, &MapDocument::hexesChanged, this, &RecoveryAutosave::documentChanged);
    connect(&document_, &MapDocument::mapReset, this, &RecoveryAutosave::documentChanged);
    connect(&document_, &MapDocument::tablesChanged, this, &RecoveryAutosave::documentChanged);
    connect(&document_, &MapDocument::modifiedChanged, this, &RecoveryAutosave::documentChanged);
    connect(&document_, &MapDocument::filePathChanged, this, &RecoveryAutosave::documentChanged);
    connect(&writer_, &RecoveryWriter::writeFailed, this, &RecoveryAutosave::warnOnce, Qt::QueuedConnection);
}

void RecoveryAutosave::documentChanged()
{
    if (!document_.isModified()) {
        timer_.stop();
        writer_.remove();
        return;
    }
    if (!timer_.isActive())
        sinceFirstChange_.start();
    timer_.start(int(std::clamp<qint64>(MaxDelayMs - sinceFirstChange_.elapsed(), 0, DelayMs)));
}

// The copy is all the interface thread does; encoding and the disk are the writer's.
void RecoveryAutosave::writeNow()
{
    timer_.stop();
    writer_.write({document_.content(), document_.filePath(), document_.fileFormat()});
}

void RecoveryAutosave::warnOnce(const QString &message)
{
    if (std::exchange(warned_, true))
        return;
    Dialogs().inform(&window_, QStringLiteral("Unsaved Work Not Kept"),
                     message + QStringLiteral("\nEditing goes on, but unsaved changes cannot be recovered after a crash."));
}
