#include "Strat.h"

TStratForm *StratForm = nullptr;

TStratForm::TStratForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("StratForm"));
    setWindowTitle(QStringLiteral("Strategic Map"));
}
