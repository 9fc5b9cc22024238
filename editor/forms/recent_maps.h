#pragma once
// File > Recent Maps: the last maps opened or saved, remembered between runs.

#include <QObject>
#include <QStringList>

class QMenu;

class RecentMaps : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxEntries = 8;

    // Fills menu (owned by the caller) from the remembered list.
    explicit RecentMaps(QMenu &menu, QObject *parent = nullptr);

    QStringList files() const { return files_; }
    // Puts path first, once.
    void add(const QString &path);
    void remove(const QString &path);

signals:
    void openRequested(const QString &path);

private:
    void store();
    void rebuildMenu();

    QMenu &menu_;
    QStringList files_;
};
