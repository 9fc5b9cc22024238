// The main window's file commands: each sets up the shared file dialog, hands the file to the
// document or the file code, and shows what came of it.

#include "Map.h"

#include "ui_MapForm.h"

#include "City.h"
#include "disk_watch.h"

#include "files/city_file.h"
#include "files/default_terrain_file.h"
#include "files/file_io.h"
#include "model/geometry.h"
#include "render/picture_files.h"
#include "render/tmx_export.h"

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
        if (!result.message.isEmpty())
            Dialogs().inform(parent, result.message.caption, result.message.text);
        return false;
    }
    return false;
}

} // namespace

// Questions about a file are asked with OK and Cancel; a scenario whose layout cannot be told
// from its bytes is opened in the layout the user picks.
MapFileOptions TMapForm::askingOptions()
{
    MapFileOptions options;
    options.ask = [this](const UserMessage &question) { return Dialogs().confirm(this, question.caption, question.text); };
    options.chooseLayout = [this](const UserMessage &question) -> std::optional<ScenarioLayout> {
        switch (Dialogs().askChoice(this, question.caption, question.text + QStringLiteral("\nOpen it as which kind of scenario?"),
                                    {QStringLiteral("Regular"), QStringLiteral("Homemade (HM)")})) {
        case 0:
            return ScenarioLayout::Regular;
        case 1:
            return ScenarioLayout::Homemade;
        default:
            return std::nullopt;
        }
    };
    return options;
}

// ---- Opening and saving through the document -----------------------------------------------

bool TMapForm::lockFile(const QString &path, FileLock &lock, bool ask)
{
    if (fileLock_.holdsFor(path))
        return true;
    qint64 owner = 0;
    if (lock.take(path, owner) || owner == 0 || !ask)
        return true;
    return Dialogs().confirm(this, QStringLiteral("File Open Elsewhere"),
                             QStringLiteral("%1 is open in another Vantor (process %2). Open it anyway?")
                                 .arg(QFileInfo(path).fileName())
                                 .arg(owner));
}

void TMapForm::keepLock(const QString &path, FileLock &lock)
{
    if (!fileLock_.holdsFor(path))
        fileLock_ = std::move(lock);
}

bool TMapForm::load(const QString &fileName, MapFileFormat format)
{
    FileLock lock;
    if (!lockFile(fileName, lock, true))
        return false;
    if (!LoadGoesOn(this, document_.open(fileName, format, askingOptions())))
        return false;
    keepLock(fileName, lock);
    diskWatch_->fileIsOurs();
    settings_.recentMaps.add(fileName);
    mapReplaced();
    return true;
}

bool TMapForm::saveTo(const QString &fileName, MapFileFormat format)
{
    if (fileName == document_.filePath() && diskWatch_->changedOnDisk() &&
        !Dialogs().confirm(this, QStringLiteral("File Changed on Disk"),
                           QStringLiteral("%1 has changed on disk since Vantor read it. Save over it?")
                               .arg(QFileInfo(fileName).fileName())))
        return false;
    if (settings_.keepBackups) {
        if (const QString error = backups_.keepBefore(fileName); !error.isEmpty()) {
            Dialogs().inform(this, QStringLiteral("Map Not Saved"), error);
            return false;
        }
    }
    if (!LoadGoesOn(this, document_.save(fileName, format, askingOptions())))
        return false;
    FileLock lock;
    lockFile(fileName, lock, false);
    keepLock(fileName, lock);
    diskWatch_->fileIsOurs();
    settings_.recentMaps.add(fileName);
    return true;
}

bool TMapForm::openFile(const QString &path)
{
    if (!maybeSaveChanges())
        return false;
    if (MapFileFormatOf(path) == MapFileFormat::None) {
        Dialogs().inform(this, QStringLiteral("Map Not Loaded"),
                         FileMessage(path, QStringLiteral("Vantor opens map files of these kinds: %1").arg(KnownMapExtensions())));
        return false;
    }
    return load(path, MapFileFormat::None);
}

void TMapForm::Save1Click() { saveToCurrentFile(); }

// Saves to the file the map came from or was last saved to, in its format; a map without a file,
// or from Tiled, is saved as a native map through the dialog.
bool TMapForm::saveToCurrentFile()
{
    if (document_.fileFormat() == MapFileFormat::None || document_.fileFormat() == MapFileFormat::TiledMap)
        return saveMapWithDialog();
    return saveTo(document_.filePath(), document_.fileFormat());
}

// ---- Native map file -----------------------------------------------------------------------

void TMapForm::LoadMap1Click()
{
    if (!maybeSaveChanges())
        return;
    OpenDialog1.title = QStringLiteral("Load Ketura Map File");
    OpenDialog1.filter = QStringLiteral("Map files (*.map)|*.map|All files (*.*) | *.*");
    OpenDialog1.defaultExt = QStringLiteral("map");
    if (const QString fileName = Dialogs().openFileName(this, OpenDialog1); !fileName.isEmpty())
        load(fileName, MapFileFormat::NativeMap);
}

void TMapForm::SaveMap1Click() { saveMapWithDialog(); }

bool TMapForm::saveMapWithDialog()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map File");
    SaveDialog1.filter = QStringLiteral("Map files (*.map)|*.map| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = AskFileToWrite(this, SaveDialog1);
    return !fileName.isEmpty() && saveTo(fileName, MapFileFormat::NativeMap);
}

void TMapForm::SaveAsBitmap1Click()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map bmp");
    SaveDialog1.filter = QLatin1String(PictureSaveFilter);
    SaveDialog1.defaultExt = QStringLiteral("bmp");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    const MapStore &map = document_.map();
    const QImage shown = mapPicture().copy(0, 0, MapPictureWidth(map.MapWidth), MapPictureHeight(map.MapHeight));
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
    const MapTables &tables = document_.tables();
    const std::vector<MapLabel> labels = MapLabelsOf(document_.map(), tables.places, tables.placeCount, tables.cities);
    if (const QString error = ExportMapToTmx(fileName, document_.map(), settings_.programDir, settings_.defaultTerrain,
                                             labels, settings_.backgroundColour, tables.placeCount);
        !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Map Not Exported"), error);
}

// A map made or changed in Tiled, read as vantor-cli reads it. It has no file to save back to:
// Save asks for one.
void TMapForm::ImportFromTiled1Click()
{
    if (!maybeSaveChanges())
        return;
    OpenDialog1.title = QStringLiteral("Import Map from Tiled");
    OpenDialog1.filter = QStringLiteral("Tiled maps (*.tmx)|*.tmx|All files (*.*)|*.*");
    OpenDialog1.defaultExt = QStringLiteral("tmx");
    if (const QString fileName = Dialogs().openFileName(this, OpenDialog1); !fileName.isEmpty())
        load(fileName, MapFileFormat::TiledMap);
}

// ---- ASCII map file ------------------------------------------------------------------------

void TMapForm::SaveASCIIClick()
{
    SaveDialog1.filter = QStringLiteral("ASCII Map File (*.amf)| *.amf|All files (*.*)|*.*");
    SaveDialog1.defaultExt = QStringLiteral("AMF");
    SaveDialog1.title = QStringLiteral("Save Map in ASCII File");
    if (const QString fileName = AskFileToWrite(this, SaveDialog1); !fileName.isEmpty())
        saveTo(fileName, MapFileFormat::AsciiMap);
}

void TMapForm::LoadASCIIClick()
{
    if (!maybeSaveChanges())
        return;
    OpenDialog1.title = QStringLiteral("Load ASCII Map File");
    OpenDialog1.filter = QStringLiteral("ASCII Map File (*.amf)| *.amf|All files (*.*)|*.*");
    OpenDialog1.defaultExt = QStringLiteral("amf");
    if (const QString fileName = Dialogs().openFileName(this, OpenDialog1); !fileName.isEmpty())
        load(fileName, MapFileFormat::AsciiMap);
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
    if (const QString error = WriteDefaultTerrainFile(fileName, settings_.defaultTerrain); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Default Terrain Not Saved"), error);
}

void TMapForm::LoadDefaultTerrain1Click()
{
    OpenDialog1.title = QStringLiteral("Read in Default Terrain");
    OpenDialog1.filter = QStringLiteral("Text files (*.txt)| *.txt|All files (*.*) |*.*");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    LoadGoesOn(this, ReadDefaultTerrainFile(fileName, settings_.defaultTerrain));
}

// ---- Scenario map block --------------------------------------------------------------------

void TMapForm::LoadScenarioMap1Click()
{
    if (maybeSaveChanges())
        chooseAndLoadScenario(ScenarioLayout::Regular);
}

void TMapForm::LoadHMScenarioMap1Click()
{
    if (maybeSaveChanges())
        chooseAndLoadScenario(ScenarioLayout::Homemade);
}

// A cancelled or refused load changes nothing.
bool TMapForm::chooseAndLoadScenario(ScenarioLayout layout)
{
    const bool homemade = layout == ScenarioLayout::Homemade;
    OpenDialog1.title = homemade ? QStringLiteral("Load Map From Homemade Ketura Scenario")
                                 : QStringLiteral("Load Map From Regular Ketura Scenario");
    OpenDialog1.filter = QStringLiteral("Map files (*.scn)|*.scn|All files (*.*) | *.*");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    return !fileName.isEmpty() &&
           load(fileName, homemade ? MapFileFormat::HomemadeScenario : MapFileFormat::RegularScenario);
}

// Save Map To Scenario writes the layout of the scenario the map came from.
void TMapForm::SaveMapToScenario1Click()
{
    saveToScenarioWithDialog(document_.tables().homemade ? ScenarioLayout::Homemade : ScenarioLayout::Regular);
}

void TMapForm::SaveHMScenarioMap1Click() { saveToScenarioWithDialog(ScenarioLayout::Homemade); }

// The map block is written into an existing scenario, with every check and question of the
// scenario save.
void TMapForm::saveToScenarioWithDialog(ScenarioLayout layout)
{
    const bool homemade = layout == ScenarioLayout::Homemade;
    SaveDialog1.title = homemade ? QStringLiteral("Save Map to Homemade Ketura Scenario")
                                 : QStringLiteral("Save Map to Regular Ketura Scenario File");
    SaveDialog1.filter = QStringLiteral("Map files (*.scn)|*.scn| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("scn");
    if (const QString fileName = Dialogs().saveFileName(this, SaveDialog1); !fileName.isEmpty())
        saveTo(fileName, homemade ? MapFileFormat::HomemadeScenario : MapFileFormat::RegularScenario);
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
    if (const QString error = WriteCityFile(fileName, document_.tables().cities); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Cities Not Saved"), error);
}

// The city list becomes the document's city table, one step of the history.
void TMapForm::LoadCites1Click()
{
    OpenDialog1.title = QStringLiteral("Load Ketura City File");
    OpenDialog1.filter = QStringLiteral("City files (*.tst)|*.tst|All files (*.*) | *.*");
    OpenDialog1.defaultExt = QStringLiteral("tst");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    LoadResult result;
    document_.edit(QStringLiteral("Load Cities"), [&](MapContent &content) {
        CityTable cities = content.tables.cities;
        result = ReadCityFile(fileName, content.map, cities);
        if (result.outcome != LoadResult::Complete)
            return;
        content.tables.cities = std::move(cities);
        content.tables.citiesLoaded = true;
    });
    if (!LoadGoesOn(this, result))
        return;
    cityForm_->show();
}
