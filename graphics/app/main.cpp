// Dovrel: makes the tile-set bitmaps that Vantor draws its maps with.

#include "Enhance.h"
#include "Help.h"
#include "Shrink.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <exception>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dovrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/dovrel/dovrel.png")));
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
