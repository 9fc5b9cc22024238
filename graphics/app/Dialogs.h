#pragma once

#include <QString>

class QWidget;

namespace dovrel {

// What a file dialog is set up with, in the program's own filter notation
// ("Description|*.ext|Description|*.ext").
struct FileDialogSettings {
    QString title;
    QString filter;
    QString defaultExt;
};

// Every file dialog and message box of Dovrel goes through this seam, so that
// tests can answer them and never block on a modal window.
class DialogSeam {
public:
    virtual ~DialogSeam() = default;
    // The chosen file, or an empty text when the user cancels.
    virtual QString openFile(QWidget *parent, const FileDialogSettings &settings) = 0;
    virtual QString saveFile(QWidget *parent, const FileDialogSettings &settings) = 0;
    // The standard error box: the message and an OK button.
    virtual void showError(QWidget *parent, const QString &message) = 0;
};

// The seam in use; the real dialogs unless a test installed its own.
DialogSeam &Dialogs();
// Installs `seam` (not owned); nullptr restores the real dialogs.
void SetDialogs(DialogSeam *seam);

// "Windows Bitmaps (*.bmp)|*.bmp" as a Qt name filter list.
QString QtNameFilters(const QString &filter);

} // namespace dovrel
