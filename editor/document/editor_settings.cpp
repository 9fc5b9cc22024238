#include "editor_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vantor {

namespace {

const QString RecentMapsKey = QStringLiteral("recentFiles");
const QString KeepBackupsKey = QStringLiteral("keepBackups");
const QString ShapeWhilePaintingKey = QStringLiteral("shapeWhilePainting");
const QString ToolBarShownKey = QStringLiteral("toolBarShown");

QString CleanPath(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

} // namespace

RecentMapList::RecentMapList()
    : files_(QSettings().value(RecentMapsKey).toStringList().mid(0, MaxEntries))
{
}

void RecentMapList::add(const QString &path)
{
    const QString clean = CleanPath(path);
    files_.removeAll(clean);
    files_.prepend(clean);
    files_ = files_.mid(0, MaxEntries);
    store();
}

void RecentMapList::remove(const QString &path)
{
    if (files_.removeAll(CleanPath(path)) > 0)
        store();
}

void RecentMapList::store()
{
    QSettings().setValue(RecentMapsKey, files_);
    emit changed();
}

bool ReadKeepBackups() { return QSettings().value(KeepBackupsKey, true).toBool(); }

void StoreKeepBackups(bool keep) { QSettings().setValue(KeepBackupsKey, keep); }

bool ReadShapeWhilePainting() { return QSettings().value(ShapeWhilePaintingKey, false).toBool(); }

void StoreShapeWhilePainting(bool on) { QSettings().setValue(ShapeWhilePaintingKey, on); }

bool ReadToolBarShown() { return QSettings().value(ToolBarShownKey, true).toBool(); }

void StoreToolBarShown(bool shown) { QSettings().setValue(ToolBarShownKey, shown); }

} // namespace vantor
