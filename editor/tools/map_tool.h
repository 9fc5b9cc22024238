#pragma once
// A tool turns what the pointer does on the map into edits of the document. It never draws: the
// picture follows the document. What a tool needs of the user beyond the pointer (a file name, a
// message) it asks of its host, the main window.

#include "document/map_document.h"
#include "model/colour_value.h"

#include <QObject>
#include <QPoint>

#include <optional>

namespace vantor {

// What the pointer did on the map picture.
struct MapPointer {
    QPoint pixel;                  // in the picture's own pixels, whatever the zoom
    std::optional<HexCoord> hex;   // the hex of the map under it
    Qt::MouseButton button = Qt::LeftButton;
    Qt::KeyboardModifiers modifiers;
    bool shift() const { return modifiers.testFlag(Qt::ShiftModifier); }
};

// The prompt panel that guides a tool's clicks: lime, red after a failure.
inline constexpr ColourValue PromptLime = 0x00FF00;
inline constexpr ColourValue PromptRed = 0x0000FF;

// What a tool asks of the window it works in.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    // The ASCII map file an area is saved to; empty when the user cancels.
    virtual QString askAreaFileToSave() = 0;
    // Whether an existing file may be overwritten.
    virtual bool confirmOverwrite(const QString &path) = 0;
    // The ASCII map file an area is pasted from; empty when the user cancels.
    virtual QString askAreaFileToPaste() = 0;
    // Shows why a load went wrong: the standard error display or a message with an OK button.
    virtual void showLoadProblem(const LoadResult &result) = 0;
    virtual void inform(const QString &caption, const QString &text) = 0;
    virtual void showError(const QString &text) = 0;
};

class MapTool : public QObject {
    Q_OBJECT
public:
    explicit MapTool(MapDocument &document, QObject *parent = nullptr);

    // The tool is taken up: it waits for its first click.
    virtual void start() { setPrompt({}); }
    // A mouse button went down on the map picture.
    virtual void press(const MapPointer &) {}
    // A left press and release on the picture.
    virtual void click(const MapPointer &) {}
    // The tool is put down for another; clicks it was collecting are forgotten.
    virtual void putDown() {}

    // The text the prompt panel shows while the tool is in use; empty for none.
    const QString &prompt() const { return prompt_; }
    ColourValue promptColour() const { return promptColour_; }

signals:
    void promptChanged();
    // The tool has finished its command: painting takes over.
    void finished();

protected:
    void setPrompt(const QString &text, ColourValue colour = PromptLime);
    MapDocument &document() { return document_; }

private:
    MapDocument &document_;
    QString prompt_;
    ColourValue promptColour_ = PromptLime;
};

} // namespace vantor
