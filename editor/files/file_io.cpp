#include "file_io.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
    // Unbuffered, so that a write the disk refuses fails here: Qt loses the error of a buffered
    // write flushed by commit() and would put the cut file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return CannotWriteMessage(path, file.errorString());
    if (file.write(data) != data.size()) {
        // A write cut short by the disk sets no error of its own.
        return CannotWriteMessage(path, file.error() == QFileDevice::NoError
                                            ? QCoreApplication::translate("FileIO", "only part of it could be written; the disk may be full")
                                            : file.errorString());
    }
    if (!file.commit())
        return CannotWriteMessage(path, file.errorString());
    return {};
}

ReplacingFileWriter::ReplacingFileWriter(QString path)
    : path_(std::move(path))
{
}

ReplacingFileWriter::~ReplacingFileWriter() = default;

bool ReplacingFileWriter::fail(const QString &reason)
{
    if (error_.isEmpty())
        error_ = CannotWriteMessage(path_, reason);
    temporary_.reset();
    return false;
}

bool ReplacingFileWriter::open(qint64 finalSize)
{
    const QFileInfo target(path_);
    if (target.isDir())
        return fail(QCoreApplication::translate("FileIO", "it is a folder"));
    temporary_ = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                                  QStringLiteral(".XXXXXX"));
    if (!temporary_->open())
        return fail(temporary_->errorString());
    if (finalSize > 0) {
        // A file system that cannot reserve space simply allocates it as the file is written.
        const int result = posix_fallocate(temporary_->handle(), 0, finalSize);
        if (result != 0 && result != EOPNOTSUPP && result != EINVAL)
            return fail(QString::fromLocal8Bit(std::strerror(result)));
    }
    return true;
}

bool ReplacingFileWriter::write(const QByteArray &data)
{
    if (!temporary_)
        return false;
    if (temporary_->write(data) != data.size())
        return fail(temporary_->errorString());
    return true;
}

bool ReplacingFileWriter::commit()
{
    if (!temporary_)
        return false;
    if (!temporary_->flush())
        return fail(temporary_->errorString());
    // A replaced file keeps its permissions; a new one is readable by all, writable by its owner.
    const QFileInfo target(path_);
    const QFileDevice::Permissions permissions =
        target.exists() ? target.permissions()
                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    temporary_->setPermissions(permissions);
    const QByteArray from = QFile::encodeName(temporary_->fileName());
    const QByteArray to = QFile::encodeName(path_);
    temporary_->close();
    if (std::rename(from.constData(), to.constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    temporary_->setAutoRemove(false);
    temporary_.reset();
    return true;
}

} // namespace vantor
