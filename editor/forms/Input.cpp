#include "Input.h"

#include "ui_InputForm.h"

TInputForm::TInputForm(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TInputForm>())
{
    ui->setupUi(this);
    setModal(true);
    connect(ui->OKBtn, &QPushButton::clicked, this, &TInputForm::OKBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &TInputForm::CancelBtnClick);
}

TInputForm::~TInputForm() = default;

void TInputForm::prepare(const QString &terrainName, const QStringList &instructions)
{
    setResult(0);
    ui->TerrainLbl->setText(terrainName);
    ui->InfoMemo->setPlainText(instructions.join(QLatin1Char('\n')));
    ui->XEdit->setFocus();
    ui->XEdit->selectAll();
}

QString TInputForm::xText() const { return ui->XEdit->text(); }

QString TInputForm::yText() const { return ui->YEdit->text(); }

void TInputForm::OKBtnClick() { done(OkResult); }

void TInputForm::CancelBtnClick() { done(CancelResult); }
