#include "text_file.h"

#include "files/file_io.h"

#include <QCoreApplication>
#include <QFile>

namespace vantor {

TextPieceReader::TextPieceReader(const QByteArray &data, int maxLength)
    : data_(data)
    , maxLength_(maxLength)
{
}

TextPiece TextPieceReader::next()
{
    TextPiece piece;
    const qsizetype start = pos_;
    const qsizetype size = data_.size();
    const auto lineEndAt = [&](qsizetype at) -> int {
        if (at < size && data_[at] == '\n')
            return 1;
        if (at + 1 < size && data_[at] == '\r' && data_[at + 1] == '\n')
            return 2;
        return 0;
    };
    while (pos_ < size && pos_ - start < maxLength_ && lineEndAt(pos_) == 0)
        ++pos_;
    piece.text = data_.mid(start, pos_ - start);
    if (const int endLength = lineEndAt(pos_); endLength > 0) {
        pos_ += endLength;
        piece.lineEnded = true;
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
