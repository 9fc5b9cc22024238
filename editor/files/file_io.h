#pragma once
// Whole-file reads and safe whole-file writes, with messages that name the file.

#include <QByteArray>
#include <QString>

namespace vantor {

// "<path>: <problem>", the form of every file message.
QString FileMessage(const QString &path, const QString &problem);

// "<path>: cannot write the file: <reason>"
QString CannotWriteMessage(const QString &path, const QString &reason);

// Reads at most maxBytes from the start of the file. Returns an empty text, or the reason it failed.
QString ReadFilePrefix(const QString &path, qint64 maxBytes, QByteArray &data);

// Writes data through a temporary file that replaces path only once it is complete.
// Returns an empty text, or the reason it failed; on failure path keeps its old content.
QString WriteFileAtomically(const QString &path, const QByteArray &data);

} // namespace vantor
