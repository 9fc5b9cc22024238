// Vantor, the map editor.

#include "forms/Map.h"
#include "forms/windows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));

    VantorWindows windows;
    windows.main().show();
    windows.main().activateWindow();
    return QApplication::exec();
}
