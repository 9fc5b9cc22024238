#include "Misc.h"

#include "ui_MiscForm.h"

#include "dialogs.h"

#include "model/editor_state.h"
#include "model/integer_text.h"

TMiscForm *MiscForm = nullptr;

TMiscForm::TMiscForm(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TMiscForm>())
{
    ui->setupUi(this);
    connect(ui->BackEdit, &QLineEdit::textEdited, this, &TMiscForm::BackEditChange);
}

TMiscForm::~TMiscForm() = default;

// The colour shows at the next full redraw.
void TMiscForm::BackEditChange(const QString &text)
{
    if (const std::optional<int> value = vantor::ParseInteger(text))
        vantor::Editor.BackgroundColor = vantor::ColourValue(*value);
    else
        Dialogs().showError(this, vantor::InvalidIntegerMessage(text));
}
