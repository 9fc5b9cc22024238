#include "windows.h"

#include "City.h"
#include "Input.h"
#include "Map.h"
#include "MapCvt.h"
#include "Misc.h"
#include "Places.h"
#include "Spray.h"
#include "Strat.h"
#include "Tiles.h"

#include <QScreen>

void CentreOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void EditMap(const QString &name, const std::function<void()> &change, vantor::MapTables *tables)
{
    if (MapForm)
        MapForm->document().edit(name, change, tables);
    else
        change();
}

namespace {

// Creates a window and makes it the process-wide instance.
template <typename Form>
std::unique_ptr<Form> Create(Form *&instance, QWidget *parent = nullptr)
{
    auto form = std::make_unique<Form>(parent);
    instance = form.get();
    return form;
}

} // namespace

VantorWindows::VantorWindows()
    : mapForm(Create(MapForm))
    , tilesForm(Create(TilesForm))
    , mapConvert(Create(MapConvert))
    , placeForm(Create(PlaceForm))
    , inputForm(Create(InputForm, mapForm.get()))
    , stratForm(Create(StratForm))
    , sprayForm(Create(SprayForm))
    , miscForm(Create(MiscForm))
    , cityForm(Create(CityForm))
{
}

VantorWindows::~VantorWindows()
{
    CityForm = nullptr;
    MiscForm = nullptr;
    SprayForm = nullptr;
    StratForm = nullptr;
    InputForm = nullptr;
    PlaceForm = nullptr;
    MapConvert = nullptr;
    TilesForm = nullptr;
    MapForm = nullptr;
    // The windows themselves close in the reverse order of their creation.
}
