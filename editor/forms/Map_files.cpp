// The main window's file commands: each sets up the shared file dialog, calls the file code and
// shows what came of it.

#include "Map.h"

#include "ui_MapForm.h"

#include "City.h"
#include "Places.h"

#include "files/ascii_map_file.h"
#include "files/city_file.h"
#include "files/default_terrain_file.h"
#include "files/file_io.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "model/editor_state.h"
#include "model/geometry.h"
#include "render/bmp_encoding.h"

#include <QDir>
#include <QFileInfo>

using namespace vantor;

namespace {

// Shows a finished load's message. True when the load is to be finished (Complete or Short: the
// message of a short file is shown after the map is drawn, by the caller passing it again).
bool LoadGoesOn(QWidget *parent, const LoadResult &result)
{
    switch (result.outcome) {
    case LoadResult::Complete:
    case LoadResult::Short:
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

void TellIfShort(QWidget *parent, const LoadResult &result)
{
    if (result.outcome == LoadResult::Short)
        Dialogs().inform(parent, result.message.caption, result.message.text);
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

void TMapForm::setPlaceNameCommandsEnabled(bool enabled)
{
    ui->EditPlaceNames1->setEnabled(enabled);
    ui->CopyPlaceName1->setEnabled(enabled);
}

// ---- Native map file -----------------------------------------------------------------------

void TMapForm::LoadMap1Click()
{
    Editor.PlaceCount = 0;
    OpenDialog1.title = QStringLiteral("Load Ketura Map File");
    OpenDialog1.filter = QStringLiteral("Map files (*.map)|*.map|All files (*.*) | *.*");
    OpenDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    if (const QString error = ReadMapFile(fileName, Map); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Map Not Loaded"), error);
        return;
    }
    mapReplaced();
}

void TMapForm::SaveMap1Click()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map File");
    SaveDialog1.filter = QStringLiteral("Map files (*.map)|*.map| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("map");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(this, fileName))
        return;
    if (const QString error = WriteMapFile(fileName, Map); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Map Not Saved"), error);
}

void TMapForm::SaveAsBitmap1Click()
{
    SaveDialog1.title = QStringLiteral("Save Ketura Map bmp");
    SaveDialog1.filter = QStringLiteral("bmp files (*.bmp)|*.bmp| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("bmp");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    const QImage shown = mapPicture().copy(0, 0, MapPictureWidth(Map.MapWidth), MapPictureHeight(Map.MapHeight));
    if (!WriteFileAtomically(fileName, EncodeBmp24(shown)).isEmpty())
        Dialogs().showError(this, QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(fileName)));
}

// ---- ASCII map file ------------------------------------------------------------------------

void TMapForm::SaveASCIIClick()
{
    SaveDialog1.filter = QStringLiteral("ASCII Map File (*.amf)| *.amf|All files (*.*)|*.*");
    SaveDialog1.defaultExt = QStringLiteral("AMF");
    SaveDialog1.title = QStringLiteral("Save Map in ASCII File");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(this, fileName))
        return;
    if (const QString error = WriteAsciiMapFile(fileName, Map, PlaceForm->places(), Editor.PlaceCount); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Map Not Saved"), error);
}

void TMapForm::LoadASCIIClick()
{
    Editor.PlaceCount = 0;
    OpenDialog1.title = QStringLiteral("Load ASCII Map File");
    OpenDialog1.filter = QStringLiteral("ASCII Map File (*.amf)| *.amf|All files (*.*)|*.*");
    OpenDialog1.defaultExt = QStringLiteral("amf");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    PlaceTable places = PlaceForm->places();
    const LoadResult result = ReadAsciiMapFile(fileName, Map, places, Editor.PlaceCount);
    PlaceForm->setPlaces(places);
    if (!LoadGoesOn(this, result))
        return;
    mapReplaced();
    setPlaceNameCommandsEnabled(false);
    Editor.HomemadeMode = false;
    TellIfShort(this, result);
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
        const LoadResult result = PasteArea(fileName, Map, hex->x, hex->y);
        endCommand();
        if (!LoadGoesOn(this, result))
            return;
        RefreshMapImage();
        TellIfShort(this, result);
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
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(this, fileName))
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
    const LoadResult result = ReadDefaultTerrainFile(fileName, Editor.DefaultTerrain);
    if (LoadGoesOn(this, result))
        TellIfShort(this, result);
}

// ---- Scenario map block --------------------------------------------------------------------

void TMapForm::LoadScenarioMap1Click()
{
    const bool homemade = Editor.HomemadeMode;
    const ScenarioLayout layout = homemade ? ScenarioLayout::Homemade : ScenarioLayout::Regular;
    Editor.PlaceCount = 0;
    OpenDialog1.title = homemade ? QStringLiteral("Load Map From Homemade Ketura Scenario")
                                 : QStringLiteral("Load Map From Regular Ketura Scenario");
    OpenDialog1.filter = QStringLiteral("Map files (*.scn)|*.scn|All files (*.*) | *.*");
    const QString fileName = Dialogs().openFileName(this, OpenDialog1);
    if (fileName.isEmpty())
        return;
    QByteArray data;
    if (const QString error = ReadScenarioFile(fileName, data); !error.isEmpty()) {
        Dialogs().inform(this, QStringLiteral("Scenario Not Loaded"), error);
        return;
    }
    if (!AskIfAny(this, ScenarioLayoutQuestion(data, layout)))
        return;
    PlaceTable places = PlaceForm->places();
    const LoadResult result = DecodeScenarioMap(data, layout, Map, places, Editor.PlaceCount);
    if (!LoadGoesOn(this, result))
        return;
    PlaceForm->setPlaces(places);
    mapReplaced();
    setPlaceNameCommandsEnabled(false);
    Editor.HomemadeMode = false;
    TellIfShort(this, result);
}

void TMapForm::LoadHMScenarioMap1Click()
{
    Editor.HomemadeMode = true;
    LoadScenarioMap1Click();
    setPlaceNameCommandsEnabled(true);
    Editor.HomemadeMode = true;
    PlaceTable places = PlaceForm->places();
    SetPlaceCoordinates(Map, Editor.PlaceCount, places);
    PlaceForm->setPlaces(places);
}

void TMapForm::SaveMapToScenario1Click()
{
    const bool homemade = Editor.HomemadeMode;
    SaveDialog1.title = homemade ? QStringLiteral("Save Map to Homemade Ketura Scenario")
                                 : QStringLiteral("Save Map to Regular Ketura Scenario File");
    SaveDialog1.filter = QStringLiteral("Map files (*.scn)|*.scn| All files (*.*) |*.*");
    SaveDialog1.defaultExt = QStringLiteral("scn");
    const QString fileName = Dialogs().saveFileName(this, SaveDialog1);
    if (fileName.isEmpty())
        return;
    if (!AskIfAny(this, ScenarioExtensionQuestion(fileName)))
        return;
    const ScenarioSave save =
        PrepareScenarioSave(fileName, Map, homemade ? ScenarioLayout::Homemade : ScenarioLayout::Regular,
                            PlaceForm->places(), Editor.PlaceCount);
    if (!save.refusal.isEmpty()) {
        Dialogs().inform(this, save.refusal.caption, save.refusal.text);
        return;
    }
    if (!AskIfAny(this, save.question))
        return;
    if (const QString error = save.commit(); !error.isEmpty())
        Dialogs().inform(this, QStringLiteral("Scenario Save Aborted!"), error);
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
