#pragma once
// Where the tile-set bitmaps are found: "SETxxm.BMP", any case, in the program's folder first, then
// in the user's tile-set folder (where Dovrel started from the desktop menu writes), then among
// the installed sample sets.

#include <QString>
#include <QStringList>

namespace vantor {

// "SETxxm.BMP" with xx the two-digit set number.
QString SetFileName(int set);

// The set's file name in folder, as the editor asks for it.
QString SetPath(const QString &folder, int set);

// The user's tile-set folder: "vantor" in the user's data folder (~/.local/share/vantor).
QString UserTileSetFolder();

// The installed sample sets of a program in <prefix>/bin: <prefix>/share/vantor.
QString InstalledTileSetFolder(const QString &programFolder);

// The folders searched, in order, for a set asked for in folder: the running program's own folder
// stands for itself, the user's tile-set folder and the installed sets; any other folder (a test's,
// or one given with --sets) only for itself.
QStringList TileSetSearchFolders(const QString &folder);

// The existing file in the first of folder's search folders that has one whose name matches the
// set's file name without regard to case (Dovrel writes "Setxxm.bmp"); in a folder an exact match
// wins. Empty when there is none.
QString FindSetFile(const QString &folder, int set);

} // namespace vantor
