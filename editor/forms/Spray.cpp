#include "Spray.h"

#include "ui_SprayForm.h"

#include "model/editor_state.h"

TSprayForm *SprayForm = nullptr;

TSprayForm::TSprayForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TSprayForm>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &TSprayForm::OKBtnClick);
}

TSprayForm::~TSprayForm() = default;

void TSprayForm::OKBtnClick()
{
    vantor::Editor.SprayRadius = ui->SizeUD->value();
    vantor::Editor.SprayDensity = ui->DensityUD->value();
    hide();
}
