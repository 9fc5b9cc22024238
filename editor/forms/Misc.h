#pragma once
// The "Misc" window: the background colour of the map picture.

#include "document/editor_settings.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class TMiscForm;
}

class TMiscForm : public QWidget {
    Q_OBJECT
public:
    explicit TMiscForm(vantor::EditorSettings &settings, QWidget *parent = nullptr);
    ~TMiscForm() override;

public slots:
    void BackEditExit();

private:
    std::unique_ptr<Ui::TMiscForm> ui;
    vantor::EditorSettings &settings_;
    std::optional<QString> checkedText; // the text checked last, none before the first check
};
