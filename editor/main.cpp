// Vantor, the map editor.

#include "forms/Map.h"
#include "forms/windows.h"
#include "program_info.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

const char *const HelpText =
    "Usage: vantor [FILE]\n"
    "The map editor for Ketura: opens FILE when one is named, a native map (.map), an ASCII map\n"
    "(.amf) or a scenario (.scn), given as a path or a file:// URL.\n"
    "\n"
    "Options:\n"
    "  -h, --help  Print this help and exit.\n"
    "  --version   Print the version and exit.\n"
    "Qt's own options, such as -platform NAME and -style NAME, are taken as well.\n";

} // namespace

int main(int argc, char *argv[])
{
    if (AnswerHelpOrVersion(argc, argv, "vantor", HelpText))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setOrganizationName(QStringLiteral("Vantor"));

    QCommandLineParser parser;
    parser.process(app);

    VantorWindows windows;
    windows.main().show();
    windows.main().activateWindow();
    if (!parser.positionalArguments().isEmpty())
        windows.main().openFile(LocalFileArgument(parser.positionalArguments().first()));
    return QApplication::exec();
}
