#pragma once
// File > Recent Maps: a menu that shows the list of recent maps.

#include <QObject>

class QMenu;

namespace vantor {
class RecentMapList;
}

class RecentMapsMenu : public QObject {
    Q_OBJECT
public:
    // Fills menu (owned by the caller) from the list, and again whenever the list changes.
    RecentMapsMenu(QMenu &menu, vantor::RecentMapList &list, QObject *parent = nullptr);

signals:
    void openRequested(const QString &path);

private:
    void rebuild();

    QMenu &menu_;
    vantor::RecentMapList &list_;
};
