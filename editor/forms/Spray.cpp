#include "Spray.h"

#include "ui_SprayForm.h"

TSprayForm::TSprayForm(vantor::EditorSettings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TSprayForm>())
    , settings_(settings)
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &TSprayForm::OKBtnClick);
}

TSprayForm::~TSprayForm() = default;

void TSprayForm::OKBtnClick()
{
    settings_.sprayRadius = ui->SizeUD->value();
    settings_.sprayDensity = ui->DensityUD->value();
    hide();
}
