#pragma once
// The "New Map" dialog: the size of a new map and the terrain it will be filled with.

#include <QDialog>

#include <memory>

namespace Ui {
class TInputForm;
}

class TInputForm : public QDialog {
    Q_OBJECT
public:
    // What exec() returns for OK; Cancel gives CancelResult and closing the window 0.
    static constexpr int OkResult = 100;
    static constexpr int CancelResult = 1;

    explicit TInputForm(QWidget *parent = nullptr);
    ~TInputForm() override;

    // Shows the fill terrain and replaces the instructions; the sizes keep what was typed last time.
    void prepare(const QString &terrainName, const QStringList &instructions);
    QString xText() const;
    QString yText() const;

public slots:
    void OKBtnClick();
    void CancelBtnClick();

private:
    std::unique_ptr<Ui::TInputForm> ui;
};
