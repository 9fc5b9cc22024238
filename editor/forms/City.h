#pragma once
// The "City" window: a view of the document's city table, and the caption and clear actions that
// clicks on the map carry out while the city-caption tool is in use.

#include "document/map_document.h"
#include "tools/map_tools.h"

#include <QWidget>

#include <memory>

class TextTableModel;

namespace Ui {
class TCityForm;
}

class TCityForm : public QWidget {
    Q_OBJECT
public:
    TCityForm(vantor::MapDocument &document, vantor::MapTools &tools, QWidget *parent = nullptr);
    ~TCityForm() override;

public slots:
    void CaptionBtnClick();
    void ClearBtnClick();
    void UncaptionBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void choose(vantor::CityCaptionTool::Action action);
    void showChosen();

    std::unique_ptr<Ui::TCityForm> ui;
    vantor::MapDocument &document_;
    vantor::MapTools &tools_;
    TextTableModel *model_ = nullptr;
    int chosenRow_ = 0;
    int series_ = 0; // the step the cells typed since the window was shown belong to
};
