#include "Map.h"

#include "ui_MapForm.h"

#include "City.h"
#include "Input.h"
#include "MapCvt.h"
#include "Misc.h"
#include "Places.h"
#include "Spray.h"
#include "Strat.h"
#include "Tiles.h"
#include "disk_watch.h"
#include "help_window.h"
#include "map_overlay.h"
#include "map_status_bar.h"
#include "map_view.h"
#include "map_zoom.h"
#include "picture_box.h"
#include "recent_maps.h"
#include "recovery_autosave.h"

#include "model/geometry.h"
#include "model/hex_cube.h"
#include "model/integer_text.h"
#include "model/tile_set_files.h"
#include "render/strategic_map.h"
#include "tools/map_commands.h"
#include "tools/pattern_passes.h"
#include "tools/place_names.h"
#include "tools/road_links.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>

using namespace vantor;

namespace {

constexpr ColourValue Olive = 0x008080;
constexpr ColourValue Aqua = 0xFFFF00;
constexpr ColourValue Green = 0x008000;
constexpr ColourValue Silver = 0xC0C0C0;

constexpr int HoverStep = 10; // the hover label follows the mouse in steps of more than this many screen pixels

const QString WindowCaption = QStringLiteral("Vantor Version 0.50b");
const QString SprayPrompt = QStringLiteral("Sprayer in Operation");

} // namespace

TMapForm::TMapForm(MapDocument &document, EditorSettings &settings, QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TMapForm>())
    , document_(document)
    , settings_(settings)
{
    ui->setupUi(this);
    // The palette looks for its sets here as soon as it is made.
    settings_.programDir = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    tools_ = std::make_unique<MapTools>(document_, settings_, static_cast<ToolHost &>(*this));
    autosave_ = std::make_unique<RecoveryAutosave>(document_, *this);
    diskWatch_ = std::make_unique<DiskWatch>(document_, *this);
    view_ = new MapView(*ui->MapImage, document_, settings_, this);
    recentMaps_ = new RecentMapsMenu(*ui->RecentMaps1, settings_.recentMaps, this);
    zoom_ = new MapZoom(*this, *ui->MapScrollBox, *ui->MapImage,
                        {ui->ZoomIn1, ui->ZoomOut1, ui->ActualSize1, ui->FitMapInWindow1});
    overlay_ = new MapOverlay(*ui->MapImage, document_, *tools_, *view_, *zoom_, this);

    tilesForm_ = std::make_unique<TTilesForm>(settings_, tools_->paint());
    mapConvert_ = std::make_unique<TMapConvert>(document_, settings_, *this);
    placeForm_ = std::make_unique<TPlaceForm>(document_);
    inputForm_ = std::make_unique<TInputForm>(this);
    stratForm_ = std::make_unique<TStratForm>(document_);
    sprayForm_ = std::make_unique<TSprayForm>(settings_);
    miscForm_ = std::make_unique<TMiscForm>(settings_);
    cityForm_ = std::make_unique<TCityForm>(document_, *tools_);

    connectMenu();
    connectDocument();
    setUpChrome();
    connectTools();
    makeKeysWorkInEveryWindow();
    FormCreate();
    updateTitle();
    updatePlaceNameCommands();
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
    on(ui->ImportFromTiled1, &TMapForm::ImportFromTiled1Click);
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
    on(ui->KeepBackup1, &TMapForm::KeepBackup1Click);
    ui->KeepBackup1->setChecked(settings_.keepBackups);
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
    connect(recentMaps_, &RecentMapsMenu::openRequested, this, [this](const QString &path) {
        if (!QFileInfo::exists(path)) {
            settings_.recentMaps.remove(path);
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
    connect(ui->MapImage, &PictureBox::mouseUp, this, &TMapForm::MapImageMouseUp);
    connect(ui->MapImage, &PictureBox::pointerLeft, overlay_, &MapOverlay::hideToolOutline);
    connect(mapConvert_.get(), &TMapConvert::converted, this, &TMapForm::mapReplaced);
    connect(view_, &MapView::setsUnavailable, this, &TMapForm::reportUnavailableSets);
    connect(view_, &MapView::redrawn, this,
            [this] { ui->MapSizeLbl->setText(QStringLiteral("%1x%2").arg(document_.map().MapWidth).arg(document_.map().MapHeight)); });
    connect(stratForm_.get(), &TStratForm::pointPicked, zoom_, &MapZoom::centreOn);
    connect(zoom_, &MapZoom::visibleAreaChanged, stratForm_.get(), &TStratForm::showViewArea);
}

// The commands a user reaches for anywhere: they work from the tool windows as from this one.
void TMapForm::makeKeysWorkInEveryWindow()
{
    for (QAction *action : {ui->Exit1, ui->Save1, ui->LoadMap1, ui->Undo1, ui->Redo1})
        action->setShortcutContext(Qt::ApplicationShortcut);
}

void TMapForm::FormCreate()
{
    move(72, 108);
    const MapStore &map = document_.map();
    ui->MapImage->setPictureSize(MapPictureWidth(map.MapWidth) - 1, MapPictureHeight(map.MapHeight));
    QPainter(&ui->MapImage->picture()).fillRect(0, 0, 649, 550, ToQColor(Olive));
    ui->MapImage->update();
}

void TMapForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    // A window coming up in the middle of a drag takes the release with it.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        tools_->interrupt();
}

void TMapForm::FormActivate()
{
    if (FirstActivation) {
        tilesForm_->show();
        tilesForm_->addTerrainNames();
        // A map opened from the command line is already drawn: the title panel is for an empty start.
        if (document_.filePath().isEmpty()) {
            const MapStore &map = document_.map();
            ui->MapImage->setPictureSize(MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight));
            ui->MapImage->picture().fill(ToQColor(Aqua));
            drawTitlePanel();
        }
    }
    FirstActivation = false;
    // Coming back to the main window always ends the palette's terrain-edit mode.
    tilesForm_->leaveTerrainEdit();
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

void TMapForm::RedrawMap() { view_->redraw(true); }

// ---- The document: title, history and the commands that depend on the map -----------------

void TMapForm::connectDocument()
{
    connect(&document_, &MapDocument::modifiedChanged, this, &TMapForm::setWindowModified);
    connect(&document_, &MapDocument::filePathChanged, this, &TMapForm::updateTitle);
    // A map without a file holds no file's lock.
    connect(&document_, &MapDocument::filePathChanged, this, [this](const QString &path) {
        if (path.isEmpty())
            fileLock_.release();
    });
    connect(&document_, &MapDocument::tablesChanged, this, &TMapForm::updatePlaceNameCommands);
    // The hover label names what the hex under the pointer holds now.
    connect(&document_, &MapDocument::hexesChanged, this, &TMapForm::renameHoveredHex);
    connect(&document_, &MapDocument::mapReset, this, &TMapForm::renameHoveredHex);
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

// The place-name commands serve a map of a homemade scenario.
void TMapForm::updatePlaceNameCommands()
{
    const bool homemade = document_.tables().homemade;
    ui->EditPlaceNames1->setEnabled(homemade);
    ui->CopyPlaceName1->setEnabled(homemade);
}

void TMapForm::mapReplaced()
{
    tools_->paint().setPick({});
    tilesForm_->showSet(0);
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

bool TMapForm::recover(const RecoverySnapshot &snapshot)
{
    if (!maybeSaveChanges())
        return false;
    // A file gone since is not made again by a save that does not ask where.
    const bool fileExists = !snapshot.filePath.isEmpty() && QFileInfo::exists(snapshot.filePath);
    FileLock lock;
    if (fileExists)
        lockFile(snapshot.filePath, lock, false);
    document_.restore(snapshot.content, fileExists ? snapshot.filePath : QString(),
                      fileExists ? snapshot.fileFormat : MapFileFormat::None);
    if (fileExists)
        keepLock(snapshot.filePath, lock);
    else
        fileLock_.release();
    mapReplaced();
    return true;
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

// Names each set and every folder it was looked for in.
void TMapForm::reportUnavailableSets(const std::vector<int> &sets)
{
    QStringList names;
    for (const int s : sets)
        names << QStringLiteral("  ") + view_->tileSets().fileNameOf(s);
    QStringList folders;
    for (const QString &folder : TileSetSearchFolders(view_->tileSets().folder()))
        folders << QStringLiteral("  ") + QDir::toNativeSeparators(folder);
    Dialogs().inform(this, QStringLiteral("Missing Tile Sets"),
                     QStringLiteral("These tile-set files are missing or unreadable, so their hexes show only the "
                                    "background:\n%1\nVantor looked for them in these folders, in this order:\n%2")
                         .arg(names.join(QLatin1Char('\n')), folders.join(QLatin1Char('\n'))));
}

void TMapForm::Exit1Click() { close(); }

// ---- Tools ---------------------------------------------------------------------------------

void TMapForm::connectTools()
{
    connect(tools_.get(), &MapTools::promptChanged, this, &TMapForm::showToolPrompt);
    connect(tools_.get(), &MapTools::modeChanged, this, [this](ClickMode previous, ClickMode) {
        if (previous == ClickMode::RoadToggle)
            ui->RemoveRoadConnections1->setChecked(false);
    });

    ui->ToolGroup1->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const auto &[action, mode] : toolActions())
        connect(action, &QAction::triggered, this, [this, mode = mode] {
            startClickMode(mode);
            showToolInUse(); // the tool in use may have been the action's own, now unchecked
        });
    connect(tools_.get(), &MapTools::modeChanged, this, &TMapForm::showToolInUse);
    connect(&tools_->paint(), &PaintTool::brushChanged, this, &TMapForm::showToolInUse);
    connect(ui->SprayCan1, &QAction::toggled, this, &TMapForm::showToolInUse);
    showToolInUse();

    PaintTool &brush = tools_->paint();
    connect(ui->BrushLarger1, &QAction::triggered, this, [&brush] { brush.setBrushRadius(brush.brushRadius() + 1); });
    connect(ui->BrushSmaller1, &QAction::triggered, this, [&brush] { brush.setBrushRadius(brush.brushRadius() - 1); });
    connect(brushSizeBox_, &QComboBox::activated, this, [&brush](int index) { brush.setBrushRadius(index); });

    MapSelection &selection = tools_->selection();
    connect(ui->SelectAll1, &QAction::triggered, &selection, &MapSelection::selectAll);
    connect(ui->SelectNone1, &QAction::triggered, &selection, &MapSelection::clear);
    connect(&selection, &MapSelection::changed, this, [this, &selection] { statusBar_->showSelection(selection.hexes().size()); });

    connect(ui->Copy1, &QAction::triggered, this, &TMapForm::copySelection);
    connect(ui->Paste1, &QAction::triggered, this, &TMapForm::pasteFromClipboard);

    // Escape ends what the tool is doing, then the tool; a text field with the focus keeps its own.
    auto *escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    connect(escape, &QAction::triggered, tools_.get(), &MapTools::escape);
    addAction(escape);
}

// The tool bar's tools; a command that collects clicks is none of them.
std::vector<std::pair<QAction *, ClickMode>> TMapForm::toolActions() const
{
    return {{ui->BrushTool1, ClickMode::Paint},
            {ui->FillTool1, ClickMode::Fill},
            {ui->RectSelectTool1, ClickMode::RectangleSelect},
            {ui->MagicWandTool1, ClickMode::MagicWand},
            {ui->SameTileTool1, ClickMode::SameTile}};
}

void TMapForm::showToolInUse()
{
    for (const auto &[action, mode] : toolActions())
        action->setChecked(mode == tools_->mode());
    const bool brushing = tools_->mode() == ClickMode::Paint && !tools_->paint().isSpraying();
    statusBar_->showTool(tools_->currentName(), brushing ? BrushSizeOfRadius(tools_->paint().brushRadius()) : 0);
    brushSizeBox_->setCurrentIndex(tools_->paint().brushRadius());
}

// The prompt of the tool in use; the spray's stands in for none.
void TMapForm::showToolPrompt()
{
    const MapTool &tool = tools_->current();
    QString text = tool.prompt();
    ColourValue colour = tool.promptColour();
    if (text.isEmpty() && ui->SprayCan1->isChecked()) {
        text = SprayPrompt;
        colour = PromptLime;
    }
    if (text.isEmpty()) {
        ui->PromptPanel->hide();
        return;
    }
    QPalette palette = ui->PromptPanel->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    palette.setColor(QPalette::WindowText, Qt::black);
    ui->PromptPanel->setPalette(palette);
    ui->PromptPanel->setText(text);
    ui->PromptPanel->show();
}

void TMapForm::startClickMode(ClickMode mode) { tools_->select(mode); }

QString TMapForm::askAreaFileToSave()
{
    SaveDialog1.filter = QStringLiteral("ASCII Map File (*amf)|*.amf");
    SaveDialog1.defaultExt = QStringLiteral("amf");
    return Dialogs().saveFileName(this, SaveDialog1);
}

QString TMapForm::askAreaFileToPaste()
{
    OpenDialog1.filter = QStringLiteral("ASCII Map File (*amf)|*.amf|All files (*.*)|*.*");
    return Dialogs().openFileName(this, OpenDialog1);
}

bool TMapForm::confirmOverwrite(const QString &path) { return ConfirmOverwrite(this, path); }

void TMapForm::showLoadProblem(const LoadResult &result)
{
    if (result.message.isEmpty())
        return;
    if (result.outcome == LoadResult::BadValue)
        Dialogs().showError(this, result.message.text);
    else
        Dialogs().inform(this, result.message.caption, result.message.text);
}

void TMapForm::inform(const QString &caption, const QString &text) { Dialogs().inform(this, caption, text); }

void TMapForm::showError(const QString &text) { Dialogs().showError(this, text); }

// ---- Edit commands -------------------------------------------------------------------------

// The selected hexes go to the system clipboard, so that they paste into another Vantor too.
void TMapForm::copySelection()
{
    const MapSelection &selection = tools_->selection();
    if (!selection.isEmpty())
        QGuiApplication::clipboard()->setMimeData(ToMimeData(document_.map(), selection.hexes()).release());
}

// The block follows the pointer from where it is now.
void TMapForm::pasteFromClipboard()
{
    const QMimeData nothing;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QString caption, message;
    std::optional<ClipboardHexes> hexes = FromMimeData(data ? *data : nothing, &caption, &message);
    if (!hexes) {
        Dialogs().inform(this, caption, message);
        return;
    }
    tools_->startPaste(std::move(*hexes));
    if (hovered_)
        tools_->move(pointerAt(hoverPosition_, Qt::NoButton, {}));
}

// A new map has no file yet: a save asks for one.
void TMapForm::NewMap1Click()
{
    if (!maybeSaveChanges())
        return;
    const TilePick &pick = tools_->paint().pick();
    const int set = pick.isPicked() ? pick.set : 1;
    const int tile = pick.isPicked() ? pick.tile : 1;
    const int terrain = DefaultTerrainOf(settings_.defaultTerrain, set, tile);

    inputForm_->prepare(QString::fromLatin1(TerrainName(terrain)),
                        {QStringLiteral("Please enter the"), QStringLiteral("East-West and North-South"),
                         QStringLiteral("dimensions of your new map.")});
    if (inputForm_->exec() < TInputForm::OkResult)
        return;
    int width = ParseInteger(inputForm_->xText()).value_or(0);
    int height = ParseInteger(inputForm_->yText()).value_or(0);
    if (width < 5 || height < 5) {
        Dialogs().confirm(this, QStringLiteral("New Map Failure"), QStringLiteral("New map must be at least 5x5"));
        return;
    }
    width = std::min(width, StoreColumns);
    height = std::min(height, StoreRows);

    document_.edit(QStringLiteral("New Map"), [=](MapContent &content) {
        MapStore &map = content.map;
        map.MapWidth = width;
        map.MapHeight = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                HexRecord hex = ReadHex(map, x, y);
                SetNewMapFields(hex, set, tile, terrain);
                WriteHex(map, x, y, hex);
            }
        content.tables.homemade = false;
    });
    document_.forgetFile();
    mapReplaced();
}

// The spray's prompt stands in for a command's while it is on; switching it off brings the
// command's prompt back.
void TMapForm::SprayCan1Click()
{
    tools_->paint().setSpraying(ui->SprayCan1->isChecked());
    if (ui->SprayCan1->isChecked()) {
        ui->PromptPanel->setText(SprayPrompt);
        ui->PromptPanel->show();
    } else {
        showToolPrompt();
    }
}

void TMapForm::SprayCanSettings1Click() { sprayForm_->show(); }

void TMapForm::Misc1Click() { miscForm_->show(); }

// Road-toggle mode is offered only while the road connections are shown.
void TMapForm::RemoveRoadConnections1Click()
{
    if (!ui->ShowRoadConnections1->isChecked()) {
        ui->RemoveRoadConnections1->setChecked(false);
        return;
    }
    startClickMode(ui->RemoveRoadConnections1->isChecked() ? ClickMode::RoadToggle : ClickMode::Paint);
}

void TMapForm::CopyPlaceName1Click() { startClickMode(ClickMode::CopyPlaceName); }

void TMapForm::SaveAreaToASCIIMap1Click() { startClickMode(ClickMode::SaveArea); }

void TMapForm::PastefromASCIIMap1Click() { startClickMode(ClickMode::PasteArea); }

// ---- Options and Tools commands ------------------------------------------------------------

void TMapForm::ShowStrategicMap1Click()
{
    stratForm_->show();
    stratForm_->activateWindow();
}

void TMapForm::EditPlaceNames1Click() { placeForm_->show(); }

void TMapForm::ClearPlaceNames1Click()
{
    if (!Dialogs().askYesNo(this, QStringLiteral("Delete Place Coordinates"),
                            QStringLiteral("Are you sure that you want to remove all place name references?")))
        return;
    document_.edit(QStringLiteral("Clear Place Names"),
                   [](MapContent &content) { ClearPlaceReferences(content.map, content.tables.places); });
}

void TMapForm::ShowTiles1Click() { tilesForm_->show(); }

void TMapForm::ShowRoadConnections1Click()
{
    view_->showRoads(ui->ShowRoadConnections1->isChecked());
    if (!ui->ShowRoadConnections1->isChecked() && tools_->mode() == ClickMode::RoadToggle)
        startClickMode(ClickMode::Paint);
}

void TMapForm::KeepBackup1Click()
{
    settings_.keepBackups = ui->KeepBackup1->isChecked();
    StoreKeepBackups(settings_.keepBackups);
}

// The converter changes nothing until its Convert.
void TMapForm::CvtClick() { mapConvert_->show(); }

void TMapForm::MakeRoadConnections1Click()
{
    document_.edit(QStringLiteral("Make Road Connections"), [](MapContent &content) { MakeRoadConnections(content.map); });
}

void TMapForm::ClearRoadConnections1Click()
{
    document_.edit(QStringLiteral("Clear Road Connections"), [](MapContent &content) { ClearRoadConnections(content.map); });
}

void TMapForm::runPass(const QString &name, WholeMapPass pass) { RunPass(document_, name, pass, settings_.defaultTerrain); }

void TMapForm::MakeCoastline1Click() { runPass(QStringLiteral("Make Coastline"), MakeCoastline); }

void TMapForm::MakeRoads1Click() { runPass(QStringLiteral("Make Roads"), MakeRoads); }

void TMapForm::MakeRivers1Click() { runPass(QStringLiteral("Make Rivers"), MakeRivers); }

void TMapForm::ChangeSetDefaultTerrain1Click()
{
    tilesForm_->enterTerrainEdit();
    tilesForm_->show();
}

// ---- Help ----------------------------------------------------------------------------------

void TMapForm::About1Click()
{
    Dialogs().inform(this, QStringLiteral("About Vantor"),
                     QStringLiteral("Vantor Version 0.50b\nThe map editor for Ketura.\nDecember 2004"));
}

void TMapForm::VantorHelp1Click() { ShowVantorHelp(*this); }

// ---- Mouse on the map ----------------------------------------------------------------------

MapPointer TMapForm::pointerAt(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    const MapStore &map = document_.map();
    return {pixel, HexOnMapAt(pixel.x(), pixel.y(), map.MapWidth, map.MapHeight), button, modifiers,
            HexNearPixel(pixel.x(), pixel.y(), map.MapWidth, map.MapHeight)};
}

void TMapForm::MapImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    tools_->press(pointerAt({X, Y}, button, modifiers));
}

void TMapForm::MapImageClick(Qt::KeyboardModifiers modifiers, int X, int Y)
{
    tools_->click(pointerAt({X, Y}, Qt::LeftButton, modifiers));
}

void TMapForm::MapImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    tools_->release(pointerAt({X, Y}, button, modifiers));
}

void TMapForm::MapImageMouseMove(Qt::KeyboardModifiers modifiers, int X, int Y)
{
    showHoverLabel({X, Y}, false);
    tools_->move(pointerAt({X, Y}, Qt::NoButton, modifiers));
}

void TMapForm::renameHoveredHex()
{
    if (hovered_)
        showHoverLabel(hoverPosition_, true);
}

void TMapForm::showHoverLabel(QPoint position, bool force)
{
    // The step is one of the screen: zoomed in, the label follows smaller moves over the picture.
    const double step = HoverStep / ui->MapImage->scale();
    if (!force && std::abs(position.x() - hoverPosition_.x()) <= step && std::abs(position.y() - hoverPosition_.y()) <= step)
        return;
    hoverPosition_ = position;
    hovered_ = true;
    const MapStore &map = document_.map();
    const std::optional<HexCoord> hex = HexOnMapAt(position.x(), position.y(), map.MapWidth, map.MapHeight);
    if (!hex)
        return;
    QString text = QStringLiteral("%1,%2 %3")
                       .arg(hex->x)
                       .arg(hex->y)
                       .arg(QString::fromLatin1(TerrainName(map.at(Terrain, hex->x, hex->y))));
    for (const QString &name : HexNames(map, document_.tables(), *hex))
        text += QStringLiteral(", ") + name;
    ui->WhereLbl->setText(text);
    ui->WhereLbl->adjustSize();
    ui->WhereLbl->repaint();
}
