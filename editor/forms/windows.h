#pragma once
// Vantor's nine windows, created in the order the program needs: the main window first, since
// the palette already needs the program's folder that the main window finds.

#include "document/map_edit.h"

#include <functional>
#include <memory>

class QString;
class QWidget;

// Puts a window in the middle of the screen it is on.
void CentreOnScreen(QWidget &window);

// Changes the editor's map (and the tables given) as one step of its history named name; while
// there is no main window, the change is simply made.
void EditMap(const QString &name, const std::function<void()> &change, vantor::MapTables *tables = nullptr);

class TMapForm;
class TTilesForm;
class TMapConvert;
class TPlaceForm;
class TInputForm;
class TStratForm;
class TSprayForm;
class TMiscForm;
class TCityForm;

class VantorWindows {
public:
    VantorWindows();
    ~VantorWindows();
    VantorWindows(const VantorWindows &) = delete;
    VantorWindows &operator=(const VantorWindows &) = delete;

    TMapForm &main() { return *mapForm; }

private:
    std::unique_ptr<TMapForm> mapForm;
    std::unique_ptr<TTilesForm> tilesForm;
    std::unique_ptr<TMapConvert> mapConvert;
    std::unique_ptr<TPlaceForm> placeForm;
    std::unique_ptr<TInputForm> inputForm;
    std::unique_ptr<TStratForm> stratForm;
    std::unique_ptr<TSprayForm> sprayForm;
    std::unique_ptr<TMiscForm> miscForm;
    std::unique_ptr<TCityForm> cityForm;
};
