#pragma once
// Copied hexes, held as cube steps from an anchor so that a block pasted at any column keeps the
// shape the eye saw, and their two clipboard forms: the exact hexes for another Vantor, and the
// ASCII area text that Paste Area reads for everything else.

#include "model/hex_cube.h"
#include "model/hex_set.h"

#include <QMimeData>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vantor {

// Each copied hex with all 37 planes, as the step from the anchor to it. The anchor is the hex
// nearest the pixel centre of the block's bounding box, so the pointer holds the block by its middle.
struct ClipboardHexes {
    std::vector<std::pair<CubeHex, HexRecord>> hexes;
    bool empty() const { return hexes.empty(); }
};

// The hexes of the set that lie on the map, column by column.
ClipboardHexes CopyHexes(const MapStore &map, const HexSet &hexes);

// Where each hex lands when the anchor is at target, keeping only those on the map.
std::vector<std::pair<HexCoord, HexRecord>> PlaceHexes(const ClipboardHexes &clipboard, HexCoord target,
                                                       const MapStore &map);

// The private clipboard format: the exact hexes, all 37 planes.
inline constexpr const char *HexesMimeType = "application/x-vantor-hexes";

// The ASCII area text of the hexes: the column and row rectangle that bounds them, widened by one
// column to the west when it starts at an odd column. Read as a map of its own the text's first
// column is even, so with its first column even the text keeps the copied block's shape; a
// non-rectangular selection brings the unselected hexes of its rectangle with it.
QByteArray AreaTextOf(const MapStore &map, const HexSet &hexes);

// Copy: the private format holding CopyHexes(map, hexes) and text/plain holding AreaTextOf.
std::unique_ptr<QMimeData> ToMimeData(const MapStore &map, const HexSet &hexes);

// Paste: the private format when it is there and sound, else text/plain read as an ASCII area (its
// first column taken as even, planes 17..36 zero as in a hex made by New Map). Nothing, with the
// caption and text of a message, when neither holds hexes; a text that is not an area gets the
// message Paste Area gives for it.
std::optional<ClipboardHexes> FromMimeData(const QMimeData &mime, QString *caption, QString *message);

} // namespace vantor
