#include "Places.h"

TPlaceForm *PlaceForm = nullptr;

TPlaceForm::TPlaceForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PlaceForm"));
    setWindowTitle(QStringLiteral("Place Name Editor"));
}
