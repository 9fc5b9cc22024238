#pragma once
// The main window: the map picture, the main menu and everything a click on the map does.

#include "dialogs.h"
#include "document/map_document.h"
#include "model/colour_value.h"
#include "render/tile_set_library.h"
#include "tools/painting.h"

#include <QImage>
#include <QMainWindow>

class QScrollArea;
class MapZoom;
class RecentMaps;

#include <memory>
#include <random>

namespace Ui {
class TMapForm;
}

class TMapForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMapForm(QWidget *parent = nullptr);
    ~TMapForm() override;

    // The map, its file and its editing history: every change to the map goes through it.
    vantor::MapDocument &document() { return document_; }

    // Opens a native map (.map), an ASCII map (.amf) or a scenario (.scn, its layout read from the
    // file), after asking about unsaved changes. False when nothing was opened.
    bool openFile(const QString &path);
    // Asks whether to save unsaved changes before they would be lost; true when the caller may go
    // on (nothing unsaved, saved, or discarded).
    bool maybeSaveChanges();

    // Rebuilds the whole map picture from the map.
    void RedrawMap();
    // Sizes the map picture for the map, then redraws it.
    void RefreshMapImage();

    const QImage &mapPicture() const;
    QScrollArea &mapScrollBox();
    // The tile a paint click stamps: the last tile the palette picked or the redraw drew.
    const QImage &paintImage() const { return PaintImage; }
    void setPaintImage(const QImage &tile) { PaintImage = tile; }

    // The prompt panel that guides multi-click commands: lime, red after a failure.
    // showPrompt gives the prompt of the command collecting clicks.
    static constexpr vantor::ColourValue PromptLime = 0x00FF00;
    static constexpr vantor::ColourValue PromptRed = 0x0000FF;
    void showPrompt(const QString &text);
    void hidePrompt();
    void setPromptColour(vantor::ColourValue colour);

    // Switches what a click on the map means, ending a command that is still collecting clicks.
    void startClickMode(int mode);

    // The spray can's random numbers repeat for the same seed.
    void seedSpray(unsigned seed) { sprayRandom.seed(seed); }

    // The two file dialogs every file command shares.
    FileDialogSettings OpenDialog1;
    FileDialogSettings SaveDialog1;

public slots:
    void Save1Click();
    void ExportToTiled1Click();
    void LoadASCIIClick();
    void SaveASCIIClick();
    void LoadDefaultTerrain1Click();
    void SaveDefaultTerrain1Click();
    void LoadMap1Click();
    void SaveMap1Click();
    void LoadScenarioMap1Click();
    void SaveMapToScenario1Click();
    void LoadHMScenarioMap1Click();
    void SaveHMScenarioMap1Click();
    void LoadCites1Click();
    void SaveCities1Click();
    void SaveAsBitmap1Click();
    void Exit1Click();
    void NewMap1Click();
    void SaveAreaToASCIIMap1Click();
    void PastefromASCIIMap1Click();
    void SprayCan1Click();
    void SprayCanSettings1Click();
    void RemoveRoadConnections1Click();
    void Misc1Click();
    void ShowTiles1Click();
    void ShowRoadConnections1Click();
    void ChangeSetDefaultTerrain1Click();
    void CopyPlaceName1Click();
    void EditPlaceNames1Click();
    void ClearPlaceNames1Click();
    void ShowStrategicMap1Click();
    void CvtClick();
    void MakeRoadConnections1Click();
    void ClearRoadConnections1Click();
    void MakeCoastline1Click();
    void MakeRoads1Click();
    void MakeRivers1Click();
    void About1Click();
    void VantorHelp1Click();

    void MapImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y);
    void MapImageMouseMove(Qt::KeyboardModifiers modifiers, int X, int Y);
    void MapImageClick();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void FormActivate();
    void FormResize();
    void connectMenu();
    void drawTitlePanel();
    void reportUnavailableSets(const std::vector<int> &sets);
    void endCommand();

    // The click actions, by mode.
    void paintClick();
    void sprayStroke();
    void roadToggleClick();
    void copyPlaceNameClick();
    void saveAreaClick();
    void pasteAreaClick();
    // The map was replaced by a load: a fresh history, the file remembered, the picture rebuilt.
    void mapLoaded(const QString &path, vantor::MapFileFormat format);
    // The map was replaced by a command (New Map): the picture rebuilt.
    void mapReplaced();
    void connectDocument();
    void updateTitle();
    void updateUndoActions();
    void showRestoredHexes(const std::vector<vantor::HexCoord> &hexes);
    void showRestoredMap();
    void showRestoredTables(const vantor::MapTables &tables);
    // Draws the road overlay when it is shown; true when it drew.
    bool drawRoadOverlayIfShown();
    enum class RedrawKind { Command, Restore };
    void redrawPicture(RedrawKind kind);
    // The map was written to path: it is the current file, and a recent one.
    void mapSaved(const QString &path, vantor::MapFileFormat format);
    void showChangedHex(vantor::HexCoord hex);

    // The file commands' work once the file is chosen; each is true when it went through.
    bool loadNativeMap(const QString &fileName);
    bool loadAsciiMap(const QString &fileName);
    bool loadScenario(const QString &fileName);
    bool writeNativeMap(const QString &fileName);
    bool writeAsciiMap(const QString &fileName);
    bool writeScenario(const QString &fileName);
    bool saveMapWithDialog();
    bool saveToCurrentFile();
    QString chooseScenarioToLoad();
    bool loadHomemadeScenario(const QString &fileName);
    void setPlaceNameCommandsEnabled(bool enabled);
    std::optional<vantor::HexCoord> clickedHex() const;

    std::unique_ptr<Ui::TMapForm> ui;
    vantor::MapDocument document_;
    RecentMaps *recentMaps = nullptr;
    MapZoom *zoom = nullptr;
    vantor::TileSetLibrary tileSets;
    QImage PaintImage;
    vantor::UndoRecord undo;
    bool FirstActivation = true;
    QString commandPrompt;

    // Click state.
    int ClickX = 0;
    int ClickY = 0;
    bool ShiftDown = false;
    int AnchorIndex = 0;
    int AnchorX = 0;
    int AnchorY = 0;
    int FirstPointX = 0;
    int FirstPointY = 0;
    int SecondPointX = 0;
    int SecondPointY = 0;
    int CopyPlace = 0;
    int SprayBusy = 0;
    QPoint hoverPosition{0, 0};
    std::minstd_rand sprayRandom;
};

// The main window of the running editor.
extern TMapForm *MapForm;
