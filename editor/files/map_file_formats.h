#pragma once
// Map files in every format the editor reads and writes: the one place that knows which reader or
// writer a file needs, for the editor's windows and for vantor-cli alike.

#include "files/scenario_file.h"
#include "files/text_file.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QString>

#include <functional>
#include <optional>

namespace vantor {

// TiledMap is read only: a map goes to Tiled through the export, which writes the tile sheets too.
enum class MapFileFormat { None, NativeMap, AsciiMap, RegularScenario, HomemadeScenario, TiledMap };

// What a map file brings besides the hexes.
struct MapFileExtras {
    int placeCount = 0;
    PlaceTable places; // place k in row k + 1, as the place-name window holds them
};

// How questions about a file are answered.
struct MapFileOptions {
    // The layout of every scenario read or written whose format does not name it. By default the
    // layout the scenario's whole map block reads as; one that reads as both or neither is put to
    // chooseLayout, and refused without it.
    std::optional<ScenarioLayout> layout;
    // Asks which layout a scenario has (the question says why it cannot be told); nothing cancels.
    std::function<std::optional<ScenarioLayout>(const UserMessage &question)> chooseLayout;
    // Asks a question the editor asks before going on (OK / Cancel): true goes on. Without it,
    // `proceed` answers every question.
    std::function<bool(const UserMessage &question)> ask;
    // Go on where the editor would ask first (a scenario that looks like the other layout, a
    // scenario path without ".scn"); otherwise such a file is refused with the question's text.
    bool proceed = false;
};

// The format a file of this name has by its extension (any case); a scenario's layout is not known
// from its name, so it is RegularScenario unless layout names it. None for an unknown extension.
MapFileFormat MapFileFormatOf(const QString &path, std::optional<ScenarioLayout> layout = {});

// Reads the map file at path in format (None: by its extension) into map and extras. A refused
// file, or a question answered Cancel (Refused with an empty message), leaves both unchanged.
// places and placeCount come fresh from the formats that carry names (ASCII maps, homemade
// scenarios); the others give no places and leave extras.places as it was. read, when given,
// receives the format that was read.
LoadResult ReadMapFileAs(const QString &path, MapFileFormat format, MapStore &map, MapFileExtras &extras,
                         const MapFileOptions &options = {}, MapFileFormat *read = nullptr);

// Writes the map to path in format (None: by its extension). A scenario is patched in place with
// every check and question of the editor's scenario save. Complete, Refused with the message to
// show, or Refused with an empty message when a question was answered Cancel. written, when given,
// receives the format that was written.
LoadResult WriteMapFileAs(const QString &path, MapFileFormat format, const MapStore &map, const MapFileExtras &extras,
                          const MapFileOptions &options = {}, MapFileFormat *written = nullptr);

// A message as one line that names the file, for scripts: "<path>: <caption>: <text>" unless the
// text already starts with the path.
QString ScriptMessage(const QString &path, const UserMessage &message);

// The extensions known, for messages: ".map, .amf, .scn, .tmx (read only)".
QString KnownMapExtensions();

} // namespace vantor
