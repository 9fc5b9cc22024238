#include "file_backup.h"

#include "file_io.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vantor {

QString FileBackups::keepBefore(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    const QString key = info.canonicalFilePath();
    if (kept_.contains(key))
        return {};
    QByteArray old;
    QString error = ReadFilePrefix(path, info.size() + 1, old);
    if (error.isEmpty())
        error = WriteFileAtomically(path + QStringLiteral(".bak"), old);
    if (!error.isEmpty())
        return QCoreApplication::translate("FileBackups", "The backup of %1 could not be kept, so it was not saved.\n%2")
            .arg(info.fileName(), error);
    kept_.insert(key);
    return {};
}

} // namespace vantor
