#pragma once

#include "Dialogs.h"
#include "core/Batch.h"
#include "core/ColorValue.h"
#include "core/EnhanceColor.h"
#include "core/TileArchive.h"

#include <QWidget>

#include <functional>
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
    // The batch's start of a set: shows which set it is and reads the controls into `steps`;
    // false ends the batch (closed window, background text that is not a number).
    bool startBatchSet(int set, int index, int total, dovrel::SetSteps &steps);
    // Repaints the large image's cells one by one as Generate draws a set's tiles.
    std::function<void()> largeTileRepainter();
    // Repaints the small image row by row as Shrink writes it.
    std::function<void(int)> smallRowRepainter();
    // After Generate: the new tiles on screen, and the background the canvas really holds.
    void showGenerated();
    dovrel::EnhanceSettings enhanceSettings() const;
    std::optional<dovrel::ColorValue> backgroundColor();
    void saveWithDialog(const QImage &image, const QString &title);
    void setButtonsEnabled(bool enabled);

    dovrel::FileDialogSettings OpenDialog1;
    dovrel::FileDialogSettings SaveDialog1;
    dovrel::DecoderState m_decoder;
    bool m_batchRunning = false;
    bool m_batchCancelled = false;
};

extern TSetsForm *SetsForm;
