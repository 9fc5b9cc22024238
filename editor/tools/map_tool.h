#pragma once
// A tool turns what the pointer does on the map into edits of the document. It never draws: the
// picture follows the document. What a tool needs of the user beyond the pointer (a file name, a
// message) it asks of its host, the main window.

#include "document/map_document.h"
#include "model/colour_value.h"
#include "model/hex_set.h"

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
    HexCoord nearHex;              // the hex under it, on the map or beyond its edges
    bool shift() const { return modifiers.testFlag(Qt::ShiftModifier); }
    bool control() const { return modifiers.testFlag(Qt::ControlModifier); }
};

// The prompt panel that guides a tool's clicks: lime, red after a failure.
inline constexpr ColourValue PromptLime = 0x00FF00;
inline constexpr ColourValue PromptRed = 0x0000FF;

// What a tool shows over the map where the pointer is: the hexes it would act on, and the hexes a
// paste would write, shown half-transparent.
struct ToolPreview {
    HexSet outline;
    std::vector<std::pair<HexCoord, HexRecord>> hexes;
};

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
    // The pointer moved over the picture, a button held or not.
    virtual void move(const MapPointer &) {}
    // A mouse button came up, wherever the pointer is.
    virtual void release(const MapPointer &) {}
    // A left press and release on the picture.
    virtual void click(const MapPointer &) {}
    // Ends what the tool is in the middle of (a drag, a preview), keeping what it has done; false
    // when it was in the middle of nothing.
    virtual bool cancel() { return false; }
    // The tool is put down for another; clicks it was collecting are forgotten.
    virtual void putDown() { cancel(); }

    // The text the prompt panel shows while the tool is in use; empty for none.
    const QString &prompt() const { return prompt_; }
    ColourValue promptColour() const { return promptColour_; }
    const ToolPreview &preview() const { return preview_; }

signals:
    void promptChanged();
    void previewChanged();
    // The tool has finished its command: painting takes over.
    void finished();

protected:
    void setPrompt(const QString &text, ColourValue colour = PromptLime);
    void setPreview(ToolPreview preview);
    MapDocument &document() { return document_; }
    const MapDocument &document() const { return document_; }

private:
    MapDocument &document_;
    QString prompt_;
    ColourValue promptColour_ = PromptLime;
    ToolPreview preview_;
};

} // namespace vantor
