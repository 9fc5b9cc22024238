// Dovrel: makes the tile-set bitmaps that Vantor draws its maps with.

#include "Enhance.h"
#include "Help.h"
#include "Shrink.h"
#include "program_info.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>

#include <exception>

namespace {

const char *const HelpText =
    "Usage: dovrel [--user-folder]\n"
    "Makes the tile-set bitmaps Setxxm.bmp that Vantor draws its maps with, from the game's tile\n"
    "archive til.pfp, in a window.\n"
    "\n"
    "Options:\n"
    "  --user-folder  Work in the user's tile-set folder ~/.local/share/vantor, creating it, where\n"
    "                 Vantor finds the sets; without it, in the current folder.\n"
    "  -h, --help     Print this help and exit.\n"
    "  --version      Print the version and exit.\n";

} // namespace

int main(int argc, char **argv)
{
    if (AnswerHelpOrVersion(argc, argv, "dovrel", HelpText))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dovrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/dovrel/dovrel.png")));
    // The desktop menu starts Dovrel with --user-folder: it then works in the user's tile-set
    // folder (~/.local/share/vantor), the folder Vantor searches after its own, so the sets it
    // writes are the ones Vantor draws with, and til.pfp is looked for there first.
    if (QApplication::arguments().contains(QStringLiteral("--user-folder"))) {
        const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                                   .filePath(QStringLiteral("vantor"));
        if (!QDir().mkpath(folder) || !QDir::setCurrent(folder))
            QMessageBox::warning(nullptr, QApplication::applicationName(),
                                 QStringLiteral("Cannot work in %1; the tile sets go to %2.").arg(folder, QDir::currentPath()));
    }
    try {
        // The main window comes first and is the main window; the help and
        // enhancement windows follow, hidden.
        TSetsForm sets;
        SetsForm = &sets;
        THelpForm help;
        HelpForm = &help;
        TEnhanceForm enhance;
        EnhanceForm = &enhance;
        sets.show();
        return QApplication::exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
