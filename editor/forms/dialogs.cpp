#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QMessageBox>

namespace {

QString RunFileDialog(QWidget *parent, const FileDialogSettings &settings, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, settings.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The commands ask their own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(QtNameFilters(settings.filter));
    dialog.setDefaultSuffix(settings.defaultExt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

class QtDialogs final : public DialogProvider {
public:
    QString openFileName(QWidget *parent, const FileDialogSettings &settings) override
    {
        return RunFileDialog(parent, settings, QFileDialog::AcceptOpen);
    }
    QString saveFileName(QWidget *parent, const FileDialogSettings &settings) override
    {
        return RunFileDialog(parent, settings, QFileDialog::AcceptSave);
    }
    bool confirm(QWidget *parent, const QString &caption, const QString &text) override
    {
        return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                     QMessageBox::Ok) == QMessageBox::Ok;
    }
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override
    {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
               QMessageBox::Yes;
    }
    SaveChoice askSaveChanges(QWidget *parent, const QString &caption, const QString &text) override
    {
        switch (QMessageBox::warning(parent, caption, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                     QMessageBox::Save)) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
        }
    }
    int askChoice(QWidget *parent, const QString &caption, const QString &text, const QStringList &choices) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Cancel, parent);
        QList<QAbstractButton *> buttons;
        for (const QString &choice : choices)
            buttons.append(box.addButton(choice, QMessageBox::AcceptRole));
        if (!buttons.isEmpty())
            box.setDefaultButton(static_cast<QPushButton *>(buttons.first()));
        box.exec();
        return int(buttons.indexOf(box.clickedButton()));
    }
    void inform(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
    }
    void showError(QWidget *parent, const QString &text) override
    {
        QMessageBox::critical(parent, QApplication::applicationName(), text, QMessageBox::Ok);
    }
};

QtDialogs realDialogs;
DialogProvider *installed = nullptr;

} // namespace

DialogProvider &Dialogs() { return installed ? *installed : realDialogs; }

void InstallDialogs(DialogProvider *provider) { installed = provider; }

QString QtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        // "*.*" means every file, with or without an extension; stray brackets are no part of a pattern.
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
        // Names are matched without regard to case, as users of these files expect.
        QStringList variants;
        for (const QString &pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            for (const QString &variant : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!variants.contains(variant))
                    variants << variant;
        patterns = variants.join(QLatin1Char(' '));
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        filters << (description.endsWith(suffix) ? description : QStringLiteral("%1 %2").arg(description, suffix));
    }
    return filters.join(QLatin1String(";;"));
}

bool ConfirmOverwrite(QWidget *parent, const QString &fileName)
{
    const QString text = QStringLiteral("Warning. You are about to overwrite\n%1\nGo ahead????").arg(fileName, 20);
    return Dialogs().confirm(parent, QStringLiteral("Overwrite Warning"), text);
}

QString AskFileToWrite(QWidget *parent, const FileDialogSettings &settings)
{
    const QString fileName = Dialogs().saveFileName(parent, settings);
    if (fileName.isEmpty() || (QFileInfo::exists(fileName) && !ConfirmOverwrite(parent, fileName)))
        return {};
    return fileName;
}
