#include "recent_maps.h"

#include "document/editor_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

RecentMapsMenu::RecentMapsMenu(QMenu &menu, vantor::RecentMapList &list, QObject *parent)
    : QObject(parent)
    , menu_(menu)
    , list_(list)
{
    connect(&list_, &vantor::RecentMapList::changed, this, &RecentMapsMenu::rebuild);
    rebuild();
}

void RecentMapsMenu::rebuild()
{
    menu_.clear();
    const QStringList &files = list_.files();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        // "&1 island.map": a key for each of the first nine, the whole path in the tooltip.
        QAction *action = menu_.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { emit openRequested(path); });
    }
    menu_.setEnabled(!files.isEmpty());
    menu_.setToolTipsVisible(true);
}
