#include "City.h"

#include "ui_CityForm.h"

#include "text_table_model.h"

using namespace vantor;

TCityForm::TCityForm(MapDocument &document, MapTools &tools, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TCityForm>())
    , document_(document)
    , tools_(tools)
    , series_(document.newSeries())
{
    ui->setupUi(this);
    model_ = new TextTableModel(
        document_, [](const MapTables &tables) -> const TextGrid & { return tables.cities; },
        [this](int column, int row, const QString &text) {
            document_.edit(QStringLiteral("City Names"),
                           [&](MapContent &content) { content.tables.cities.setCell(column, row, text); }, series_);
        },
        this);
    ui->CitySG->setModel(model_);
    const int widths[] = {40, 153, 37, 34, 34, 34, 33, 35};
    for (int column = 0; column < CityTable::Columns; ++column)
        ui->CitySG->setColumnWidth(column, widths[column]);
    connect(ui->CaptionBtn, &QPushButton::clicked, this, &TCityForm::CaptionBtnClick);
    connect(ui->ClearBtn, &QPushButton::clicked, this, &TCityForm::ClearBtnClick);
    connect(ui->UncaptionBtn, &QPushButton::clicked, this, &TCityForm::UncaptionBtnClick);
    connect(&tools_.cityCaption(), &CityCaptionTool::actionChanged, this, &TCityForm::showChosen);
}

TCityForm::~TCityForm() = default;

void TCityForm::showEvent(QShowEvent *event)
{
    series_ = document_.newSeries();
    QWidget::showEvent(event);
}

// The city-caption tool takes over the map; a command of the main window still collecting clicks
// ends.
void TCityForm::choose(CityCaptionTool::Action action)
{
    if (tools_.mode() != ClickMode::CityCaption)
        tools_.select(ClickMode::CityCaption);
    chosenRow_ = CurrentGridRow(*ui->CitySG);
    tools_.cityCaption().choose(action, chosenRow_);
}

// Caption shows the chosen city's number, Clear its negative.
void TCityForm::showChosen()
{
    switch (tools_.cityCaption().action()) {
    case CityCaptionTool::Action::Caption:
        ui->Chosen1Lbl->setText(QString::number(chosenRow_ - 1));
        break;
    case CityCaptionTool::Action::Clear:
        ui->Chosen1Lbl->setText(QString::number(1 - chosenRow_));
        break;
    case CityCaptionTool::Action::None:
        ui->Chosen1Lbl->clear();
        break;
    }
}

void TCityForm::CaptionBtnClick() { choose(CityCaptionTool::Action::Caption); }

void TCityForm::ClearBtnClick() { choose(CityCaptionTool::Action::Clear); }

// Ends city-caption mode; another command's clicks are left alone.
void TCityForm::UncaptionBtnClick()
{
    if (tools_.mode() == ClickMode::CityCaption)
        tools_.select(ClickMode::Paint);
    tools_.cityCaption().putDown();
}
