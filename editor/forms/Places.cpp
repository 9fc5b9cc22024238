#include "Places.h"

#include "ui_PlaceForm.h"

#include "dialogs.h"
#include "text_table_model.h"
#include "windows.h"

#include "tools/place_names.h"

using namespace vantor;

namespace {

const QString PlaceNamesStep = QStringLiteral("Place Names");

} // namespace

TPlaceForm::TPlaceForm(MapDocument &document, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TPlaceForm>())
    , document_(document)
    , series_(document.newSeries())
{
    ui->setupUi(this);
    model_ = new TextTableModel(
        document_, [](const MapTables &tables) -> const TextGrid & { return tables.places; },
        [this](int column, int row, const QString &text) {
            document_.edit(PlaceNamesStep, [&](MapContent &content) { content.tables.places.setCell(column, row, text); },
                           series_);
        },
        this);
    ui->PlaceStringGrid->setModel(model_);
    const int widths[] = {40, 41, 250};
    for (int column = 0; column < 3; ++column)
        ui->PlaceStringGrid->setColumnWidth(column, widths[column]);
    connect(ui->DoneBtn, &QPushButton::clicked, this, &TPlaceForm::DoneBtnClick);
    connect(ui->DeleteBtn, &QPushButton::clicked, this, &TPlaceForm::DeleteBtnClick);
    CentreOnScreen(*this);
}

TPlaceForm::~TPlaceForm() = default;

// Each showing of the window starts a step of its own.
void TPlaceForm::showEvent(QShowEvent *event)
{
    series_ = document_.newSeries();
    QWidget::showEvent(event);
}

// A failed Done keeps the window open, with the places before the bad cell written.
void TPlaceForm::DoneBtnClick()
{
    QString error;
    document_.edit(PlaceNamesStep,
                   [&](MapContent &content) { error = ApplyPlaceCoordinates(content.map, content.tables.places); }, series_);
    if (!error.isEmpty()) {
        Dialogs().showError(this, error);
        return;
    }
    hide();
}

void TPlaceForm::DeleteBtnClick()
{
    const int row = CurrentGridRow(*ui->PlaceStringGrid);
    QString error;
    document_.edit(QStringLiteral("Delete Place"),
                   [&](MapContent &content) { error = DeletePlaceReferences(content.map, content.tables.places, row); });
    if (!error.isEmpty())
        Dialogs().showError(this, error);
}
