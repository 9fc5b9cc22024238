#include "City.h"

#include "ui_CityForm.h"

#include "Map.h"
#include "dialogs.h"
#include "text_grid_view.h"

#include "model/editor_state.h"
#include "tools/place_names.h"

using namespace vantor;

TCityForm *CityForm = nullptr;

TCityForm::TCityForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TCityForm>())
{
    ui->setupUi(this);
    connect(ui->CaptionBtn, &QPushButton::clicked, this, &TCityForm::CaptionBtnClick);
    connect(ui->ClearBtn, &QPushButton::clicked, this, &TCityForm::ClearBtnClick);
    connect(ui->UncaptionBtn, &QPushButton::clicked, this, &TCityForm::UncaptionBtnClick);
    FormCreate();
}

TCityForm::~TCityForm() = default;

void TCityForm::FormCreate()
{
    CityTable table(2);
    table.writeHeadings();
    setCities(table);
    SetColumnWidths(*ui->CitySG, {40, 153, 37, 34, 34, 34, 33, 35});
}

CityTable TCityForm::cities() const
{
    CityTable table;
    ReadTextGrid(*ui->CitySG, table);
    return table;
}

void TCityForm::setCities(const CityTable &cities) { ShowTextGrid(*ui->CitySG, cities); }

QString TCityForm::cellText(int column, int gridRow) const
{
    const QTableWidgetItem *item = ui->CitySG->item(gridRow - 1, column);
    return item ? item->text() : QString();
}

QString TCityForm::cityName(int city) const { return cellText(CityTable::NameColumn, city + 1); }

QString TCityForm::cityNumber(int city) const { return cellText(CityTable::NumberColumn, city + 1); }

// The main window takes this mode; a command of its own still collecting clicks ends.
void TCityForm::enterCaptionMode()
{
    if (MapForm)
        MapForm->startClickMode(CityCaptionMode);
    else
        Editor.ClickMode = CityCaptionMode;
}

void TCityForm::forgetPendingAction()
{
    pending = PendingAction::None;
    ui->Chosen1Lbl->clear();
}

void TCityForm::CaptionBtnClick()
{
    enterCaptionMode();
    pending = PendingAction::Caption;
    pendingRow = CurrentGridRow(*ui->CitySG);
    ui->Chosen1Lbl->setText(QString::number(pendingRow - 1));
}

void TCityForm::ClearBtnClick()
{
    enterCaptionMode();
    pending = PendingAction::Clear;
    pendingRow = CurrentGridRow(*ui->CitySG);
    ui->Chosen1Lbl->setText(QString::number(1 - pendingRow));
}

// Ends city-caption mode; another command's clicks are left alone.
void TCityForm::UncaptionBtnClick()
{
    if (Editor.ClickMode == CityCaptionMode && MapForm)
        MapForm->startClickMode(PaintMode);
    else if (Editor.ClickMode == CityCaptionMode)
        Editor.ClickMode = PaintMode;
    forgetPendingAction();
}

void TCityForm::applyPendingAction(HexCoord hex)
{
    if (pending == PendingAction::None)
        return;
    CityTable table = cities();
    QString error;
    if (pending == PendingAction::Caption)
        error = CaptionHexWithCity(Map, table, pendingRow, hex);
    else
        ClearCityHex(Map, table, pendingRow, hex);
    setCities(table);
    if (!error.isEmpty())
        Dialogs().showError(this, error);
}
