#include "help_window.h"

#include <QTextBrowser>
#include <QUrl>

void ShowVantorHelp(QWidget &parent)
{
    const QString name = QStringLiteral("VantorHelp");
    auto *help = parent.findChild<QTextBrowser *>(name, Qt::FindDirectChildrenOnly);
    if (!help) {
        help = new QTextBrowser(&parent);
        help->setWindowFlag(Qt::Window);
        help->setObjectName(name);
        help->setWindowTitle(QStringLiteral("Vantor Help"));
        help->setOpenExternalLinks(false);
        help->setSource(QUrl(QStringLiteral("qrc:/help/vantor_help.html")));
        help->resize(640, 720);
    }
    help->show();
    help->raise();
    help->activateWindow();
}
