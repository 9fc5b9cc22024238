#pragma once
// The running editor: the document, the settings and the main window that shows them, with its
// tool windows. Nothing of it is process-wide: a test makes as many editors as it likes.

#include "document/editor_settings.h"
#include "document/map_document.h"

#include <memory>
#include <optional>

class QWidget;
class TMapForm;

// Puts a window in the middle of the screen it is on.
void CentreOnScreen(QWidget &window);

class VantorWindows {
public:
    VantorWindows();
    ~VantorWindows();
    VantorWindows(const VantorWindows &) = delete;
    VantorWindows &operator=(const VantorWindows &) = delete;

    vantor::MapDocument &document() { return document_; }
    vantor::EditorSettings &settings() { return settings_; }
    TMapForm &main() { return *mapForm_; }

    // Offers, one by one, the unsaved work of Vantors that ended without closing: Recover shows
    // it, Discard removes it, Cancel leaves it for the next start. A damaged recovery file is
    // moved aside with a message. Returns the recovered map's file (empty for an unnamed map), or
    // nothing when no map was recovered.
    std::optional<QString> offerRecovery();

private:
    vantor::MapDocument document_;
    vantor::EditorSettings settings_;
    std::unique_ptr<TMapForm> mapForm_;
};
