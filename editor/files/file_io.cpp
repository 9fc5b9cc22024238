#include "file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vantor {

QString FileMessage(const QString &path, const QString &problem)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), problem);
}

QString CannotWriteMessage(const QString &path, const QString &reason)
{
    return FileMessage(path, QCoreApplication::translate("FileIO", "cannot write the file: %1").arg(reason));
}

QString ReadFilePrefix(const QString &path, qint64 maxBytes, QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileMessage(path, QCoreApplication::translate("FileIO", "cannot open the file: %1").arg(file.errorString()));
    data = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return FileMessage(path, QCoreApplication::translate("FileIO", "cannot read the file: %1").arg(file.errorString()));
    return {};
}

QString WriteFileAtomically(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return CannotWriteMessage(path, file.errorString());
    if (file.write(data) != data.size() || !file.commit())
        return CannotWriteMessage(path, file.errorString());
    return {};
}

} // namespace vantor
