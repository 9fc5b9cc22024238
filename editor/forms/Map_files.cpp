// The main window's file commands: each sets up the shared file dialog, calls the file code and
// shows what came of it.

#include "Map.h"

#include "ui_MapForm.h"

#include "City.h"
#include "Places.h"
#include "recent_maps.h"

#include "files/ascii_map_file.h"
#include "files/city_file.h"
#include "files/default_terrain_file.h"
#include "files/file_io.h"
#include "files/map_file_formats.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "model/editor_state.h"
#include "model/geometry.h"
#include "files/tmx_export.h"
#include "render/picture_files.h"

#include <QDir>
#include <QFileInfo>

using namespace vantor;

namespace {

// Shows why a load was refused. True when it went through.
bool LoadGoesOn(QWidget *parent, const LoadResult &result)
{
    switch (result.outcome) {
    case LoadResult::Complete:
        return true;
    case LoadResult::BadValue:
        Dialogs().showError(parent, result.message.text);
        return false;
    case LoadResult::Refused:
        Dialogs().inform(parent, result.message.caption, result.message.text);
        return false;
    }
    return false;
}

bool AskIfAny(QWidget *parent, const UserMessage &question)
{
    return question.isEmpty() || Dialogs().confirm(parent, question.caption, question.text);
}

} // namespace

// The map was replaced wholesale: what the last paint replaced belongs to the old one.
void TMapForm::mapReplaced()
{
    undo = {};
    RefreshMapImage();
}

void TMapForm::mapLoaded(const QString &path, MapFileFormat format)
{
    document_.loaded(path, format);
    recentMaps->add(path);
    mapReplaced();
}

void TMapForm::mapSaved(const QString &path, MapFileFormat format)
{
    document_.saved(path, format);
    recentMaps->add(path);
}

// ---- Opening from outside and File > Save --------------------------------------------------

bool TMapForm::openFile(const QString &path)
{
    if (!maybeSaveChanges())
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("map"))
        return loadNativeMap(path);
    if (suffix == QLatin1String("amf"))
        return loadAsciiMap(path);
    if (suffix == QLatin1String("scn")) {
        QByteArray data;
        if (const QString error = ReadScenarioFile(path, data); !error.isEmpty()) {
            Dialogs().inform(this, QStringLiteral("Scenario Not Loaded"), error);
            return false;
        }
        if (GuessScenarioLayout(data) == ScenarioLayout::Homemade)
            return loadHomemadeScenario(path);
        Editor.HomemadeMode = false;
        return loadScenario(path);
    }
    Dialogs().inform(this, QStringLiteral("Map Not Loaded"),
                     FileMessage(path, QStringLiteral("Vantor opens map files of these kinds: %1").arg(KnownMapExtensions())));
    return false;
}

void TMapForm::Save1Click() { saveToCurrentFile(); }

// Saves to the file the map came from or was last saved to, in its format; a map without a file
// is saved as a native map through the dialog.
bool TMapForm::saveToCurrentFile()
{
    const QString path = document_.filePath();
    switch (document_.fileFormat()) {
    case MapFileFormat::None:
        break;
    case MapFileFormat::NativeMap:
        return writeNativeMap(path);
    case MapFileFormat::AsciiMap:
        return writeAsciiMap(path);
    case MapFileFormat::RegularScenario:
    case MapFileFormat::HomemadeScenario: {
        const bool homemade = Editor.HomemadeMode;
        Editor.HomemadeMode = document_.fileFormat() == MapFileFormat::HomemadeScenario;
        const bool saved = writeScenario(path);
        Editor.HomemadeMode = homemade;
        return saved;
    }
    }
    return saveMapWithDialog();
}

void TMapForm::setPlaceNameCommandsEnabled(bool enabled)
{
    ui->EditPlaceNames1->setEnabled(enabled);
    ui->CopyPlaceName1->setEnabled(enabled);
}

// ---- Native map file -----------------------------------------------------------------------

void TMapForm::LoadMap1Click()
{
    if (!maybeSaveChanges())
        return;
    Editor.PlaceCount = 0;
    OpenDialog1.title = QStringLiteral("Load Ketura Map File");
    OpenDialog1.filter = QStringLiteral("Map files (*.map)|*.map|All files (*.*) | *.*");
    OpenDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (!fileName.isEmpty())
        loadNativeMap(fileName);
}

bool TMapForm::loadNativeMap(const QString &fileName)
{
    if (const QString error = ReadMapFile(fileName, Map); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Map Not Loaded"), error);
        return false;
    }
    Editor.PlaceCount = 0;
    mapLoaded(fileName, MapFileFormat::NativeMap);
    return true;
}

void TMapForm::SaveMap1Click() { saveMapWithDialog(); }

bool TMapForm::saveMapWithDialog()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map File");
    SaveDialog1.filter = QStringLiteral("Map files (*.map)|*.map| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = AskFileToWrite(this, SaveDialog1);
    if (fileName.isEmpty())
        return false;
    return writeNativeMap(fileName);
}

bool TMapForm::writeNativeMap(const QString &fileName)
{
    if (const QString error = WriteMapFile(fileName, Map); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Map Not Saved"), error);
        return false;
    }
    mapSaved(fileName, MapFileFormat::NativeMap);
    return true;
}

void TMapForm::SaveAsBitmap1Click()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map bmp");
    SaveDialog1.filter = QLatin1String(PictureSaveFilter);
    SaveDialog1.defaultExt = QStringLiteral("bmp");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    const QImage shown = mapPicture().copy(0, 0, MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
    if (!WritePictureFile(fileName, shown).isEmpty())
        Dialogs().showError(this, QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(fileName)));
}

// The map as a Tiled map, with the sheets of the tile sets it uses beside it.
void TMapForm::ExportToTiled1Click()
{
    SaveDialog1.title = QStringLiteral("Export Map to Tiled");
    SaveDialog1.filter = QStringLiteral("Tiled maps (*.tmx)|*.tmx|All files (*.*)|*.*");
    SaveDialog1.defaultExt = QStringLiteral("tmx");
    const QString fileName = AskFileToWrite(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    const std::vector<MapLabel> labels = MapLabelsOf(Map, PlaceForm->places(), Editor.PlaceCount, CityForm->cities());
    if (const QString error = ExportMapToTmx(fileName, Map, Editor.ProgramDir, Editor.DefaultTerrain, labels,
                                             Editor.BackgroundColor);
        !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Map Not Exported"), error);
}

// ---- ASCII map file ------------------------------------------------------------------------

void TMapForm::SaveASCIIClick()
{
    SaveDialog1.filter = QStringLiteral("ASCII Map File (*.amf)| *.amf|All files (*.*)|*.*");
    SaveDialog1.defaultExt = QStringLiteral("AMF");
    SaveDialog1.title = QStringLiteral("Save Map in ASCII File");
    const QString fileName = AskFileToWrite(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    writeAsciiMap(fileName);
}

bool TMapForm::writeAsciiMap(const QString &fileName)
{
    if (const QString error = WriteAsciiMapFile(fileName, Map, PlaceForm->places(), Editor.PlaceCount); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Map Not Saved"), error);
        return false;
    }
    mapSaved(fileName, MapFileFormat::AsciiMap);
    return true;
}

void TMapForm::LoadASCIIClick()
{
    if (!maybeSaveChanges())
        return;
    Editor.PlaceCount = 0;
    OpenDialog1.title = QStringLiteral("Load ASCII Map File");
    OpenDialog1.filter = QStringLiteral("ASCII Map File (*.amf)| *.amf|All files (*.*)|*.*");
    OpenDialog1.defaultExt = QStringLiteral("amf");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (!fileName.isEmpty())
        loadAsciiMap(fileName);
}

bool TMapForm::loadAsciiMap(const QString &fileName)
{
    PlaceTable places = PlaceForm->places();
    int placeCount = 0;
    const LoadResult result = ReadAsciiMapFile(fileName, Map, places, placeCount);
    if (!LoadGoesOn(this, result))
        return false;
    Editor.PlaceCount = placeCount;
    PlaceForm->setPlaces(places);
    mapLoaded(fileName, MapFileFormat::AsciiMap);
    setPlaceNameCommandsEnabled(false);
    Editor.HomemadeMode = false;
    return true;
}

void TMapForm::SaveAreaToASCIIMap1Click()
{
    startClickMode(SaveAreaMode);
    setPromptColour(PromptLime);
    showPrompt(QStringLiteral("Click Upper Left"));
}

void TMapForm::PastefromASCIIMap1Click()
{
    startClickMode(PasteAreaMode);
    setPromptColour(PromptLime);
    showPrompt(QStringLiteral("Click on upper left of paste area."));
}

// The clicks of Save Area To ASCII Map: upper left, lower right, then (after a failure) the end.
void TMapForm::saveAreaClick()
{
    const std::optional<HexCoord> hex = clickedHex();
    if (Editor.ClickCount == 1) {
        if (!hex) {
            Editor.ClickCount = 0; // a click beside the map picks nothing
            return;
        }
        FirstPointX = ClickX;
        FirstPointY = ClickY;
        showPrompt(QStringLiteral("Now click on lower right"));
    } else if (Editor.ClickCount == 2) {
        if (!hex) {
            Editor.ClickCount = 1;
            return;
        }
        SecondPointX = ClickX;
        SecondPointY = ClickY;
        // The first point may lie off a map made smaller since it was clicked.
        const std::optional<HexCoord> firstHex = HexOnMapAt(FirstPointX, FirstPointY, Map.MapWidth, Map.MapHeight);
        const HexCoord first = firstHex.value_or(HexCoord{Map.MapWidth, Map.MapHeight});
        const HexCoord second = *hex;
        const int width = second.x + 1 - first.x;
        const int height = second.y + 1 - first.y;
        if (!firstHex || width < 0 || height < 0 || (width == 0 && height == 0)) {
            setPromptColour(PromptRed);
            showPrompt(QStringLiteral("Invalid area. Click map to abort."));
            return;
        }
        showPrompt(QStringLiteral("Pick save file"));
        SaveDialog1.filter = QStringLiteral("ASCII Map File (*amf)|*.amf");
        SaveDialog1.defaultExt = QStringLiteral("amf");
        const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
        if (fileName.isEmpty()) {
            setPromptColour(PromptRed);
            showPrompt(QStringLiteral("No save. Click map to abort."));
            return;
        }
        endCommand();
        if (QFileInfo::exists(fileName) && !ConfirmOverwrite(this, fileName))
            return;
        if (const QString error = SaveArea(fileName, Map, first.x, first.y, second.x + 1, second.y + 1); !error.isEmpty())
            Dialogs().inform(this, QStringLiteral("Area Not Saved"), error);
    } else if (Editor.ClickCount == 3) {
        endCommand();
    }
}

// The clicks of Paste from ASCII Map: the upper-left hex, then (after a cancelled file) the end.
void TMapForm::pasteAreaClick()
{
    if (Editor.ClickCount == 1) {
        const std::optional<HexCoord> hex = clickedHex();
        if (!hex) {
            Editor.ClickCount = 0;
            return;
        }
        OpenDialog1.filter = QStringLiteral("ASCII Map File (*amf)|*.amf|All files (*.*)|*.*");
        const QString fileName = Dialogs().openFileName(this, OpenDialog1);
        if (fileName.isEmpty()) {
            setPromptColour(PromptRed);
            showPrompt(QStringLiteral("Paste aborted. Click map to continue."));
            return;
        }
        LoadResult result;
        document_.edit(QStringLiteral("Paste"), [&] { result = PasteArea(fileName, Map, hex->x, hex->y); });
        endCommand();
        if (!LoadGoesOn(this, result))
            return;
        RefreshMapImage();
    } else if (Editor.ClickCount == 2) {
        endCommand();
    }
}

// ---- Default terrain file ------------------------------------------------------------------

void TMapForm::SaveDefaultTerrain1Click()
{
    SaveDialog1.title = QStringLiteral("Save Default Terrain");
    SaveDialog1.filter = QStringLiteral("Text files (*.txt)| *.txt|All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("txt");
    const QString fileName = AskFileToWrite(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (const QString error = WriteDefaultTerrainFile(fileName, Editor.DefaultTerrain); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Default Terrain Not Saved"), error);
}

void TMapForm::LoadDefaultTerrain1Click()
{
    OpenDialog1.title = QStringLiteral("Read in Default Terrain");
    OpenDialog1.filter = QStringLiteral("Text files (*.txt)| *.txt|All files (*.*) |*.*");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    LoadGoesOn(this, ReadDefaultTerrainFile(fileName, Editor.DefaultTerrain));
}

// ---- Scenario map block --------------------------------------------------------------------

void TMapForm::LoadScenarioMap1Click()
{
    if (!maybeSaveChanges())
        return;
    if (const QString fileName = chooseScenarioToLoad(); !fileName.isEmpty())
        loadScenario(fileName);
}

// The layout the load reads is the one HomemadeMode selects when it starts.
QString TMapForm::chooseScenarioToLoad()
{
    Editor.PlaceCount = 0;
    OpenDialog1.title = Editor.HomemadeMode ? QStringLiteral("Load Map From Homemade Ketura Scenario")
                                            : QStringLiteral("Load Map From Regular Ketura Scenario");
    OpenDialog1.filter = QStringLiteral("Map files (*.scn)|*.scn|All files (*.*) | *.*");
    return Dialogs().openFileName(this, OpenDialog1);
}

bool TMapForm::loadScenario(const QString &fileName)
{
    const bool homemade = Editor.HomemadeMode;
    const ScenarioLayout layout = homemade ? ScenarioLayout::Homemade : ScenarioLayout::Regular;
    QByteArray data;
    if (const QString error = ReadScenarioFile(fileName, data); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Scenario Not Loaded"), error);
        return false;
    }
    if (!AskIfAny(this, ScenarioLayoutQuestion(data, layout)))
        return false;
    PlaceTable places = PlaceForm->places();
    int placeCount = 0;
    LoadResult result = DecodeScenarioMap(data, layout, Map, places, placeCount);
    result.message.text = FileMessage(fileName, result.message.text);
    if (!LoadGoesOn(this, result))
        return false;
    Editor.PlaceCount = placeCount;
    PlaceForm->setPlaces(places);
    mapLoaded(fileName, homemade ? MapFileFormat::HomemadeScenario : MapFileFormat::RegularScenario);
    setPlaceNameCommandsEnabled(false);
    Editor.HomemadeMode = false;
    return true;
}

void TMapForm::LoadHMScenarioMap1Click()
{
    if (!maybeSaveChanges())
        return;
    Editor.HomemadeMode = true;
    loadHomemadeScenario(chooseScenarioToLoad());
}

// Whatever the load did (an empty name is a cancelled dialog), the homemade place commands are
// offered afterwards and the place rows get the coordinates of their hexes.
bool TMapForm::loadHomemadeScenario(const QString &fileName)
{
    Editor.HomemadeMode = true;
    const bool loaded = !fileName.isEmpty() && loadScenario(fileName);
    setPlaceNameCommandsEnabled(true);
    Editor.HomemadeMode = true;
    PlaceTable places = PlaceForm->places();
    SetPlaceCoordinates(Map, Editor.PlaceCount, places);
    PlaceForm->setPlaces(places);
    return loaded;
}

void TMapForm::SaveMapToScenario1Click()
{
    SaveDialog1.title = Editor.HomemadeMode ? QStringLiteral("Save Map to Homemade Ketura Scenario")
                                            : QStringLiteral("Save Map to Regular Ketura Scenario File");
    SaveDialog1.filter = QStringLiteral("Map files (*.scn)|*.scn| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("scn");
    if (const QString fileName = Dialogs().saveFileName(this, SaveDialog1); !fileName.isEmpty())
        writeScenario(fileName);
}

// Writes the map block in the layout HomemadeMode selects into the existing scenario, with every
// check and question of the scenario save.
bool TMapForm::writeScenario(const QString &fileName)
{
    const bool homemade = Editor.HomemadeMode;
    if (!AskIfAny(this, ScenarioExtensionQuestion(fileName)))
        return false;
    const ScenarioSave save =
        PrepareScenarioSave(fileName, Map, homemade ? ScenarioLayout::Homemade : ScenarioLayout::Regular,
                            PlaceForm->places(), Editor.PlaceCount);
    if (!save.refusal.isEmpty()) {
        Dialogs().inform(this, save.refusal.caption, save.refusal.text);
        return false;
    }
    if (!AskIfAny(this, save.question))
        return false;
    if (const QString error = save.commit(); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Scenario Save Aborted!"), error);
        return false;
    }
    mapSaved(fileName, homemade ? MapFileFormat::HomemadeScenario : MapFileFormat::RegularScenario);
    return true;
}

void TMapForm::SaveHMScenarioMap1Click()
{
    Editor.HomemadeMode = true;
    SaveMapToScenario1Click();
    Editor.HomemadeMode = false;
}

// ---- City file -----------------------------------------------------------------------------

void TMapForm::SaveCities1Click()
{
    SaveDialog1.title = QStringLiteral("City Ketura City File");
    SaveDialog1.filter = QStringLiteral("City files (*.tst)|*.tst|All files (*.*) | *.*");
    SaveDialog1.defaultExt = QStringLiteral("tst");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (const QString error = WriteCityFile(fileName, CityForm->cities()); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Cities Not Saved"), error);
}

void TMapForm::LoadCites1Click()
{
    OpenDialog1.title = QStringLiteral("Load Ketura City File");
    OpenDialog1.filter = QStringLiteral("City files (*.tst)|*.tst|All files (*.*) | *.*");
    OpenDialog1.defaultExt = QStringLiteral("tst");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    CityTable cities = CityForm->cities();
    if (!LoadGoesOn(this, ReadCityFile(fileName, Map, cities)))
        return;
    CityForm->setCities(cities);
    Editor.CityMode = true;
    CityForm->show();
}
