// vantor-cli: the editor's map work for scripts and batch jobs.

#include "document/map_document.h"
#include "files/city_file.h"
#include "files/map_text.h"
#include "model/integer_text.h"
#include "model/terrain_tables.h"
#include "program_info.h"
#include "render/hex_outlines.h"
#include "render/picture_files.h"
#include "render/road_overlay.h"
#include "render/tile_set_library.h"
#include "render/tmx_export.h"
#include "tools/map_commands.h"
#include "tools/pattern_passes.h"
#include "tools/road_links.h"
#include "tools/sketch_conversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <random>

using namespace vantor;

namespace {

enum ExitStatus { Success = 0, Refused = 1, UsageError = 2 };

const char *const UsageText =
    "Usage: vantor-cli COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  info FILE [SCENARIO OPTIONS]\n"
    "      Print the map's width, height, number of places and the tile sets its hexes use.\n"
    "  render FILE OUT.bmp|OUT.png [--sets DIR] [--background VALUE] [--roads]\n"
    "      Write the map's picture as a 24-bit bitmap or a PNG image, by OUT's extension, with\n"
    "      tile sets from DIR (default: the program's folder, then the user's and the installed\n"
    "      tile sets) on the background colour VALUE (0x00BBGGRR, decimal or hexadecimal\n"
    "      behind 0x, x or $; default 0x38b8a0). --roads draws the road connections over it.\n"
    "  convert IN OUT [SCENARIO OPTIONS]\n"
    "      Read the map in IN and write it to OUT, each in the format of its extension. An OUT\n"
    "      scenario must exist: its map block is replaced in place, the rest of it is kept.\n"
    "  convert IN OUT.tmx [--sets DIR] [--cities FILE.tst] [SCENARIO OPTIONS]\n"
    "      Export the map to Tiled: a hexagonal TMX map, and beside it the tile sets it uses as\n"
    "      PNG sheets Setxxm.png, made from the tile sets in DIR (as for render). The names of a\n"
    "      homemade scenario's places and of the cities of FILE.tst become text objects.\n"
    "  dump FILE [SCENARIO OPTIONS]\n"
    "      Print the map as stable text: its size, its place names, then one line per hex with the\n"
    "      fields that differ from a hex of a new map. For git: textconv = vantor-cli dump.\n"
    "  diff A B [--picture OUT.png] [--sets DIR] [SCENARIO OPTIONS]\n"
    "      List what changed from map A to map B: \"x,y: field old → new\" and the place names.\n"
    "      --picture writes B's picture with the changed hexes outlined. Exit status 0 when the\n"
    "      maps are the same, 1 when they differ, 2 on an error.\n"
    "  save-scenario IN SCENARIO [--homemade] [--proceed]\n"
    "      Write the map of IN into the existing scenario SCENARIO in place, with every check of\n"
    "      the editor's \"Save Map To Scenario\" (\"Save HM Scenario Map\" with --homemade).\n"
    "  tool IN OUT STEP... [SCENARIO OPTIONS]\n"
    "      Read the map in IN, change it by each STEP in the order given, and write it to OUT:\n"
    "      coastline, roads, rivers (\"Make Coastline\", \"Make Roads\", \"Make Rivers\"),\n"
    "      links, clear-links (\"Make Road Connections\", \"Clear Road Connections\").\n"
    "  sketch SKETCH.bmp OUT [--scale N] [--seed N]\n"
    "      Convert a sketch painted in navy, lime, dark green, white, red, blue and yellow into a\n"
    "      new map of one hex per N x N pixels (3 to 10, default 5), at most 72 x 70 hexes. The\n"
    "      tile variants are drawn at random; the same --seed draws the same ones.\n"
    "\n"
    "Scenario options:\n"
    "  --homemade, --regular\n"
    "      The layout of the scenarios read or written; by default the layout each scenario's map\n"
    "      block reads as. One that reads as both layouts or as neither is refused without them.\n"
    "  --proceed\n"
    "      Go on where the editor would ask first (a scenario that looks like the other layout, a\n"
    "      scenario path without \".scn\"); without it such a file is refused.\n"
    "\n"
    "Map files: .map (the editor's map), .amf (ASCII map), .scn (scenario); .tmx (Tiled): read back what\n"
    "Tiled saved; written only by the export (convert IN OUT.tmx)\n"
    "Exit status: 0 success, 1 an input was refused or an output could not be written, 2 usage error.\n";

void PrintLine(FILE *stream, const QString &text) { std::fprintf(stream, "%s\n", qPrintable(text)); }

int Usage(const QString &problem)
{
    PrintLine(stderr, QStringLiteral("vantor-cli: %1").arg(problem));
    std::fputs("Run 'vantor-cli --help' for the commands.\n", stderr);
    return UsageError;
}

int Refuse(const QString &message)
{
    PrintLine(stderr, QStringLiteral("vantor-cli: %1").arg(message));
    return Refused;
}

// Takes the scenario options out of args.
QString TakeScenarioOptions(QStringList &args, MapFileOptions &options)
{
    for (qsizetype i = 0; i < args.size();) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--homemade") || arg == QLatin1String("--regular")) {
            const ScenarioLayout layout = arg == QLatin1String("--homemade") ? ScenarioLayout::Homemade : ScenarioLayout::Regular;
            if (options.layout && *options.layout != layout)
                return QStringLiteral("--homemade and --regular exclude each other");
            options.layout = layout;
        } else if (arg == QLatin1String("--proceed")) {
            options.proceed = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option %1").arg(arg);
        } else {
            ++i;
            continue;
        }
        args.removeAt(i);
    }
    return {};
}

// Opens an input file as the editor opens it: nullptr, with the exit status to return, when it cannot.
std::unique_ptr<MapDocument> ReadInput(const QString &path, const MapFileOptions &options, int &status)
{
    if (MapFileFormatOf(path) == MapFileFormat::None) {
        status = Usage(QStringLiteral("%1: cannot read this type of file; known types: %2").arg(path, KnownMapExtensions()));
        return nullptr;
    }
    auto document = std::make_unique<MapDocument>();
    if (const LoadResult result = document->open(path, MapFileFormat::None, options); result.outcome != LoadResult::Complete) {
        status = Refuse(ScriptMessage(path, result.message));
        return nullptr;
    }
    return document;
}

// Saves the document as the editor saves it: the exit status.
int WriteOutput(MapDocument &document, const QString &path, MapFileFormat format, const MapFileOptions &options)
{
    if (const LoadResult result = document.save(path, format, options); result.outcome != LoadResult::Complete)
        return Refuse(ScriptMessage(path, result.message));
    return Success;
}

bool CanWrite(const QString &path)
{
    const MapFileFormat format = MapFileFormatOf(path);
    return format != MapFileFormat::None && format != MapFileFormat::TiledMap;
}

int Info(QStringList args)
{
    MapFileOptions options;
    if (const QString problem = TakeScenarioOptions(args, options); !problem.isEmpty())
        return Usage(problem);
    if (args.size() != 1)
        return Usage(QStringLiteral("info takes one FILE"));
    int status = Success;
    const std::unique_ptr<MapDocument> document = ReadInput(args[0], options, status);
    if (!document)
        return status;
    const MapStore *map = &document->map();

    std::array<bool, TileSetCount> used{};
    for (int y = 0; y < map->MapHeight; ++y)
        for (int x = 0; x < map->MapWidth; ++x)
            if (const int s = map->at(TileSet, x, y); s < TileSetCount)
                used[s] = true;
    QString sets = QStringLiteral("sets:");
    for (int s = 0; s < TileSetCount; ++s)
        if (used[s])
            sets += QStringLiteral(" %1").arg(s);

    PrintLine(stdout, QStringLiteral("width: %1").arg(map->MapWidth));
    PrintLine(stdout, QStringLiteral("height: %1").arg(map->MapHeight));
    PrintLine(stdout, QStringLiteral("places: %1").arg(document->tables().placeCount));
    PrintLine(stdout, sets);
    return Success;
}

int Render(QStringList args)
{
    QString setsFolder = QCoreApplication::applicationDirPath();
    ColourValue background = DefaultBackgroundColour;
    bool roads = false;
    for (qsizetype i = 0; i < args.size();) {
        const QString option = args[i];
        if (!option.startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        if (option == QLatin1String("--roads")) {
            roads = true;
            args.removeAt(i);
            continue;
        }
        if (i + 1 >= args.size())
            return Usage(QStringLiteral("%1 needs a value").arg(option));
        const QString value = args[i + 1];
        if (option == QLatin1String("--sets")) {
            setsFolder = value;
        } else if (option == QLatin1String("--background")) {
            const std::optional<int> colour = ParseInteger(value);
            if (!colour)
                return Usage(InvalidIntegerMessage(value));
            background = ColourValue(*colour) & 0xFFFFFF;
        } else {
            return Usage(QStringLiteral("unknown option %1").arg(option));
        }
        args.remove(i, 2);
    }
    if (args.size() != 2)
        return Usage(QStringLiteral("render takes FILE and OUT.bmp or OUT.png"));
    const QString &in = args[0];
    const QString &out = args[1];
    const std::optional<PictureFormat> format = PictureFormatOf(out);
    if (!format)
        return Usage(QStringLiteral("%1: the picture is written as a .bmp or .png file").arg(out));
    if (!QFileInfo(setsFolder).isDir())
        return Usage(QStringLiteral("%1: no such folder of tile sets").arg(setsFolder));

    int status = Success;
    const std::unique_ptr<MapDocument> document = ReadInput(in, MapFileOptions{}, status);
    if (!document)
        return status;
    const MapStore *map = &document->map();
    TileSetLibrary sets(setsFolder);
    QString error;
    BandOverlay overlay;
    if (roads)
        overlay = [&map](QImage &band, int bandTop) { DrawRoadOverlay(*map, band, bandTop); };
    const RedrawReport report = RenderMapToPicture(*map, sets, background, out, *format, error, overlay);
    if (!error.isEmpty())
        return Refuse(error);
    for (const int s : report.unavailableSets)
        PrintLine(stderr, QStringLiteral("vantor-cli: warning: tile set %1 is missing or unreadable (%2); its hexes show "
                                         "only the background")
                              .arg(s)
                              .arg(QDir(setsFolder).filePath(sets.fileNameOf(s))));
    return Success;
}

// Takes "NAME VALUE" out of args into value; false, with the usage error in status, when VALUE is missing.
bool TakeValueOption(QStringList &args, const QString &name, QString &value, int &status)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0)
        return true;
    if (i + 1 >= args.size()) {
        status = Usage(QStringLiteral("%1 needs a value").arg(name));
        return false;
    }
    value = args[i + 1];
    args.remove(i, 2);
    return true;
}

int ExportToTiled(const QString &in, const QString &out, const QString &setsFolder, const QString &cityFile,
                  const MapFileOptions &options)
{
    if (!QFileInfo(setsFolder).isDir())
        return Usage(QStringLiteral("%1: no such folder of tile sets").arg(setsFolder));
    int status = Success;
    const std::unique_ptr<MapDocument> document = ReadInput(in, options, status);
    if (!document)
        return status;
    const MapStore *map = &document->map();
    CityTable cities;
    if (!cityFile.isEmpty()) {
        if (const LoadResult read = ReadCityFile(cityFile, *map, cities); read.outcome == LoadResult::Refused)
            return Refuse(read.message.text);
    }
    const MapTables &tables = document->tables();
    const std::vector<MapLabel> labels = MapLabelsOf(*map, tables.places, tables.placeCount, cities);
    if (const QString error = ExportMapToTmx(out, *map, setsFolder, InitialDefaultTerrain(), labels, DefaultBackgroundColour,
                                             tables.placeCount);
        !error.isEmpty())
        return Refuse(error);
    return Success;
}

int Convert(QStringList args)
{
    QString setsFolder = QCoreApplication::applicationDirPath();
    QString cityFile;
    const bool tiledOptions = args.contains(QLatin1String("--sets")) || args.contains(QLatin1String("--cities"));
    int status = Success;
    if (!TakeValueOption(args, QStringLiteral("--sets"), setsFolder, status) ||
        !TakeValueOption(args, QStringLiteral("--cities"), cityFile, status))
        return status;
    MapFileOptions options;
    if (const QString problem = TakeScenarioOptions(args, options); !problem.isEmpty())
        return Usage(problem);
    if (args.size() != 2)
        return Usage(QStringLiteral("convert takes IN and OUT"));
    if (QFileInfo(args[1]).suffix().compare(QLatin1String("tmx"), Qt::CaseInsensitive) == 0)
        return ExportToTiled(args[0], args[1], setsFolder, cityFile, options);
    if (tiledOptions)
        return Usage(QStringLiteral("--sets and --cities are for a .tmx output"));
    if (!CanWrite(args[1]))
        return Usage(QStringLiteral("%1: cannot write this type of file; known types: %2").arg(args[1], KnownMapExtensions()));
    const std::unique_ptr<MapDocument> document = ReadInput(args[0], options, status);
    if (!document)
        return status;
    return WriteOutput(*document, args[1], MapFileFormat::None, options);
}

int SaveScenario(QStringList args)
{
    MapFileOptions options;
    if (const QString problem = TakeScenarioOptions(args, options); !problem.isEmpty())
        return Usage(problem);
    if (options.layout == ScenarioLayout::Regular)
        return Usage(QStringLiteral("save-scenario writes the regular layout unless --homemade is given"));
    if (args.size() != 2)
        return Usage(QStringLiteral("save-scenario takes IN and SCENARIO"));
    const ScenarioLayout layout = options.layout.value_or(ScenarioLayout::Regular);
    // The layout option names the scenario written; the map read from IN keeps its own.
    MapFileOptions readOptions = options;
    readOptions.layout.reset();
    int status = Success;
    const std::unique_ptr<MapDocument> document = ReadInput(args[0], readOptions, status);
    if (!document)
        return status;
    const MapFileFormat format =
        layout == ScenarioLayout::Homemade ? MapFileFormat::HomemadeScenario : MapFileFormat::RegularScenario;
    return WriteOutput(*document, args[1], format, options);
}

MapWithPlaces WithPlaces(const MapDocument &document)
{
    return {document.map(), document.tables().places, document.tables().placeCount};
}

int Dump(QStringList args)
{
    MapFileOptions options;
    if (const QString problem = TakeScenarioOptions(args, options); !problem.isEmpty())
        return Usage(problem);
    if (args.size() != 1)
        return Usage(QStringLiteral("dump takes one FILE"));
    int status = Success;
    const std::unique_ptr<MapDocument> document = ReadInput(args[0], options, status);
    if (!document)
        return status;
    const QByteArray text = DumpMap(WithPlaces(*document));
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return Success;
}

// As diff(1): 0 the same, 1 different, 2 trouble.
int Diff(QStringList args)
{
    enum DiffStatus { Same = 0, Different = 1, Trouble = 2 };
    QString picture;
    QString setsFolder = QCoreApplication::applicationDirPath();
    int status = Success;
    if (!TakeValueOption(args, QStringLiteral("--picture"), picture, status) ||
        !TakeValueOption(args, QStringLiteral("--sets"), setsFolder, status))
        return Trouble;
    MapFileOptions options;
    if (const QString problem = TakeScenarioOptions(args, options); !problem.isEmpty()) {
        Usage(problem);
        return Trouble;
    }
    if (args.size() != 2) {
        Usage(QStringLiteral("diff takes A and B"));
        return Trouble;
    }
    if (!picture.isEmpty() && PictureFormatOf(picture) != PictureFormat::Png) {
        Usage(QStringLiteral("%1: the picture is written as a .png file").arg(picture));
        return Trouble;
    }
    const std::unique_ptr<MapDocument> a = ReadInput(args[0], options, status);
    const std::unique_ptr<MapDocument> b = a ? ReadInput(args[1], options, status) : nullptr;
    if (!b)
        return Trouble;
    const MapDifferences differences = DiffMaps(WithPlaces(*a), WithPlaces(*b));
    for (const QString &line : differences.lines)
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    if (!picture.isEmpty()) {
        TileSetLibrary sets(setsFolder);
        QString error;
        const MapStore &map = b->map();
        RenderMapToPicture(map, sets, DefaultBackgroundColour, picture, PictureFormat::Png, error,
                           [&](QImage &band, int bandTop) { DrawHexOutlines(band, bandTop, differences.hexes, map.MapWidth); });
        if (!error.isEmpty()) {
            Refuse(error);
            return Trouble;
        }
    }
    return differences.same() ? Same : Different;
}

// The map tools, applied as the editor's menu commands apply them.
int Tool(QStringList args)
{
    MapFileOptions options;
    if (const QString problem = TakeScenarioOptions(args, options); !problem.isEmpty())
        return Usage(problem);
    if (args.size() < 3)
        return Usage(QStringLiteral("tool takes IN, OUT and at least one STEP"));
    const QStringList steps = args.mid(2);
    const QStringList known = {QStringLiteral("coastline"), QStringLiteral("roads"), QStringLiteral("rivers"),
                               QStringLiteral("links"), QStringLiteral("clear-links")};
    for (const QString &step : steps)
        if (!known.contains(step))
            return Usage(QStringLiteral("unknown step '%1'; the steps are %2").arg(step, known.join(QLatin1String(", "))));
    if (!CanWrite(args[1]))
        return Usage(QStringLiteral("%1: cannot write this type of file; known types: %2").arg(args[1], KnownMapExtensions()));
    int status = Success;
    const std::unique_ptr<MapDocument> document = ReadInput(args[0], options, status);
    if (!document)
        return status;
    const DefaultTerrainTable defaultTerrain = InitialDefaultTerrain();
    for (const QString &step : steps) {
        if (step == QLatin1String("coastline"))
            RunPass(*document, QStringLiteral("Make Coastline"), MakeCoastline, defaultTerrain);
        else if (step == QLatin1String("roads"))
            RunPass(*document, QStringLiteral("Make Roads"), MakeRoads, defaultTerrain);
        else if (step == QLatin1String("rivers"))
            RunPass(*document, QStringLiteral("Make Rivers"), MakeRivers, defaultTerrain);
        else if (step == QLatin1String("links"))
            document->edit(QStringLiteral("Make Road Connections"), [](MapContent &content) { MakeRoadConnections(content.map); });
        else
            document->edit(QStringLiteral("Clear Road Connections"), [](MapContent &content) { ClearRoadConnections(content.map); });
    }
    return WriteOutput(*document, args[1], MapFileFormat::None, options);
}

// A sketch converted as the "Map Converter" window converts it, into a new map.
int Sketch(QStringList args)
{
    int scale = DefaultPixelsPerHex;
    std::optional<int> seed;
    for (qsizetype i = 0; i < args.size();) {
        const QString option = args[i];
        if (!option.startsWith(QLatin1String("--"))) {
            ++i;
            continue;
        }
        if (option != QLatin1String("--scale") && option != QLatin1String("--seed"))
            return Usage(QStringLiteral("unknown option %1").arg(option));
        if (i + 1 >= args.size())
            return Usage(QStringLiteral("%1 needs a value").arg(option));
        const QString value = args[i + 1];
        const std::optional<int> number = ParseInteger(value);
        if (!number)
            return Usage(InvalidIntegerMessage(value));
        if (option == QLatin1String("--scale")) {
            if (*number < MinPixelsPerHex || *number > MaxPixelsPerHex)
                return Usage(QStringLiteral("--scale takes %1 to %2 pixels per hex").arg(MinPixelsPerHex).arg(MaxPixelsPerHex));
            scale = *number;
        } else {
            seed = *number;
        }
        args.remove(i, 2);
    }
    if (args.size() != 2)
        return Usage(QStringLiteral("sketch takes SKETCH.bmp and OUT"));
    if (!CanWrite(args[1]))
        return Usage(QStringLiteral("%1: cannot write this type of file; known types: %2").arg(args[1], KnownMapExtensions()));
    QImage sketch;
    if (const QString error = ReadSketch(args[0], sketch); !error.isEmpty())
        return Refuse(error);
    const QSize size = SketchMapSize(sketch.size(), scale);
    if (!IsValidMapSize(size.width(), size.height()))
        return Refuse(QStringLiteral("%1: a sketch of %2 x %3 pixels is smaller than one hex of %4 x %4 pixels")
                          .arg(args[0])
                          .arg(sketch.width())
                          .arg(sketch.height())
                          .arg(scale));
    MapDocument document;
    VariantSource random(seed ? VariantSource::result_type(*seed) : std::random_device{}());
    document.edit(QStringLiteral("Convert"), [&](MapContent &content) {
        content.map.MapWidth = size.width();
        content.map.MapHeight = size.height();
        ConvertSketch(sketch, scale, content.map, InitialDefaultTerrain(), random);
    });
    return WriteOutput(document, args[1], MapFileFormat::None, MapFileOptions{});
}

} // namespace

int main(int argc, char *argv[])
{
    if (AnswerHelpOrVersion(argc, argv, "vantor-cli", UsageText))
        return Success;
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return Usage(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("help")) {
        std::fputs(UsageText, stdout);
        return Success;
    }
    if (command == QLatin1String("info"))
        return Info(args);
    if (command == QLatin1String("render"))
        return Render(args);
    if (command == QLatin1String("convert"))
        return Convert(args);
    if (command == QLatin1String("dump"))
        return Dump(args);
    if (command == QLatin1String("diff"))
        return Diff(args);
    if (command == QLatin1String("save-scenario"))
        return SaveScenario(args);
    if (command == QLatin1String("tool"))
        return Tool(args);
    if (command == QLatin1String("sketch"))
        return Sketch(args);
    return Usage(QStringLiteral("unknown command '%1'").arg(command));
}
