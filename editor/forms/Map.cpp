#include "Map.h"

#include "ui_MapForm.h"

#include "City.h"
#include "MapCvt.h"
#include "Input.h"
#include "Misc.h"
#include "Places.h"
#include "Spray.h"
#include "Strat.h"
#include "Tiles.h"
#include "help_window.h"
#include "map_zoom.h"
#include "recent_maps.h"

#include "model/editor_state.h"
#include "model/geometry.h"
#include "model/integer_text.h"
#include "render/map_patch.h"
#include "render/map_renderer.h"
#include "tools/place_names.h"
#include "tools/road_links.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QRandomGenerator>

using namespace vantor;

TMapForm *MapForm = nullptr;

namespace {

// Shows the busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

constexpr ColourValue Olive = 0x008080;
constexpr ColourValue Aqua = 0xFFFF00;
constexpr ColourValue Green = 0x008000;
constexpr ColourValue Silver = 0xC0C0C0;

constexpr int HoverStep = 10; // the hover label follows the mouse in steps of more than this many screen pixels

const QString WindowCaption = QStringLiteral("Vantor Version 0.50b");
const QString PickTileHint = QStringLiteral("Pick a tile in the Tiles window");

} // namespace

TMapForm::TMapForm(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TMapForm>())
    , document_(Map)
    , sprayRandom(QRandomGenerator::global()->generate())
{
    ui->setupUi(this);
    recentMaps = new RecentMaps(*ui->RecentMaps1, this);
    zoom = new MapZoom(*this, *ui->MapScrollBox, *ui->MapImage,
                       {ui->ZoomIn1, ui->ZoomOut1, ui->ActualSize1, ui->FitMapInWindow1});
    connectMenu();
    connectDocument();
    FormCreate();
    updateTitle();
}

TMapForm::~TMapForm() = default;

const QImage &TMapForm::mapPicture() const { return ui->MapImage->picture(); }

QScrollArea &TMapForm::mapScrollBox() { return *ui->MapScrollBox; }

void TMapForm::connectMenu()
{
    const auto on = [this](QAction *action, void (TMapForm::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    on(ui->Save1, &TMapForm::Save1Click);
    on(ui->ExportToTiled1, &TMapForm::ExportToTiled1Click);
    on(ui->LoadASCII, &TMapForm::LoadASCIIClick);
    on(ui->SaveASCII, &TMapForm::SaveASCIIClick);
    on(ui->LoadDefaultTerrain1, &TMapForm::LoadDefaultTerrain1Click);
    on(ui->SaveDefaultTerrain1, &TMapForm::SaveDefaultTerrain1Click);
    on(ui->LoadMap1, &TMapForm::LoadMap1Click);
    on(ui->SaveMap1, &TMapForm::SaveMap1Click);
    on(ui->LoadScenarioMap1, &TMapForm::LoadScenarioMap1Click);
    on(ui->SaveMapToScenario1, &TMapForm::SaveMapToScenario1Click);
    on(ui->LoadHMScenarioMap1, &TMapForm::LoadHMScenarioMap1Click);
    on(ui->SaveHMScenarioMap1, &TMapForm::SaveHMScenarioMap1Click);
    on(ui->LoadCites1, &TMapForm::LoadCites1Click);
    on(ui->SaveCities1, &TMapForm::SaveCities1Click);
    on(ui->SaveAreato1, &TMapForm::SaveAreaToASCIIMap1Click);
    on(ui->PastefromASCIIMap1, &TMapForm::PastefromASCIIMap1Click);
    on(ui->SaveAsBitmap1, &TMapForm::SaveAsBitmap1Click);
    on(ui->Exit1, &TMapForm::Exit1Click);
    on(ui->NewMap1, &TMapForm::NewMap1Click);
    on(ui->SprayCan1, &TMapForm::SprayCan1Click);
    on(ui->SprayCanSettings1, &TMapForm::SprayCanSettings1Click);
    on(ui->RemoveRoadConnections1, &TMapForm::RemoveRoadConnections1Click);
    on(ui->Misc1, &TMapForm::Misc1Click);
    on(ui->ShowTiles1, &TMapForm::ShowTiles1Click);
    on(ui->ShowRoadConnections1, &TMapForm::ShowRoadConnections1Click);
    on(ui->ChangeSetDefaultTerrain1, &TMapForm::ChangeSetDefaultTerrain1Click);
    on(ui->CopyPlaceName1, &TMapForm::CopyPlaceName1Click);
    on(ui->EditPlaceNames1, &TMapForm::EditPlaceNames1Click);
    on(ui->ClearPlaceNames1, &TMapForm::ClearPlaceNames1Click);
    on(ui->ShowStrategicMap1, &TMapForm::ShowStrategicMap1Click);
    on(ui->Cvt, &TMapForm::CvtClick);
    on(ui->MakeRoadConnections1, &TMapForm::MakeRoadConnections1Click);
    on(ui->ClearRoadConnections1, &TMapForm::ClearRoadConnections1Click);
    on(ui->MakeCoastline1, &TMapForm::MakeCoastline1Click);
    on(ui->MakeRoads1, &TMapForm::MakeRoads1Click);
    on(ui->MakeRivers1, &TMapForm::MakeRivers1Click);
    on(ui->About1, &TMapForm::About1Click);
    on(ui->VantorHelp1, &TMapForm::VantorHelp1Click);

    // Both common redo keys, whichever the desktop names as its own.
    ui->Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ui->Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(ui->Undo1, &QAction::triggered, &document_.history(), &QUndoStack::undo);
    connect(ui->Redo1, &QAction::triggered, &document_.history(), &QUndoStack::redo);
    connect(recentMaps, &RecentMaps::openRequested, this, [this](const QString &path) {
        if (!QFileInfo::exists(path)) {
            recentMaps->remove(path);
            Dialogs().inform(this, QStringLiteral("Map Not Found"),
                             QStringLiteral("%1 no longer exists; it is taken off the list of recent maps.")
                                 .arg(QDir::toNativeSeparators(path)));
            return;
        }
        openFile(path);
    });

    connect(ui->MapImage, &PictureBox::mouseDown, this, &TMapForm::MapImageMouseDown);
    connect(ui->MapImage, &PictureBox::mouseMoved, this, &TMapForm::MapImageMouseMove);
    connect(ui->MapImage, &PictureBox::clicked, this, &TMapForm::MapImageClick);
}

void TMapForm::FormCreate()
{
    move(72, 108);
    ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth) - 1, MapPictureHeight(Map.MapHeight));
    Editor.ProgramDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    QPainter(&ui->MapImage->picture()).fillRect(0, 0, 649, 550, ToQColor(Olive));
    ui->MapImage->update();
    setPromptColour(PromptLime);
}

void TMapForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMapForm::FormActivate()
{
    if (FirstActivation) {
        if (TilesForm) {
            TilesForm->show();
            TilesForm->addTerrainNames();
        }
        // A map opened from the command line is already drawn: the title panel is for an empty start.
        if (document_.filePath().isEmpty()) {
            ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
            ui->MapImage->picture().fill(ToQColor(Aqua));
            drawTitlePanel();
        }
    }
    FirstActivation = false;
    // Coming back to the main window always ends the palette's terrain-edit mode.
    if (TilesForm)
        TilesForm->leaveTerrainEdit();
}

void TMapForm::drawTitlePanel()
{
    QPainter painter(&ui->MapImage->picture());
    painter.fillRect(20, 20, 330, 230, ToQColor(Green));
    painter.setPen(ToQColor(Silver));
    painter.setBackground(ToQColor(Green));
    painter.setBackgroundMode(Qt::OpaqueMode);
    const auto write = [&painter](int pointSize, int x, int y, const QString &text) {
        painter.setFont(QFont(QStringLiteral("Arial"), pointSize));
        painter.drawText(QRect(x, y, 600, 200), Qt::AlignLeft | Qt::AlignTop, text);
    };
    write(20, 65, 30, QStringLiteral("Vantor Map Editor"));
    write(16, 100, 80, QStringLiteral("Version 0.50b"));
    write(14, 50, 180, QStringLiteral("     December 2004"));
    ui->MapImage->update();
}

void TMapForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

// The scroll box keeps its top-left corner and fills the window but for a small margin.
void TMapForm::FormResize()
{
    const QSize area = ui->centralwidget->size();
    const QPoint corner = ui->MapScrollBox->pos();
    ui->MapScrollBox->resize(std::max(0, area.width() - corner.x() - 7), std::max(0, area.height() - corner.y() - 11));
}

void TMapForm::RefreshMapImage()
{
    ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
    RedrawMap();
}

void TMapForm::RedrawMap() { redrawPicture(RedrawKind::Command); }

// A command's redraw shows its progress set by set and leaves the palette with nothing picked; the
// redraw after an undo or redo keeps the pick and the road overlay.
void TMapForm::redrawPicture(RedrawKind kind)
{
    RedrawReport report;
    tileSets.setFolder(Editor.ProgramDir);
    {
        const BusyCursor busy;
        if (kind == RedrawKind::Command) {
            report = RedrawMapPicture(Map, tileSets, Editor.BackgroundColor, ui->MapImage->picture(),
                                      [this](int) { ui->MapImage->repaint(); });
            Editor.CurrentSet = 0;
            Editor.CurrentTile = -1;
            if (TilesForm)
                TilesForm->showSet(0);
            if (report.lastTileDrawn) {
                const PixelRect cell = TileRect(report.lastTileDrawn->tile);
                PaintImage = tileSets.image(report.lastTileDrawn->set).copy(cell.left, cell.top, TileWidth, TileHeight);
            }
        } else {
            report = RedrawMapPicture(Map, tileSets, Editor.BackgroundColor, ui->MapImage->picture());
            drawRoadOverlayIfShown();
        }
        ui->MapImage->update();
        ui->MapSizeLbl->setText(QStringLiteral("%1x%2").arg(Map.MapWidth).arg(Map.MapHeight));
    }
    if (!report.unavailableSets.empty())
        reportUnavailableSets(report.unavailableSets);
}

// ---- The document: title, history and what an undo or redo shows ---------------------------

void TMapForm::connectDocument()
{
    connect(&document_, &MapDocument::modifiedChanged, this, &TMapForm::setWindowModified);
    connect(&document_, &MapDocument::filePathChanged, this, &TMapForm::updateTitle);
    connect(&document_, &MapDocument::hexesChanged, this, &TMapForm::showRestoredHexes);
    connect(&document_, &MapDocument::mapChanged, this, &TMapForm::showRestoredMap);
    connect(&document_, &MapDocument::tablesRestored, this, &TMapForm::showRestoredTables);
    QUndoStack &history = document_.history();
    connect(&history, &QUndoStack::canUndoChanged, this, &TMapForm::updateUndoActions);
    connect(&history, &QUndoStack::canRedoChanged, this, &TMapForm::updateUndoActions);
    connect(&history, &QUndoStack::undoTextChanged, this, &TMapForm::updateUndoActions);
    connect(&history, &QUndoStack::redoTextChanged, this, &TMapForm::updateUndoActions);
    updateUndoActions();
}

// "island.map* - Vantor Version 0.50b", or the caption alone while the map has no file.
void TMapForm::updateTitle()
{
    const QString path = document_.filePath();
    setWindowFilePath(path);
    setWindowTitle(path.isEmpty() ? WindowCaption + QStringLiteral("[*]")
                                  : QFileInfo(path).fileName() + QStringLiteral("[*] - ") + WindowCaption);
    setWindowModified(document_.isModified());
}

void TMapForm::updateUndoActions()
{
    const QUndoStack &history = document_.history();
    ui->Undo1->setEnabled(history.canUndo());
    ui->Redo1->setEnabled(history.canRedo());
    ui->Undo1->setText(history.canUndo() ? QStringLiteral("Undo %1").arg(history.undoText()) : QStringLiteral("Undo"));
    ui->Redo1->setText(history.canRedo() ? QStringLiteral("Redo %1").arg(history.redoText()) : QStringLiteral("Redo"));
}

// A few hexes are drawn anew in place; the palette keeps its pick.
void TMapForm::showRestoredHexes(const std::vector<HexCoord> &hexes)
{
    tileSets.setFolder(Editor.ProgramDir);
    PatchMapPicture(Map, LoadTileSetsOf(Map, tileSets), Editor.BackgroundColor, ui->MapImage->picture(), hexes);
    if (drawRoadOverlayIfShown()) {
        ui->MapImage->update(); // the overlay may have drawn anywhere
        return;
    }
    for (const HexCoord hex : hexes)
        showChangedHex(hex);
}

// A step that resized the map or changed many hexes: the whole picture is drawn anew, and the
// palette keeps its pick.
void TMapForm::showRestoredMap()
{
    ui->MapImage->setPictureSize(MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
    redrawPicture(RedrawKind::Restore);
}

void TMapForm::showRestoredTables(const MapTables &tables)
{
    if (tables.places && PlaceForm)
        PlaceForm->setPlaces(*tables.places);
    if (tables.cities && CityForm)
        CityForm->setCities(*tables.cities);
}

// Only the hex's cell is shown anew, so that a zoomed view rescales no more than that.
void TMapForm::showChangedHex(HexCoord hex)
{
    const PixelRect cell = HexRect(hex.y * Map.MapWidth + hex.x, Map.MapWidth);
    ui->MapImage->pictureChanged(QRect(cell.left, cell.top, TileWidth, TileHeight));
}

bool TMapForm::drawRoadOverlayIfShown()
{
    if (!ui->ShowRoadConnections1->isChecked())
        return false;
    DrawRoadOverlay(Map, ui->MapImage->picture());
    return true;
}

// ---- Unsaved changes and quitting ----------------------------------------------------------

bool TMapForm::maybeSaveChanges()
{
    if (!document_.isModified())
        return true;
    const QString name = document_.filePath().isEmpty() ? QStringLiteral("the new map")
                                                        : QFileInfo(document_.filePath()).fileName();
    switch (Dialogs().askSaveChanges(this, WindowCaption, QStringLiteral("Save changes to %1?").arg(name))) {
    case SaveChoice::Save:
        return saveToCurrentFile();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

// Closing the main window ends the editor, whichever tool windows are open.
void TMapForm::closeEvent(QCloseEvent *event)
{
    if (!maybeSaveChanges()) {
        event->ignore();
        return;
    }
    event->accept();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible())
            window->hide();
    // Once this window is closed: quitting closes every window still shown, this one included.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TMapForm::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void TMapForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that the questions it may ask do not hold up the drag.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(this, [this, path] { openFile(path); }, Qt::QueuedConnection);
}

void TMapForm::reportUnavailableSets(const std::vector<int> &sets)
{
    QStringList names;
    for (const int s : sets)
        names << QStringLiteral("  ") + tileSets.fileNameOf(s);
    Dialogs().inform(this, QStringLiteral("Missing Tile Sets"),
                     QStringLiteral("These tile-set files are missing or unreadable in %1, so their hexes "
                                    "show only the background:\n%2")
                         .arg(QDir::toNativeSeparators(tileSets.folder()), names.join(QLatin1Char('\n'))));
}

void TMapForm::showPrompt(const QString &text)
{
    commandPrompt = text;
    ui->PromptPanel->setText(text);
    ui->PromptPanel->show();
}

void TMapForm::hidePrompt() { ui->PromptPanel->hide(); }

void TMapForm::setPromptColour(ColourValue colour)
{
    QPalette palette = ui->PromptPanel->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    palette.setColor(QPalette::WindowText, Qt::black);
    ui->PromptPanel->setPalette(palette);
}

// A command still collecting clicks ends before another mode starts, so that no mode is ever left
// half set: its prompt goes, the road-toggle item is unchecked, the city window forgets its action.
void TMapForm::startClickMode(int mode)
{
    const int previous = Editor.ClickMode;
    if (previous != mode) {
        if (previous == RoadToggleMode)
            ui->RemoveRoadConnections1->setChecked(false);
        if (previous == CityCaptionMode && CityForm)
            CityForm->forgetPendingAction();
        if (previous != PaintMode)
            hidePrompt();
    }
    Editor.ClickMode = mode;
    if (mode == CityCaptionMode && previous != mode) {
        setPromptColour(PromptLime);
        showPrompt(QStringLiteral("City Caption: click hexes. Uncaption to end."));
    }
    Editor.CommandPending = mode == SaveAreaMode || mode == PasteAreaMode || mode == CopyPlaceNameMode;
    Editor.ClickCount = 0;
}

// Ends a multi-click command: back to painting.
void TMapForm::endCommand()
{
    startClickMode(PaintMode);
    hidePrompt();
}

void TMapForm::Exit1Click() { close(); }

// ---- Edit commands -------------------------------------------------------------------------

void TMapForm::NewMap1Click()
{
    if (!maybeSaveChanges())
        return;
    const bool picked = Editor.CurrentTile >= 0;
    const int set = picked ? Editor.CurrentSet : 1;
    const int tile = picked ? Editor.CurrentTile : 1;
    const int terrain = DefaultTerrainOf(Editor.DefaultTerrain, set, tile);

    InputForm->prepare(QString::fromLatin1(TerrainName(terrain)),
                       {QStringLiteral("Please enter the"), QStringLiteral("East-West and North-South"),
                        QStringLiteral("dimensions of your new map.")});
    if (InputForm->exec() < TInputForm::OkResult)
        return;
    int width = ParseInteger(InputForm->xText()).value_or(0);
    int height = ParseInteger(InputForm->yText()).value_or(0);
    if (width < 5 || height < 5) {
        Dialogs().confirm(this, QStringLiteral("New Map Failure"), QStringLiteral("New map must be at least 5x5"));
        return;
    }
    width = std::min(width, StoreColumns);
    height = std::min(height, StoreRows);

    document_.edit(QStringLiteral("New Map"), [=] {
        Map.MapWidth = width;
        Map.MapHeight = height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Map.at(CityAttr16, x, y) = 255;
                Map.at(PlaceIndex, x, y) = 255;
                Map.at(PlaceIndexHigh, x, y) = 127;
                Map.at(TileIndex, x, y) = std::uint8_t(tile);
                Map.at(TileSet, x, y) = std::uint8_t(set);
                Map.at(Terrain, x, y) = std::uint8_t(terrain);
            }
        }
    });
    setPlaceNameCommandsEnabled(false);
    Editor.HomemadeMode = false;
    mapReplaced();
}

// The spray's prompt stands in for a command's while it is on; switching it off brings the
// command's prompt back.
void TMapForm::SprayCan1Click()
{
    if (ui->SprayCan1->isChecked()) {
        ui->PromptPanel->setText(QStringLiteral("Sprayer in Operation"));
        ui->PromptPanel->show();
    } else if (Editor.ClickMode != PaintMode) {
        showPrompt(commandPrompt);
    } else {
        hidePrompt();
    }
}

void TMapForm::SprayCanSettings1Click() { SprayForm->show(); }

void TMapForm::Misc1Click() { MiscForm->show(); }

// Road-toggle mode is offered only while the road connections are shown.
void TMapForm::RemoveRoadConnections1Click()
{
    if (!ui->ShowRoadConnections1->isChecked()) {
        ui->RemoveRoadConnections1->setChecked(false);
        return;
    }
    if (ui->RemoveRoadConnections1->isChecked()) {
        startClickMode(RoadToggleMode);
        showPrompt(QStringLiteral("Road Toggle: Click 1st tile"));
    } else {
        startClickMode(PaintMode);
    }
}

void TMapForm::CopyPlaceName1Click()
{
    startClickMode(CopyPlaceNameMode);
    showPrompt(QStringLiteral("Click on name to Copy."));
}

// ---- Options and Tools commands ------------------------------------------------------------

void TMapForm::ShowStrategicMap1Click()
{
    StratForm->show();
    StratForm->activateWindow();
}

void TMapForm::EditPlaceNames1Click() { PlaceForm->show(); }

void TMapForm::ClearPlaceNames1Click()
{
    if (!Dialogs().askYesNo(this, QStringLiteral("Delete Place Coordinates"),
                            QStringLiteral("Are you sure that you want to remove all place name references?")))
        return;
    MapTables tables{PlaceForm->places(), {}};
    document_.edit(QStringLiteral("Clear Place Names"), [&] { ClearPlaceReferences(Map, *tables.places); }, &tables);
    PlaceForm->setPlaces(*tables.places);
}

void TMapForm::ShowTiles1Click() { TilesForm->show(); }

void TMapForm::ShowRoadConnections1Click()
{
    if (ui->ShowRoadConnections1->isChecked()) {
        DrawRoadOverlay(Map, ui->MapImage->picture());
        ui->MapImage->repaint();
        return;
    }
    RedrawMap();
    if (Editor.ClickMode == RoadToggleMode)
        startClickMode(PaintMode);
}

void TMapForm::CvtClick()
{
    MapConvert->show();
    setPlaceNameCommandsEnabled(false);
    Editor.HomemadeMode = false;
}

// Road links change the data only; the overlay shows them when it is drawn next.
void TMapForm::MakeRoadConnections1Click()
{
    document_.edit(QStringLiteral("Make Road Connections"), [] { MakeRoadConnections(Map); });
}

void TMapForm::ClearRoadConnections1Click()
{
    document_.edit(QStringLiteral("Clear Road Connections"), [] { ClearRoadConnections(Map); });
}

// The menu commands run the conversion window's buttons, then show the result.
void TMapForm::MakeCoastline1Click()
{
    MapConvert->CoastBtnClick();
    RefreshMapImage();
}

void TMapForm::MakeRoads1Click()
{
    MapConvert->RoadBtnClick();
    RefreshMapImage();
}

void TMapForm::MakeRivers1Click()
{
    MapConvert->RiverBtnClick();
    RefreshMapImage();
}

void TMapForm::ChangeSetDefaultTerrain1Click()
{
    TilesForm->enterTerrainEdit();
    TilesForm->show();
}

// ---- Help ----------------------------------------------------------------------------------

void TMapForm::About1Click()
{
    Dialogs().inform(this, QStringLiteral("About Vantor"),
                     QStringLiteral("Vantor Version 0.50b\nThe map editor for Ketura.\nDecember 2004"));
}

void TMapForm::VantorHelp1Click() { ShowVantorHelp(this); }

// ---- Mouse on the map ----------------------------------------------------------------------

std::optional<HexCoord> TMapForm::clickedHex() const { return HexOnMapAt(ClickX, ClickY, Map.MapWidth, Map.MapHeight); }

void TMapForm::MapImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    ShiftDown = modifiers.testFlag(Qt::ShiftModifier);
    const std::optional<HexCoord> hex = HexOnMapAt(X, Y, Map.MapWidth, Map.MapHeight);
    if (ShiftDown && button == Qt::LeftButton) {
        if (hex) {
            AnchorIndex = hex->y * Map.MapWidth + hex->x;
            AnchorX = hex->x;
            AnchorY = hex->y;
        }
    } else if (ShiftDown && button == Qt::RightButton) {
        // The anchor may lie outside a map made smaller since it was picked.
        if (hex && IsOnMap(Map, AnchorX, AnchorY)) {
            document_.edit(QStringLiteral("Copy Hex"),
                           [&] { CopyHex(Map, ui->MapImage->picture(), {AnchorX, AnchorY}, *hex); });
            ui->MapImage->repaint();
        }
    } else if (button == Qt::RightButton) {
        document_.edit(QStringLiteral("Restore Hex"), [this] { UndoPaint(Map, ui->MapImage->picture(), undo); });
        ui->MapImage->repaint();
    } else if (!ShiftDown) {
        ClickX = X;
        ClickY = Y;
    }
}

void TMapForm::MapImageMouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    // The step is one of the screen: zoomed in, the label follows smaller moves over the picture.
    const double step = HoverStep / ui->MapImage->scale();
    if (std::abs(X - hoverPosition.x()) <= step && std::abs(Y - hoverPosition.y()) <= step)
        return;
    hoverPosition = {X, Y};
    const std::optional<HexCoord> hex = HexOnMapAt(X, Y, Map.MapWidth, Map.MapHeight);
    if (!hex)
        return;
    QString text = QStringLiteral("%1,%2 %3")
                       .arg(hex->x)
                       .arg(hex->y)
                       .arg(QString::fromLatin1(TerrainName(Map.at(Terrain, hex->x, hex->y))));
    const int place = Map.at(PlaceIndex, hex->x, hex->y);
    if (Editor.HomemadeMode && place != 255)
        text += QStringLiteral(", ") + PlaceForm->placeName(place);
    if (Editor.CityMode && place != 255)
        text += QStringLiteral(", %1 %2").arg(CityForm->cityName(place), CityForm->cityNumber(place));
    ui->WhereLbl->setText(text);
    ui->WhereLbl->adjustSize();
    ui->WhereLbl->repaint();
}

void TMapForm::MapImageClick()
{
    if (Editor.ClickMode == CityCaptionMode) {
        if (const std::optional<HexCoord> hex = clickedHex()) {
            MapTables tables{{}, CityForm->cities()};
            document_.edit(QStringLiteral("City Caption"), [&] {
                CityForm->applyPendingAction(*hex);
                tables.cities = CityForm->cities();
            }, &tables);
        }
        return;
    }
    if (ui->SprayCan1->isChecked() && SprayBusy == 0) {
        sprayStroke();
        return;
    }
    if (Editor.ClickMode == RoadToggleMode) {
        roadToggleClick();
        return;
    }
    if (ShiftDown && Editor.ClickMode != CopyPlaceNameMode)
        return;
    if (!Editor.CommandPending) {
        paintClick();
        return;
    }
    ++Editor.ClickCount;
    if (Editor.ClickMode == CopyPlaceNameMode)
        copyPlaceNameClick();
    else if (Editor.ClickMode == SaveAreaMode)
        saveAreaClick();
    else if (Editor.ClickMode == PasteAreaMode)
        pasteAreaClick();
}

// Painting needs a tile picked in the palette; until then a click paints nothing.
void TMapForm::paintClick()
{
    const std::optional<HexCoord> hex = clickedHex();
    if (!hex)
        return;
    if (Editor.CurrentTile < 0 || PaintImage.isNull()) {
        setPromptColour(PromptLime);
        ui->PromptPanel->setText(PickTileHint);
        ui->PromptPanel->show();
        return;
    }
    if (ui->PromptPanel->text() == PickTileHint)
        hidePrompt();
    document_.edit(QStringLiteral("Paint"), [&] {
        PaintHex(Map, ui->MapImage->picture(), PaintImage, *hex, Editor.CurrentSet, Editor.CurrentTile,
                 Editor.DefaultTerrain, undo);
    });
    showChangedHex(*hex);
}

void TMapForm::sprayStroke()
{
    const std::optional<HexCoord> centre = clickedHex();
    if (!centre)
        return;
    const int savedX = ClickX;
    const int savedY = ClickY;
    // The whole stroke is one step of the history.
    document_.edit(QStringLiteral("Spray"), [&] {
        for (const HexCoord hex : SprayHexes(Map, *centre, Editor.SprayRadius)) {
            ++SprayBusy;
            ClickX = HexClickX(hex.x);
            ClickY = HexClickY(hex.y);
            const int r = 1 + int(sprayRandom() % 100);
            if (r < Editor.SprayDensity)
                MapImageClick();
        }
    });
    SprayBusy = 0;
    ClickX = savedX;
    ClickY = savedY;
}

// Two clicks name a pair of neighbouring hexes whose road link flips; a click beside the map names
// no hex, so its pair changes nothing.
void TMapForm::roadToggleClick()
{
    const HexCoord point = clickedHex().value_or(HexCoord{-1, -1});
    if (Editor.ClickCount == 0) {
        FirstPointX = point.x;
        FirstPointY = point.y;
        Editor.ClickCount = 1;
        showPrompt(QStringLiteral("Road Toggle: Click 2nd Tile"));
        return;
    }
    SecondPointX = point.x;
    SecondPointY = point.y;
    Editor.ClickCount = 0;
    showPrompt(QStringLiteral("Road Toggle: Click 1st Tile"));
    document_.edit(QStringLiteral("Toggle Road Connection"), [this] {
        ToggleRoadLink(Map, {FirstPointX, FirstPointY}, {SecondPointX, SecondPointY}, &ui->MapImage->picture());
    });
    ui->MapImage->repaint();
}

void TMapForm::copyPlaceNameClick()
{
    const std::optional<HexCoord> hex = clickedHex();
    if (Editor.ClickCount == 1) {
        const int place = hex ? PlaceReferenceOf(Map, *hex) : NoPlace;
        if (place >= NoPlace) {
            Editor.ClickCount = 0; // no place there: wait for another source
            return;
        }
        CopyPlace = place;
        showPrompt(QStringLiteral("Click destination(s). Shift click to exit"));
    } else if (ShiftDown) {
        endCommand();
    } else if (hex) {
        document_.edit(QStringLiteral("Copy Place Name"), [&] { SetPlaceReference(Map, *hex, CopyPlace); });
    }
}
