#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace dovrel {

namespace {

class RealDialogs final : public DialogSeam {
public:
    QString openFile(QWidget *parent, const FileDialogSettings &settings) override
    {
        return run(parent, settings, QFileDialog::AcceptOpen);
    }
    QString saveFile(QWidget *parent, const FileDialogSettings &settings) override
    {
        return run(parent, settings, QFileDialog::AcceptSave);
    }
    void showError(QWidget *parent, const QString &message) override
    {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message, QMessageBox::Ok, parent);
        box.exec();
    }

private:
    static QString run(QWidget *parent, const FileDialogSettings &settings, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, settings.title.isEmpty() ? (mode == QFileDialog::AcceptOpen ? QStringLiteral("Open") : QStringLiteral("Save As"))
                                                            : settings.title);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!settings.filter.isEmpty())
            dialog.setNameFilter(QtNameFilters(settings.filter));
        if (!settings.defaultExt.isEmpty())
            dialog.setDefaultSuffix(settings.defaultExt);
        if (mode == QFileDialog::AcceptSave)
            dialog.setOption(QFileDialog::DontConfirmOverwrite); // files are replaced without asking
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

RealDialogs g_real;
DialogSeam *g_current = &g_real;

} // namespace

DialogSeam &Dialogs() { return *g_current; }

void SetDialogs(DialogSeam *seam) { g_current = seam ? seam : &g_real; }

QString QtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')).trimmed();
        // Qt reads the patterns from the last parentheses of each entry.
        filters.append(description.endsWith(QStringLiteral("(%1)").arg(patterns))
                           ? description
                           : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace dovrel
