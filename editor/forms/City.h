#pragma once
// The "City" window: the city table, and the caption and clear actions that clicks on the map
// carry out while the main window is in city-caption mode.

#include "model/map_store.h"
#include "model/place_tables.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TCityForm;
}

class TCityForm : public QWidget {
    Q_OBJECT
public:
    explicit TCityForm(QWidget *parent = nullptr);
    ~TCityForm() override;

    vantor::CityTable cities() const;
    void setCities(const vantor::CityTable &cities);
    // Name and number text of city `city` (row city + 1); empty when there is no such row.
    QString cityName(int city) const;
    QString cityNumber(int city) const;

    // A map click in city-caption mode: caption the hex with the chosen city, or clear it.
    void applyPendingAction(vantor::HexCoord hex);
    // No caption or clear action is chosen any more.
    void forgetPendingAction();

public slots:
    void CaptionBtnClick();
    void ClearBtnClick();
    void UncaptionBtnClick();

private:
    void FormCreate();
    void enterCaptionMode();
    QString cellText(int column, int gridRow) const;

    enum class PendingAction { None, Caption, Clear };
    std::unique_ptr<Ui::TCityForm> ui;
    PendingAction pending = PendingAction::None;
    int pendingRow = 0;
};

extern TCityForm *CityForm;
