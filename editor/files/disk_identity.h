#pragma once
// A file on disk as last read or written: tells a change by another program (another editor, a
// script, a checkout) from our own save, by content, since times can be too coarse to tell.

#include <QByteArray>
#include <QString>

namespace vantor {

struct DiskIdentity {
    bool exists = false;
    QByteArray hash; // SHA-256 of the whole file

    static DiskIdentity Of(const QString &path);
    friend bool operator==(const DiskIdentity &, const DiskIdentity &) = default;
};

} // namespace vantor
