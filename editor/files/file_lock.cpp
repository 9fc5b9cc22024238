#include "file_lock.h"

#include <QFileInfo>

namespace vantor {

QString FileLock::LockPathOf(const QString &path)
{
    // One lock whatever path names the file: a link or ".." gives the same.
    const QFileInfo info(path);
    const QString file = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QFileInfo canonical(file);
    return canonical.absolutePath() + QStringLiteral("/.") + canonical.fileName() + QStringLiteral(".vantor-lock");
}

bool FileLock::take(const QString &path, qint64 &ownerPid)
{
    ownerPid = 0;
    const QString lockPath = LockPathOf(path);
    auto lock = std::make_unique<QLockFile>(lockPath);
    // Stale only when its process is gone, never by age: a map stays open for hours.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        QString host;
        QString application;
        if (lock->error() == QLockFile::LockFailedError)
            lock->getLockInfo(&ownerPid, &host, &application);
        return false;
    }
    lock_ = std::move(lock);
    lockPath_ = lockPath;
    return true;
}

} // namespace vantor
