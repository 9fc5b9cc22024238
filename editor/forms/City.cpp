#include "City.h"

TCityForm *CityForm = nullptr;

TCityForm::TCityForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("CityForm"));
    setWindowTitle(QStringLiteral("City"));
}
