// Vantor, the map editor.

#include "forms/Map.h"
#include "forms/windows.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setOrganizationName(QStringLiteral("Vantor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The map editor for Ketura."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A map to open: a native map (.map), an ASCII map (.amf) or a scenario (.scn)."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    VantorWindows windows;
    windows.main().show();
    windows.main().activateWindow();
    if (!parser.positionalArguments().isEmpty())
        windows.main().openFile(parser.positionalArguments().first());
    return QApplication::exec();
}
