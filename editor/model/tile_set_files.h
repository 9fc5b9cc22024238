#pragma once
// Where the tile-set bitmaps are found: "SETxxm.BMP" in the program's folder, any case.

#include <QString>

namespace vantor {

// "SETxxm.BMP" with xx the two-digit set number.
QString SetFileName(int set);

// The set's file name in folder, as the editor asks for it.
QString SetPath(const QString &folder, int set);

// The existing file in folder whose name matches the set's file name without regard to case
// (Dovrel writes "Setxxm.bmp"); an exact match wins. Empty when there is none.
QString FindSetFile(const QString &folder, int set);

} // namespace vantor
