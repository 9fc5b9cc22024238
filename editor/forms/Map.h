#pragma once
// The main window: the map picture, the main menu, and the tools that a click on the map hands to.
// It shows the document and hands the user's input to a tool or a command; the tool windows are
// its own and are shown from its menus.

#include "dialogs.h"
#include "document/editor_settings.h"
#include "document/map_document.h"
#include "document/recovery_file.h"
#include "files/file_backup.h"
#include "files/file_lock.h"
#include "tools/map_commands.h"
#include "tools/map_tools.h"

#include <QMainWindow>

#include <memory>

class MapOverlay;
class MapStatusBar;
class MapView;
class MapZoom;
class QComboBox;
class PictureBox;
class QScrollArea;
class DiskWatch;
class RecentMapsMenu;
class RecoveryAutosave;
class TCityForm;
class TInputForm;
class TMapConvert;
class TMiscForm;
class TPlaceForm;
class TSprayForm;
class TStratForm;
class TTilesForm;

namespace Ui {
class TMapForm;
}

class TMapForm : public QMainWindow, private vantor::ToolHost {
    Q_OBJECT
public:
    TMapForm(vantor::MapDocument &document, vantor::EditorSettings &settings, QWidget *parent = nullptr);
    ~TMapForm() override;

    vantor::MapDocument &document() { return document_; }
    vantor::EditorSettings &settings() { return settings_; }
    vantor::MapTools &tools() { return *tools_; }
    MapStatusBar &mapStatusBar() { return *statusBar_; }
    // The tool bar's brush sizes: 1, 7, 19 and 37 hexes.
    QComboBox &brushSizeBox() { return *brushSizeBox_; }

    // The tool windows.
    TTilesForm &tilesForm() { return *tilesForm_; }
    TMapConvert &mapConvert() { return *mapConvert_; }
    TPlaceForm &placeForm() { return *placeForm_; }
    TInputForm &inputForm() { return *inputForm_; }
    TStratForm &stratForm() { return *stratForm_; }
    TSprayForm &sprayForm() { return *sprayForm_; }
    TMiscForm &miscForm() { return *miscForm_; }
    TCityForm &cityForm() { return *cityForm_; }

    // Opens a native map (.map), an ASCII map (.amf) or a scenario (.scn, its layout read from the
    // file), after asking about unsaved changes. False when nothing was opened.
    bool openFile(const QString &path);
    // Asks whether to save unsaved changes before they would be lost; true when the caller may go
    // on (nothing unsaved, saved, or discarded).
    bool maybeSaveChanges();
    // Shows a map recovered after a crash in place of this one (after asking about unsaved
    // changes), tied to its file when that still exists. False when nothing changed.
    bool recover(const vantor::RecoverySnapshot &snapshot);
    // The recovery file of this window's document.
    RecoveryAutosave &autosave() { return *autosave_; }

    // Draws the whole map picture anew.
    void RedrawMap();

    const QImage &mapPicture() const;
    QScrollArea &mapScrollBox();

    // Takes up the tool of a click mode, putting down the one in use.
    void startClickMode(vantor::ClickMode mode);

    // The two file dialogs every file command shares.
    FileDialogSettings OpenDialog1;
    FileDialogSettings SaveDialog1;

public slots:
    void Save1Click();
    void ExportToTiled1Click();
    void ImportFromTiled1Click();
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
    void KeepBackup1Click();
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
    void MapImageClick(Qt::KeyboardModifiers modifiers, int X, int Y);
    void MapImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y);
    // Edit > Copy and Paste: the selected hexes through the system clipboard.
    void copySelection();
    void pasteFromClipboard();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // What the tools ask of the window.
    QString askAreaFileToSave() override;
    QString askAreaFileToPaste() override;
    bool confirmOverwrite(const QString &path) override;
    void showLoadProblem(const vantor::LoadResult &result) override;
    void inform(const QString &caption, const QString &text) override;
    void showError(const QString &text) override;

    void FormCreate();
    void FormActivate();
    void FormResize();
    void connectMenu();
    void connectDocument();
    void connectTools();
    // The tool bar, the status bar and the commands that show or keep them (Map_chrome.cpp).
    void setUpChrome();
    void makeKeysWorkInEveryWindow();
    void drawTitlePanel();
    void reportUnavailableSets(const std::vector<int> &sets);
    void updateTitle();
    void updateUndoActions();
    void updatePlaceNameCommands();
    void showToolPrompt();
    std::vector<std::pair<QAction *, vantor::ClickMode>> toolActions() const;
    // Checks the tool bar's tool in use and names it, with the brush size, in the status bar.
    void showToolInUse();
    // The hover label names the hex under the pointer; force renames it even when the pointer has
    // not moved.
    void showHoverLabel(QPoint position, bool force);
    // A step changed the map: the label names what the hovered hex holds now.
    void renameHoveredHex();
    // A map took the place of the last one: the palette has nothing picked.
    void mapReplaced();
    vantor::MapPointer pointerAt(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const;

    // The file commands' work once the file is chosen; each is true when it went through.
    bool load(const QString &fileName, vantor::MapFileFormat format);
    bool saveTo(const QString &fileName, vantor::MapFileFormat format);
    bool saveMapWithDialog();
    bool saveToCurrentFile();
    bool chooseAndLoadScenario(vantor::ScenarioLayout layout);
    void saveToScenarioWithDialog(vantor::ScenarioLayout layout);
    // Runs a pattern pass over the whole map as one step.
    void runPass(const QString &name, vantor::WholeMapPass pass);
    vantor::MapFileOptions askingOptions();
    // Takes the lock of path into lock unless this window holds it already. A file another running
    // Vantor has open is taken only if the user agrees (when asked) or not at all; false when the
    // user declines.
    bool lockFile(const QString &path, vantor::FileLock &lock, bool ask);
    // The document's file is now path: its lock, taken into lock, is the one held.
    void keepLock(const QString &path, vantor::FileLock &lock);

    std::unique_ptr<Ui::TMapForm> ui;
    vantor::MapDocument &document_;
    vantor::EditorSettings &settings_;
    std::unique_ptr<vantor::MapTools> tools_;
    std::unique_ptr<RecoveryAutosave> autosave_;
    std::unique_ptr<DiskWatch> diskWatch_;
    vantor::FileBackups backups_;
    vantor::FileLock fileLock_; // of the document's file
    MapView *view_ = nullptr;
    MapOverlay *overlay_ = nullptr;
    RecentMapsMenu *recentMaps_ = nullptr;
    MapZoom *zoom_ = nullptr;
    MapStatusBar *statusBar_ = nullptr;
    QComboBox *brushSizeBox_ = nullptr;
    bool FirstActivation = true;
    QPoint hoverPosition_{0, 0};
    bool hovered_ = false; // the pointer has been over the map

    std::unique_ptr<TTilesForm> tilesForm_;
    std::unique_ptr<TMapConvert> mapConvert_;
    std::unique_ptr<TPlaceForm> placeForm_;
    std::unique_ptr<TInputForm> inputForm_;
    std::unique_ptr<TStratForm> stratForm_;
    std::unique_ptr<TSprayForm> sprayForm_;
    std::unique_ptr<TMiscForm> miscForm_;
    std::unique_ptr<TCityForm> cityForm_;
};
