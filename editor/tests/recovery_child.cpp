// A Vantor that paints one hex of the map it is given and waits to be killed: the recovery test
// kills it once its recovery file is written, as a crash would, and recovers what it painted.

#include "test_support.h"

#include "forms/Map.h"
#include "forms/windows.h"

#include <QApplication>

using namespace vantor;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    // No tile sets here: the message about them is answered, not shown.
    testing::ScriptedDialogs dialogs;
    VantorWindows windows;
    if (!windows.main().openFile(QString::fromLocal8Bit(argv[1])))
        return 1;
    windows.document().edit(QStringLiteral("Paint"), [](MapContent &content) {
        content.map.at(Terrain, 2, 3) = 7;
        content.map.at(TileIndex, 2, 3) = 5;
    });
    return QApplication::exec();
}
