#include "Misc.h"

#include "ui_MiscForm.h"

#include "dialogs.h"

#include "model/integer_text.h"

TMiscForm::TMiscForm(vantor::EditorSettings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TMiscForm>())
    , settings_(settings)
{
    ui->setupUi(this);
    // Checked when the user presses Enter or leaves the box: "", "0x" and "$" on the way to a value
    // are not errors yet.
    connect(ui->BackEdit, &QLineEdit::editingFinished, this, &TMiscForm::BackEditExit);
}

TMiscForm::~TMiscForm() = default;

// The colour shows at the next full redraw.
void TMiscForm::BackEditExit()
{
    // The error box takes the focus from the box, which finishes the edit again: check each text once.
    const QString text = ui->BackEdit->text();
    if (text == checkedText)
        return;
    checkedText = text;
    if (const std::optional<int> value = vantor::ParseInteger(text))
        settings_.backgroundColour = vantor::ColourValue(*value);
    else
        Dialogs().showError(this, vantor::InvalidIntegerMessage(text));
}
