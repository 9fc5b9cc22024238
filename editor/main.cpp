// Vantor, the map editor.

#include "forms/Map.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));

    TMapForm mapForm;
    MapForm = &mapForm;
    mapForm.show();
    mapForm.activateWindow();
    const int status = QApplication::exec();
    MapForm = nullptr;
    return status;
}
