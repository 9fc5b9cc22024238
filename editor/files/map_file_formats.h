#pragma once
// Map files chosen by their extension, for batch work on whole files.

#include "files/scenario_file.h"
#include "model/map_store.h"
#include "model/place_tables.h"

#include <QString>

#include <optional>

namespace vantor {

// What a map file brings besides the hexes.
struct MapFileExtras {
    int placeCount = 0;
    PlaceTable places; // place k in row k + 1, as the place-name window holds them
};

// How scenarios are read and written.
struct MapFileOptions {
    // The layout of every scenario read or written, which byte 4 may question. By default the
    // layout each scenario reads as (DecideScenarioLayout), with no question; one that reads as both
    // or neither is refused, --proceed or not.
    std::optional<ScenarioLayout> layout;
    // Go on where the editor would ask first (a scenario that looks like the other layout, a
    // scenario path without ".scn"); otherwise such a file is refused with the question's text.
    bool proceed = false;
};

// Whether a map can be read from / written to a file of this name's extension (any case).
// Writing a scenario (.scn) patches the map block of an existing one in place.
bool CanReadMapFile(const QString &path);
bool CanWriteMapFile(const QString &path);

// Empty text on success, otherwise the reason, naming the file. A refused file leaves map unchanged.
QString LoadMapFile(const QString &path, MapStore &map, MapFileExtras &extras, const MapFileOptions &options = {});
QString SaveMapFile(const QString &path, const MapStore &map, const MapFileExtras &extras,
                    const MapFileOptions &options = {});

// Saves the map into an existing scenario with every check of the editor's scenario save; a
// question the editor would ask refuses the save unless options.proceed. Empty text or the reason.
QString SaveMapToScenario(const QString &path, const MapStore &map, const MapFileExtras &extras,
                          ScenarioLayout layout, const MapFileOptions &options = {});

// The extensions known, for messages: ".map, .amf, .scn".
QString KnownMapExtensions();

} // namespace vantor
