#pragma once
// One file, one Vantor: a lock beside the open file, .NAME.vantor-lock, held while it is open, so
// that a second Vantor can tell the user before both edit it. A lock whose process no longer runs
// is taken over.

#include <QLockFile>
#include <QString>

#include <memory>

namespace vantor {

class FileLock {
public:
    // Takes the lock of the file at path in place of the one held. False when another running
    // process holds it (ownerPid names it), or when no lock can be made there (ownerPid 0).
    bool take(const QString &path, qint64 &ownerPid);
    void release() { lock_.reset(); }
    bool holds() const { return lock_ != nullptr; }
    // Holds the lock of the file at path.
    bool holdsFor(const QString &path) const { return lock_ && lockPath_ == LockPathOf(path); }

    static QString LockPathOf(const QString &path);

private:
    std::unique_ptr<QLockFile> lock_;
    QString lockPath_;
};

} // namespace vantor
