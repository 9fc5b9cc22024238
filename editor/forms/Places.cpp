#include "Places.h"

#include "ui_PlaceForm.h"

#include "windows.h"

#include "dialogs.h"
#include "text_grid_view.h"

#include "model/editor_state.h"
#include "tools/place_names.h"

using namespace vantor;

TPlaceForm *PlaceForm = nullptr;

TPlaceForm::TPlaceForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TPlaceForm>())
{
    ui->setupUi(this);
    setPlaces(PlaceTable(2));
    SetColumnWidths(*ui->PlaceStringGrid, {40, 41, 250});
    connect(ui->DoneBtn, &QPushButton::clicked, this, &TPlaceForm::DoneBtnClick);
    connect(ui->DeleteBtn, &QPushButton::clicked, this, &TPlaceForm::DeleteBtnClick);
    CentreOnScreen(*this);
}

TPlaceForm::~TPlaceForm() = default;

PlaceTable TPlaceForm::places() const
{
    PlaceTable table;
    ReadTextGrid(*ui->PlaceStringGrid, table);
    return table;
}

void TPlaceForm::setPlaces(const PlaceTable &places) { ShowTextGrid(*ui->PlaceStringGrid, places); }

QString TPlaceForm::placeName(int place) const
{
    const QTableWidgetItem *item = ui->PlaceStringGrid->item(place, PlaceTable::NameColumn);
    return item ? item->text() : QString();
}

// A failed Done keeps the window open, with the places before the bad cell written.
void TPlaceForm::DoneBtnClick()
{
    QString error;
    EditMap(QStringLiteral("Place Names"), [&] { error = ApplyPlaceCoordinates(Map, places()); });
    if (!error.isEmpty()) {
        Dialogs().showError(this, error);
        return;
    }
    hide();
}

void TPlaceForm::DeleteBtnClick()
{
    MapTables tables{places(), {}};
    QString error;
    EditMap(QStringLiteral("Delete Place"),
            [&] { error = DeletePlaceReferences(Map, *tables.places, CurrentGridRow(*ui->PlaceStringGrid)); }, &tables);
    setPlaces(*tables.places);
    if (!error.isEmpty())
        Dialogs().showError(this, error);
}
