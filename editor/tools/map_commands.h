#pragma once
// The menu commands that change the whole map, each one step of the document's history.

#include "document/map_document.h"
#include "model/terrain_tables.h"

namespace vantor {

using WholeMapPass = void (*)(MapStore &map, const DefaultTerrainTable &defaultTerrain);

// Runs pass over the whole map as the step named name.
void RunPass(MapDocument &document, const QString &name, WholeMapPass pass, const DefaultTerrainTable &defaultTerrain);

} // namespace vantor
