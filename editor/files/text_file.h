#pragma once
// What the text-file readers and writers share: lines cut into pieces as the readers see them,
// CR LF line ends, and the outcome of a load with the message the window shows for it.
//
// Text files hold one byte per character and are read and written as Latin-1, so every byte of a
// name comes back unchanged.

#include <QByteArray>
#include <QString>

namespace vantor {

// One piece of a line as a reader sees it.
struct TextPiece {
    QByteArray text;        // without the line end
    bool lineEnded = false; // the piece ended at a line end (not at the length limit or the end of the data)
};

// Reads text in pieces: a line ends at LF, and CR LF counts as one LF. A line of more than maxLength
// characters (its line end not counted) is cut into pieces of maxLength; each piece counts as a line
// of its own, and only the last piece has the line end.
class TextPieceReader {
public:
    TextPieceReader(const QByteArray &data, int maxLength);
    bool atEnd() const { return pos_ >= data_.size(); }
    // The next piece; call only while !atEnd().
    TextPiece next();

private:
    const QByteArray &data_;
    qsizetype pos_ = 0;
    int maxLength_;
};

// Appends line and CR LF.
void AppendLine(QByteArray &out, const QByteArray &line);

// Reads the whole file. Returns an empty text, or the reason it failed, naming the file.
QString ReadWholeFile(const QString &path, QByteArray &data);

// A message box: its caption and text.
struct UserMessage {
    QString caption;
    QString text;
    bool isEmpty() const { return text.isEmpty(); }
};

// How a load went and what the window shows for it.
struct LoadResult {
    enum Outcome {
        Complete, // all read: nothing to show
        Short,    // the file ended early; what was read is kept: finish as after a complete load, then
                  // show message with an OK button
        BadValue, // stopped at a value that is not a number; what was read before it stays: show
                  // message.text on the standard error display and do nothing more
        Refused,  // nothing changed: show message with an OK button
    };
    Outcome outcome = Complete;
    UserMessage message;
};

} // namespace vantor
