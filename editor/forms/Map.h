#pragma once
// The main window: the map picture, the main menu and everything a click on the map does.

#include "dialogs.h"
#include "render/tile_set_library.h"

#include <QImage>
#include <QMainWindow>

#include <memory>

namespace Ui {
class TMapForm;
}

class TMapForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMapForm(QWidget *parent = nullptr);
    ~TMapForm() override;

    // Rebuilds the whole map picture from the map.
    void RedrawMap();
    // Sizes the map picture for the map, then redraws it.
    void RefreshMapImage();

    const QImage &mapPicture() const;
    // The tile a paint click stamps: the last tile the palette picked or the redraw drew.
    const QImage &paintImage() const { return PaintImage; }

    // The two file dialogs every file command shares.
    FileDialogSettings OpenDialog1;
    FileDialogSettings SaveDialog1;

public slots:
    void LoadMap1Click();
    void SaveMap1Click();
    void Exit1Click();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void FormActivate();
    void FormResize();
    void connectMenu();
    void drawTitlePanel();
    void reportUnavailableSets(const std::vector<int> &sets);

    std::unique_ptr<Ui::TMapForm> ui;
    vantor::TileSetLibrary tileSets;
    QImage PaintImage;
    bool FirstActivation = true;
};

// The main window of the running editor.
extern TMapForm *MapForm;
