#include "MapCvt.h"

TMapConvert *MapConvert = nullptr;

TMapConvert::TMapConvert(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("MapConvert"));
    setWindowTitle(QStringLiteral("Map Converter"));
}
