#include "text_file.h"

#include "files/file_io.h"

#include <QCoreApplication>
#include <QFile>

namespace vantor {

TextPieceReader::TextPieceReader(const QByteArray &data, int maxLength)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    device_ = std::move(buffer);
    start(maxLength);
}

TextPieceReader::TextPieceReader(const QString &path, int maxLength)
    : path_(path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        openError_ = FileMessage(path, QCoreApplication::translate("FileIO", "cannot open the file: %1").arg(file->errorString()));
    device_ = std::move(file);
    start(maxLength);
}

void TextPieceReader::start(int maxLength)
{
    maxLength_ = maxLength;
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");
    if (device_->isOpen() && device_->peek(byteOrderMark.size()) == byteOrderMark)
        device_->skip(byteOrderMark.size());
}

QString TextPieceReader::readError() const
{
    const auto *file = qobject_cast<const QFile *>(device_.get());
    if (!file || file->error() == QFileDevice::NoError)
        return {};
    return FileMessage(path_, QCoreApplication::translate("FileIO", "cannot read the file: %1").arg(file->errorString()));
}

TextPiece TextPieceReader::next()
{
    TextPiece piece;
    // At most maxLength characters, or fewer up to and including an LF.
    piece.text = device_->readLine(maxLength_ + 1);
    if (piece.text.endsWith('\n')) {
        piece.text.chop(piece.text.endsWith("\r\n") ? 2 : 1);
        piece.lineEnded = true;
    } else if (piece.text.endsWith('\r') && device_->peek(1) == "\n") {
        // The limit fell between the CR and the LF of a line end.
        piece.text.chop(1);
        device_->skip(1);
        piece.lineEnded = true;
    } else if (piece.text.size() == maxLength_) {
        // A line end right after a full piece belongs to it.
        const QByteArray ahead = device_->peek(2);
        if (ahead.startsWith('\n') || ahead == "\r\n") {
            device_->skip(ahead.startsWith('\n') ? 1 : 2);
            piece.lineEnded = true;
        }
    }
    return piece;
}

void AppendLine(QByteArray &out, const QByteArray &line)
{
    out.append(line).append("\r\n");
}

QString ReadWholeFile(const QString &path, QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileMessage(path, QCoreApplication::translate("FileIO", "cannot open the file: %1").arg(file.errorString()));
    data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileMessage(path, QCoreApplication::translate("FileIO", "cannot read the file: %1").arg(file.errorString()));
    return {};
}

} // namespace vantor
