#include "FileWriting.h"

#include <QSaveFile>

namespace dovrel {

bool WriteWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, reason);
        return false;
    };
    // Unbuffered, so that a write the disk refuses fails here and not unnoticed inside commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        // A write cut short by the disk sets no error of its own.
        const QString reason = file.error() == QFileDevice::NoError
                                   ? QStringLiteral("only part of it could be written; the disk may be full")
                                   : file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace dovrel
