#pragma once

#include "Dialogs.h"
#include "core/ColorValue.h"
#include "core/TileArchive.h"

#include <QWidget>

#include <optional>

namespace Ui {
class TSetsForm;
}

// Dovrel's main window: turns the tile archive into the tile-set bitmaps that
// Vantor draws with, one set at a time or all 16 in one batch.
class TSetsForm : public QWidget {
    Q_OBJECT
public:
    explicit TSetsForm(QWidget *parent = nullptr);
    ~TSetsForm() override;

    Ui::TSetsForm *ui;

    QImage &largeImage();
    QImage &smallImage();
    // The palette table and the previous palette offset live for the whole run.
    dovrel::DecoderState &decoderState() { return m_decoder; }
    bool batchRunning() const { return m_batchRunning; }

public slots:
    void FormCreate();
    void AutoBtnClick();
    void HelpBtnClick();
    void SetupBtnClick();
    void LoadBtnClick();
    void SaveBtnClick();
    void SaveLBtnClick();
    void ShrinkBtnClick();
    void LinesBtnClick();
    void GenerateBtnClick();
    void BleedBtnClick();
    void FillBtnClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Opens til.pfp in the current folder, or the archive the user points at; false when the user
    // cancels or the file cannot be opened (the error is shown).
    bool openArchive(dovrel::ArchiveFile &archive);
    // The steps, telling whether the batch may go on. Generate uses the batch's archive when given
    // one, else looks for it itself.
    bool generate(QStringList *problems, dovrel::ArchiveFile *batchArchive = nullptr);
    bool lines();
    std::optional<dovrel::ColorValue> backgroundColor();
    bool saveImage(const QImage &image, const QString &path);
    void saveWithDialog(const QImage &image, const QString &title);
    void setButtonsEnabled(bool enabled);

    dovrel::FileDialogSettings OpenDialog1;
    dovrel::FileDialogSettings SaveDialog1;
    dovrel::DecoderState m_decoder;
    bool m_batchRunning = false;
    bool m_batchCancelled = false;
};

extern TSetsForm *SetsForm;
