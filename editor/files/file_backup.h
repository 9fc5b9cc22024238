#pragma once
// NAME.bak beside a map or scenario, kept before the first save of a run replaces the file: the
// file as it was before this run touched it, not as the last save left it.

#include <QSet>
#include <QString>

namespace vantor {

class FileBackups {
public:
    // Copies path to path + ".bak" (atomically) the first time it is asked for path, when path
    // exists. Returns an empty text, or the message to show; the save must not go on then.
    QString keepBefore(const QString &path);

private:
    QSet<QString> kept_; // canonical paths already backed up in this run
};

} // namespace vantor
