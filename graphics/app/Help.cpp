#include "Help.h"

#include "ui_Help.h"

#include <QGuiApplication>
#include <QScreen>

THelpForm *HelpForm = nullptr;

THelpForm::THelpForm(QWidget *parent) : QWidget(parent), ui(new Ui::THelpForm)
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &THelpForm::OKBtnClick);
}

THelpForm::~THelpForm()
{
    if (HelpForm == this)
        HelpForm = nullptr;
    delete ui;
}

void THelpForm::OKBtnClick() { close(); }

void THelpForm::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}
