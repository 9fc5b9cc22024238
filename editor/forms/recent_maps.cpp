#include "recent_maps.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const QString SettingsKey = QStringLiteral("recentFiles");

QString CleanPath(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

} // namespace

RecentMaps::RecentMaps(QMenu &menu, QObject *parent)
    : QObject(parent)
    , menu_(menu)
    , files_(QSettings().value(SettingsKey).toStringList().mid(0, MaxEntries))
{
    rebuildMenu();
}

void RecentMaps::add(const QString &path)
{
    const QString clean = CleanPath(path);
    files_.removeAll(clean);
    files_.prepend(clean);
    files_ = files_.mid(0, MaxEntries);
    store();
}

void RecentMaps::remove(const QString &path)
{
    if (files_.removeAll(CleanPath(path)) > 0)
        store();
}

void RecentMaps::store()
{
    QSettings().setValue(SettingsKey, files_);
    rebuildMenu();
}

void RecentMaps::rebuildMenu()
{
    menu_.clear();
    for (int i = 0; i < files_.size(); ++i) {
        const QString path = files_[i];
        // "&1 island.map": a key for each of the first nine, the whole path in the tooltip.
        QAction *action = menu_.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { emit openRequested(path); });
    }
    menu_.setEnabled(!files_.isEmpty());
    menu_.setToolTipsVisible(true);
}
