#pragma once
// What the text-file readers and writers share: lines cut into pieces as the readers see them,
// CR LF line ends, and the outcome of a load with the message the window shows for it.
//
// Text files hold one byte per character and are read and written as Latin-1, so every byte of a
// name comes back unchanged.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

namespace vantor {

// One piece of a line as a reader sees it.
struct TextPiece {
    QByteArray text;        // without the line end
    bool lineEnded = false; // the piece ended at a line end (not at the length limit or the end of the data)
};

// Reads text in pieces: a line ends at LF, and CR LF counts as one LF. A line of more than maxLength
// characters (its line end not counted) is cut into pieces of maxLength; each piece counts as a line
// of its own, and only the last piece has the line end. A UTF-8 byte-order mark at the very start
// is skipped. Only one piece is held at a time, so a file is never read whole.
class TextPieceReader {
public:
    // Reads data, or the file at path (check openError() before reading).
    TextPieceReader(const QByteArray &data, int maxLength);
    TextPieceReader(const QString &path, int maxLength);
    // Empty, or why the file could not be opened (naming it).
    QString openError() const { return openError_; }
    // Empty, or why the file could not be read to its end (naming it).
    QString readError() const;
    bool atEnd() const { return device_->atEnd(); }
    // The next piece; call only while !atEnd().
    TextPiece next();

private:
    void start(int maxLength);
    QString path_;
    QString openError_;
    std::unique_ptr<QIODevice> device_;
    int maxLength_ = 0;
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
        BadValue, // stopped at a value that is not a number; nothing changed: show message.text on
                  // the standard error display
        Refused,  // nothing changed: show message with an OK button
    };
    Outcome outcome = Complete;
    UserMessage message;
};

} // namespace vantor
