// make_samples: the sample files that let a newcomer try every feature without the game's files,
// made from the sample map island.map and the sample tile sets; and the programs' menu icons.
//
//   make_samples scenarios ISLAND.map OUTDIR   island_hm.scn (a homemade scenario with place
//                                               names), island.scn (a regular scenario with captioned
//                                               cities) and island.tst (its city list)
//   make_samples icons SETSDIR DOVREL.png OUTDIR   vantor-48.png, vantor-256.png, dovrel-48.png, dovrel-256.png

#include "files/city_file.h"
#include "files/file_io.h"
#include "files/native_map_file.h"
#include "files/scenario_file.h"
#include "model/geometry.h"
#include "render/png_export.h"
#include "render/tile_set_library.h"
#include "render/tile_sheet.h"
#include "tools/place_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>

#include <cstdio>
#include <vector>

using namespace vantor;

namespace {

const char *const PlaceNames[] = {"Kawai Point", "Mount Seru", "Tobal Village", "Rua Plantation",
                                  "Lenga Ridge", "Matua Bay", "Old Mission", "Sabu Crossing"};
struct SampleCity {
    const char *name;
    const char *attributes[3]; // CityAttr03, CityAttr04, CityAttr16
};
const SampleCity Cities[] = {{"Port Anvar", {"2", "1", "0"}},
                             {"Kelo", {"1", "0", "0"}},
                             {"Duravai", {"1", "0", "1"}},
                             {"Santel", {"3", "2", "0"}}};

// What makes a scenario a scenario besides its map block: the game keeps its own data there, which
// the editor never reads nor changes. A plain text marks it, so a save in place can be checked.
const QByteArray RestOfScenario = QByteArrayLiteral("-- the rest of a Ketura scenario: orders of battle, "
                                                    "victory conditions; Vantor leaves these bytes alone --\n");

int Fail(const QString &message)
{
    std::fprintf(stderr, "make_samples: %s\n", qPrintable(message));
    return 1;
}

bool IsLand(const MapStore &map, int x, int y)
{
    // Beach (25) to Deep Ocean (31) are the shore and the sea.
    const int terrain = map.at(Terrain, x, y);
    return terrain < 25 || terrain > 31;
}

// Land hexes spread over the map, one per cell of a coarse grid, west to east and north to south.
std::vector<HexCoord> SpreadLandHexes(const MapStore &map, int count, int offset)
{
    std::vector<HexCoord> hexes;
    constexpr int Cell = 7;
    for (int y = offset; y < map.MapHeight && int(hexes.size()) < count; y += Cell)
        for (int x = offset; x < map.MapWidth && int(hexes.size()) < count; x += Cell)
            if (IsLand(map, x, y))
                hexes.push_back({x, y});
    return hexes;
}

QString WriteScenario(const QString &path, const MapStore &map, ScenarioLayout layout, const PlaceTable &places,
                      int placeCount)
{
    return WriteFileAtomically(path, EncodeScenarioMapBlock(map, layout, places, placeCount) + RestOfScenario);
}

int MakeScenarios(const QString &islandPath, const QDir &out)
{
    MapStore island;
    if (const QString error = ReadMapFile(islandPath, island); !error.isEmpty())
        return Fail(error);

    // The homemade scenario: every place named in the table and attached to a hex.
    MapStore homemade = island;
    const std::vector<HexCoord> placeHexes = SpreadLandHexes(homemade, int(std::size(PlaceNames)), 3);
    PlaceTable places(int(placeHexes.size()) + 1);
    places.writeHeadings();
    for (int k = 0; k < int(placeHexes.size()); ++k) {
        places.setCell(PlaceTable::NameColumn, k + 1, QString::fromLatin1(PlaceNames[k]));
        places.setCell(PlaceTable::XColumn, k + 1, QString::number(placeHexes[k].x));
        places.setCell(PlaceTable::YColumn, k + 1, QString::number(placeHexes[k].y));
    }
    if (const QString error = ApplyPlaceCoordinates(homemade, places); !error.isEmpty())
        return Fail(error);
    const int placeCount = int(placeHexes.size());
    if (const QString error = WriteScenario(out.filePath(QStringLiteral("island_hm.scn")), homemade,
                                            ScenarioLayout::Homemade, places, placeCount);
        !error.isEmpty())
        return Fail(error);

    // The regular scenario with captioned cities, and their list.
    MapStore regular = island;
    CityTable cities(int(std::size(Cities)) + 1);
    cities.writeHeadings();
    const std::vector<HexCoord> cityHexes = SpreadLandHexes(regular, int(std::size(Cities)), 6);
    for (int n = 0; n < int(cityHexes.size()); ++n) {
        cities.setCell(CityTable::NumberColumn, n + 1, QString::number(n));
        cities.setCell(CityTable::NameColumn, n + 1, QString::fromLatin1(Cities[n].name));
        for (int a = 0; a < 3; ++a)
            cities.setCell(CityTable::Attr03Column + a, n + 1, QString::fromLatin1(Cities[n].attributes[a]));
        if (const QString error = CaptionHexWithCity(regular, cities, n + 1, cityHexes[n]); !error.isEmpty())
            return Fail(error);
    }
    if (const QString error = WriteScenario(out.filePath(QStringLiteral("island.scn")), regular, ScenarioLayout::Regular,
                                            PlaceTable{}, 0);
        !error.isEmpty())
        return Fail(error);
    if (const QString error = WriteCityFile(out.filePath(QStringLiteral("island.tst")), cities); !error.isEmpty())
        return Fail(error);
    return 0;
}

// A square icon of side pixels with picture scaled into its middle.
QImage Icon(const QImage &picture, int side)
{
    QImage icon(side, side, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    const QImage scaled = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter(&icon).drawImage((side - scaled.width()) / 2, (side - scaled.height()) / 2, scaled);
    return icon;
}

int MakeIcons(const QString &setsFolder, const QString &dovrelPicture, const QDir &out)
{
    // Vantor's icon is one hexagon of jungle cut from the sample sets, as it draws it on a map.
    TileSetLibrary library(setsFolder);
    const QImage jungle = library.image(1);
    if (jungle.isNull())
        return Fail(QStringLiteral("%1: no tile set 1").arg(setsFolder));
    const QImage hexagon = RepackTileSet(jungle).copy(0, 0, TileWidth, TileHeight);
    const QImage dovrel(dovrelPicture);
    if (dovrel.isNull())
        return Fail(QStringLiteral("%1: cannot read").arg(dovrelPicture));
    for (const int side : {48, 256}) {
        for (const auto &[name, picture] : {std::pair{"vantor", hexagon}, std::pair{"dovrel", dovrel}}) {
            const QString path = out.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(name)).arg(side));
            if (const QString error = WriteFileAtomically(path, EncodePng(Icon(picture, side))); !error.isEmpty())
                return Fail(error);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("scenarios"))
        return MakeScenarios(args[1], QDir(args[2]));
    if (args.size() == 4 && args[0] == QLatin1String("icons"))
        return MakeIcons(args[1], args[2], QDir(args[3]));
    std::fputs("Usage: make_samples scenarios ISLAND.map OUTDIR\n"
               "       make_samples icons SETSDIR DOVREL.png OUTDIR\n",
               stderr);
    return 2;
}
