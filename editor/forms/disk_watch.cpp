#include "disk_watch.h"

#include "dialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

using namespace vantor;

namespace {

constexpr int SettleMs = 300;

} // namespace

DiskWatch::DiskWatch(MapDocument &document, QWidget &window)
    : document_(document)
    , window_(window)
{
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    // The file itself is watched while it lasts; its folder sees it replaced, removed or made anew.
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DiskWatch::noticed);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::noticed);
    connect(&settle_, &QTimer::timeout, this, [this] {
        watch();
        // While Vantor is in use the question comes at once; otherwise when it is next activated.
        if (QApplication::applicationState() == Qt::ApplicationActive)
            check();
    });
    connect(qApp, &QApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            check();
    });
    connect(&document_, &MapDocument::filePathChanged, this, &DiskWatch::fileIsOurs);
}

void DiskWatch::noticed() { settle_.start(); }

void DiskWatch::watch()
{
    const QString path = document_.filePath();
    if (!watcher_.files().isEmpty() && watcher_.files() != QStringList{path})
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    if (path.isEmpty())
        return;
    watcher_.addPath(QFileInfo(path).absolutePath());
    if (QFileInfo::exists(path) && !watcher_.files().contains(path))
        watcher_.addPath(path);
}

void DiskWatch::fileIsOurs()
{
    const QString path = document_.filePath();
    ours_ = seen_ = path.isEmpty() ? DiskIdentity{} : DiskIdentity::Of(path);
    watch();
}

bool DiskWatch::changedOnDisk() const
{
    if (document_.filePath().isEmpty())
        return false;
    const DiskIdentity now = DiskIdentity::Of(document_.filePath());
    return now.exists && now != ours_;
}

void DiskWatch::check()
{
    const QString path = document_.filePath();
    if (path.isEmpty() || asking_)
        return;
    const DiskIdentity now = DiskIdentity::Of(path);
    if (now == seen_)
        return;
    seen_ = now;
    const QString name = QFileInfo(path).fileName();
    asking_ = true;
    if (!now.exists) {
        document_.markModified();
        Dialogs().inform(&window_, QStringLiteral("File Changed on Disk"),
                         QStringLiteral("%1 was removed or moved away on disk. The map is kept here, marked as "
                                        "changed: saving it writes the file again.")
                             .arg(name));
    } else if (now == ours_) {
        // Changed back to what Vantor read or wrote: nothing to ask.
    } else if (Dialogs().askChoice(&window_, QStringLiteral("File Changed on Disk"),
                                   QStringLiteral("%1 has changed on disk. Reload it?").arg(name),
                                   {QStringLiteral("Reload"), QStringLiteral("Keep Mine")}) == 0) {
        const LoadResult result = document_.reload();
        if (result.outcome == LoadResult::Complete)
            ours_ = now;
        else
            Dialogs().inform(&window_, QStringLiteral("Map Not Reloaded"), result.message.text);
    } else {
        document_.markModified();
    }
    asking_ = false;
}
