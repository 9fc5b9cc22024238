#include "Enhance.h"

#include "ui_Enhance.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>

TEnhanceForm *EnhanceForm = nullptr;

namespace {
QString ValueText(const QSlider *slider) { return QString::number(-slider->value()); }

// Moves `slider` to `position` from code: its own handler does not run.
void MoveQuietly(QSlider *slider, int position)
{
    const QSignalBlocker block(slider);
    slider->setValue(position);
}
} // namespace

TEnhanceForm::TEnhanceForm(QWidget *parent) : QWidget(parent), ui(new Ui::TEnhanceForm)
{
    ui->setupUi(this);
    connect(ui->RedTB, &QSlider::valueChanged, this, &TEnhanceForm::RedTBChange);
    connect(ui->GreenTB, &QSlider::valueChanged, this, &TEnhanceForm::GreenTBChange);
    connect(ui->BlueTB, &QSlider::valueChanged, this, &TEnhanceForm::BlueTBChange);
    connect(ui->MinTB, &QSlider::valueChanged, this, &TEnhanceForm::MinTBChange);
}

TEnhanceForm::~TEnhanceForm()
{
    if (EnhanceForm == this)
        EnhanceForm = nullptr;
    delete ui;
}

dovrel::EnhanceSettings TEnhanceForm::settings() const
{
    return {-ui->RedTB->value(), -ui->GreenTB->value(), -ui->BlueTB->value(), -ui->MinTB->value()};
}

void TEnhanceForm::RedTBChange()
{
    ui->RedLbl->setText(ValueText(ui->RedTB));
    if (ui->TrackCB->isChecked()) {
        MoveQuietly(ui->GreenTB, ui->RedTB->value());
        MoveQuietly(ui->BlueTB, ui->RedTB->value());
        ui->BlueLbl->setText(ValueText(ui->RedTB));
        ui->GreenLbl->setText(ValueText(ui->RedTB));
    }
}

void TEnhanceForm::GreenTBChange()
{
    ui->GreenLbl->setText(ValueText(ui->GreenTB));
    if (ui->TrackCB->isChecked()) {
        MoveQuietly(ui->RedTB, ui->GreenTB->value());
        MoveQuietly(ui->BlueTB, ui->GreenTB->value());
        ui->RedLbl->setText(ValueText(ui->GreenTB));
        ui->BlueLbl->setText(ValueText(ui->GreenTB));
    }
}

void TEnhanceForm::BlueTBChange()
{
    ui->BlueLbl->setText(ValueText(ui->BlueTB));
    if (ui->TrackCB->isChecked()) {
        MoveQuietly(ui->GreenTB, ui->BlueTB->value());
        MoveQuietly(ui->RedTB, ui->BlueTB->value());
        ui->GreenLbl->setText(ValueText(ui->BlueTB));
        ui->RedLbl->setText(ValueText(ui->BlueTB));
    }
}

void TEnhanceForm::MinTBChange() { ui->MinLbl->setText(ValueText(ui->MinTB)); }

void TEnhanceForm::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}
