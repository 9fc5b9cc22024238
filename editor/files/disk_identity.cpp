#include "disk_identity.h"

#include <QCryptographicHash>
#include <QFile>

namespace vantor {

DiskIdentity DiskIdentity::Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return {true, hash.result()};
}

} // namespace vantor
