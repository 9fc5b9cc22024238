#include "help_window.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

void ShowVantorHelp(QWidget *parent)
{
    // Owned by parent, so it goes when the main window goes.
    static QPointer<QTextBrowser> help;
    if (!help) {
        help = new QTextBrowser(parent);
        help->setWindowFlag(Qt::Window);
        help->setObjectName(QStringLiteral("VantorHelp"));
        help->setWindowTitle(QStringLiteral("Vantor Help"));
        help->setOpenExternalLinks(false);
        help->setSource(QUrl(QStringLiteral("qrc:/help/vantor_help.html")));
        help->resize(640, 720);
    }
    help->show();
    help->raise();
    help->activateWindow();
}
