#pragma once
// The editor-wide settings and the process-wide map that the windows work on.
// Code that reads or changes a map takes the map as an argument; only windows use these instances.

#include "colour_value.h"
#include "map_store.h"
#include "terrain_tables.h"

#include <QString>

namespace vantor {

inline constexpr const char *VersionText = "0.50a";

// What a click on the map means.
enum ClickModeValue : int {
    PaintMode = 0,
    SaveAreaMode = 1,
    PasteAreaMode = 2,
    CopyPlaceNameMode = 3,
    RoadToggleMode = 4,
    CityCaptionMode = 5,
};

struct EditorState {
    int CurrentSet = 0;
    int CurrentTile = -1;
    int ClickMode = PaintMode;
    int ClickCount = 0;
    bool CommandPending = false;
    bool HomemadeMode = false;
    bool CityMode = false;
    int PlaceCount = 0;
    ColourValue BackgroundColor = 0x38b8a0;
    int SprayRadius = 3;
    int SprayDensity = 33;
    QString ProgramDir; // folder of the running program, with a trailing separator
    DefaultTerrainTable DefaultTerrain = InitialDefaultTerrain();
};

extern MapStore Map;
extern EditorState Editor;

} // namespace vantor
