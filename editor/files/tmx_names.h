#pragma once
// What the TMX export writes and the TMX import reads by name: the layers, the hex side and the
// properties that carry what a TMX map has no place for.

namespace vantor {

// Half the difference of a hexagon's width and the column step, doubled: 48 - 2 * (48 - 37) = 26.
inline constexpr int TmxHexSideLength = 26;
// The tile layer and the object layer, by name (tmxrasterizer --hide-layer names takes the labels out).
inline constexpr char TmxTileLayerName[] = "hexes";
inline constexpr char TmxLabelLayerName[] = "names";
// Map properties: the whole native map file as base64, and the number of places the map carries.
inline constexpr char TmxMapProperty[] = "vantor-map";
inline constexpr char TmxPlaceCountProperty[] = "vantor-place-count";
// Object properties: the place number or city number a label names.
inline constexpr char TmxPlaceProperty[] = "vantor-place";
inline constexpr char TmxCityProperty[] = "vantor-city";
// The label kinds, as the objects' type.
inline constexpr char TmxPlaceKind[] = "place";
inline constexpr char TmxCityKind[] = "city";

} // namespace vantor
