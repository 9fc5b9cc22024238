#pragma once
// Map files chosen by their extension, for batch work on whole files.

#include "model/map_store.h"

#include <QString>

namespace vantor {

// What a map file brings besides the hexes.
struct MapFileExtras {
    int placeCount = 0;
};

// Whether a map can be read from / written to a file of this name's extension (any case).
bool CanReadMapFile(const QString &path);
bool CanWriteMapFile(const QString &path);

// Empty text on success, otherwise the reason, naming the file. A refused file leaves map unchanged.
QString LoadMapFile(const QString &path, MapStore &map, MapFileExtras &extras);
QString SaveMapFile(const QString &path, const MapStore &map, const MapFileExtras &extras);

// The extensions known, for messages: ".map".
QString KnownMapExtensions();

} // namespace vantor
