#include "windows.h"

#include "Map.h"
#include "recovery_autosave.h"

#include "document/recovery_files.h"
#include "files/file_io.h"

#include <QFile>
#include <QFileInfo>

#include <QScreen>

void CentreOnScreen(QWidget &window)
{
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

VantorWindows::VantorWindows()
    : mapForm_(std::make_unique<TMapForm>(document_, settings_))
{
}

VantorWindows::~VantorWindows() = default;

std::optional<QString> VantorWindows::offerRecovery()
{
    using namespace vantor;
    std::optional<QString> recovered;
    for (LeftRecovery &left : FindLeftRecoveries()) {
        const std::optional<RecoverySnapshot> snapshot = left.read();
        if (!snapshot) {
            const QString aside = left.moveAside();
            Dialogs().inform(mapForm_.get(), QStringLiteral("Recovery File Damaged"),
                             FileMessage(left.path(), QStringLiteral("the recovery file is damaged or is not one, so "
                                                                     "nothing can be recovered from it. It was moved "
                                                                     "aside as %1.")
                                                          .arg(QFileInfo(aside).fileName())));
            continue;
        }
        const QString name = snapshot->filePath.isEmpty() ? QStringLiteral("an unnamed map")
                                                          : QFileInfo(snapshot->filePath).fileName();
        const int choice = Dialogs().askChoice(
            mapForm_.get(), QStringLiteral("Vantor Version 0.50b"),
            QStringLiteral("Vantor was not closed properly. Recover the unsaved changes to %1?").arg(name),
            {QStringLiteral("Recover"), QStringLiteral("Discard")});
        if (choice == 0 && mapForm_->recover(*snapshot)) {
            // This process's copy is written before the old one goes.
            mapForm_->autosave().writeNow();
            mapForm_->autosave().writer().removeLeft(std::move(left));
            recovered = document_.filePath();
        } else if (choice == 1) {
            QFile::remove(left.path());
            left.release();
        } else {
            left.release();
        }
    }
    return recovered;
}
