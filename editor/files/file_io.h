#pragma once
// Whole-file reads and safe whole-file writes, with messages that name the file.

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

#include <memory>

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

// Writes a large output that can be made again, such as a picture, through a temporary file in the
// same folder that replaces the target only once complete. Unlike WriteFileAtomically it does not
// wait for the disk: for a 22 MB picture that wait costs more than drawing it.
class ReplacingFileWriter {
public:
    explicit ReplacingFileWriter(QString path);
    ~ReplacingFileWriter(); // removes the temporary file unless committed

    // Opens the temporary file. A final size, when known, is reserved on the disk at once: a full
    // disk shows before anything is written, and the file system need not allocate the whole file
    // while it is put in place (on a busy disk that wait is half of a render).
    bool open(qint64 finalSize = 0);
    bool write(const QByteArray &data);
    // Puts the new file in place of the old; false, with the old file untouched, on failure.
    bool commit();
    // The reason of the first failure, naming the target file.
    QString error() const { return error_; }

private:
    bool fail(const QString &reason);
    QString path_;
    QString error_;
    std::unique_ptr<QTemporaryFile> temporary_;
};

} // namespace vantor
