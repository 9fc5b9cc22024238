// Vantor, the map editor.

#include "forms/Map.h"
#include "forms/windows.h"
#include "program_info.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

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
    const std::optional<QString> recovered = windows.offerRecovery();
    // The recovery question took the activation: the main window takes it back, with the palette.
    windows.main().activateWindow();
    if (!parser.positionalArguments().isEmpty()) {
        // A file recovered is shown as it was recovered, not as the disk has it.
        const QString path = LocalFileArgument(parser.positionalArguments().first());
        if (!recovered || QFileInfo(*recovered) != QFileInfo(path))
            windows.main().openFile(path);
    }
    return QApplication::exec();
}
