#pragma once
// Every file dialog and message box of the editor goes through here, so that tests can answer them.

#include <QString>
#include <QStringList>

class QWidget;

// What a file command sets on one of the two shared file dialogs before showing it; whatever it does
// not set stays as the last command left it.
struct FileDialogSettings {
    QString title;
    QString filter;       // "Description|pattern|Description|pattern"
    QString defaultExt;   // added to a typed name without an extension
};

// The answers to "Save changes to NAME?".
enum class SaveChoice { Save, Discard, Cancel };

class DialogProvider {
public:
    virtual ~DialogProvider() = default;

    // The chosen file, or an empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const FileDialogSettings &settings) = 0;
    virtual QString saveFileName(QWidget *parent, const FileDialogSettings &settings) = 0;

    // A question with OK and Cancel; true when the user presses OK.
    virtual bool confirm(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A question with Yes and No; true when the user answers Yes.
    virtual bool askYesNo(QWidget *parent, const QString &caption, const QString &text) = 0;
    // Whether to save unsaved changes before they would be lost: Save, Discard or Cancel.
    virtual SaveChoice askSaveChanges(QWidget *parent, const QString &caption, const QString &text) = 0;
    // A question answered by one of choices or Cancel: the index of the choice, or -1 for Cancel.
    virtual int askChoice(QWidget *parent, const QString &caption, const QString &text, const QStringList &choices) = 0;
    // A message with an OK button.
    virtual void inform(QWidget *parent, const QString &caption, const QString &text) = 0;
    // The application's standard display of an error.
    virtual void showError(QWidget *parent, const QString &text) = 0;
};

// The provider in use: real dialogs unless a test installed its own.
DialogProvider &Dialogs();
// Installs provider (not owned) in place of the real dialogs; nullptr restores them.
void InstallDialogs(DialogProvider *provider);

// "Map files (*.map)|*.map|All files (*.*)|*.*" as a file dialog's name filters.
QString QtNameFilters(const QString &filter);

// Asks before a file is overwritten; true when the user agrees.
bool ConfirmOverwrite(QWidget *parent, const QString &fileName);

// The file a save command writes: asked for with settings and, when it exists, confirmed to be
// overwritten. Empty when the user cancels either question.
QString AskFileToWrite(QWidget *parent, const FileDialogSettings &settings);
