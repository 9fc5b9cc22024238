#include "scenario_file.h"

#include "files/all_or_nothing.h"
#include "files/file_io.h"
#include "files/native_map_file.h"
#include "model/terrain_tables.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace vantor {

namespace {

QString tr(const char *text) { return QCoreApplication::translate("ScenarioFile", text); }

const char *const LayoutCaption = "Warning! Bad file format?";
const char *const SaveAbortedCaption = "Scenario Save Aborted!";

// Offset of a homemade block's place count and names.
constexpr int PlaceCountOffset = 4;
constexpr int HomemadeNamesOffset = 8;

std::uint8_t ByteAt(const QByteArray &data, qsizetype offset)
{
    return offset < data.size() ? std::uint8_t(data[offset]) : std::uint8_t(255);
}

qint32 StoredPlaceCount(const QByteArray &data)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::uint8_t(data[PlaceCountOffset + i]);
    return qint32(value);
}

LoadResult NotLoaded(const QString &text) { return {LoadResult::Refused, {tr("Scenario Map Not Loaded"), text}}; }

// Every name is text up to its first NUL, no control characters, and NULs fill the rest of its 30
// bytes. Hex records seldom read so: their small values are control characters.
bool NamesAreZeroPaddedText(const QByteArray &data, qint64 namesEnd)
{
    const auto isText = [](char c) { return std::uint8_t(c) >= 32 && c != 127; };
    for (qint64 name = HomemadeNamesOffset; name < namesEnd; name += HomemadeNameLength) {
        const QByteArrayView bytes = QByteArrayView(data).sliced(name, HomemadeNameLength);
        const qsizetype nul = bytes.indexOf('\0');
        const QByteArrayView text = nul < 0 ? bytes : bytes.first(nul);
        const QByteArrayView padding = bytes.sliced(text.size());
        if (!std::all_of(text.begin(), text.end(), isText) || padding.count('\0') != padding.size())
            return false;
    }
    return true;
}

// Whether the set usage table after hexCount hex records from offset hexes is there and marks set 0
// and exactly the sets those hexes use, as a map file is written.
bool SetTableAgrees(const QByteArray &data, qint64 hexes, qint64 hexCount)
{
    const qint64 table = hexes + qint64(PlaneCount) * hexCount;
    if (data.size() < table + SetUsageTableSize)
        return false;
    std::array<bool, SetUsageTableSize> used{};
    used[0] = true;
    for (qint64 record = hexes; record < table; record += PlaneCount)
        if (const std::uint8_t set = ByteAt(data, record + TileSet); set < TileSetCount)
            used[set] = true;
    for (int i = 0; i < SetUsageTableSize; ++i)
        if ((ByteAt(data, table + i) != 0) != used[i])
            return false;
    return true;
}

// A place count whose block ends inside the data, and zero-padded text names. The set usage table
// is not compared: a homemade scenario's may be out of date.
bool ReadsAsHomemade(const QByteArray &data, qint64 hexCount)
{
    if (data.size() < HomemadeNamesOffset)
        return false;
    const qint32 count = StoredPlaceCount(data);
    if (count < 0 || count > MaxPlaceCount)
        return false;
    const qint64 namesEnd = HomemadeNamesOffset + qint64(HomemadeNameLength) * count;
    if (data.size() < namesEnd + qint64(PlaneCount) * hexCount + SetUsageTableSize)
        return false;
    return NamesAreZeroPaddedText(data, namesEnd);
}

// The refusal of a save in one layout into a scenario that reads as the other one only.
QString MisalignedLayout(const QByteArray &data, ScenarioLayout layout)
{
    const ScenarioLayoutReading reading = ReadScenarioLayouts(data);
    if (layout == ScenarioLayout::Regular && reading.homemade && !reading.regular)
        return tr("This scenario holds a homemade map with %1 place names. Saving a regular map\n"
                  " into it would overwrite them and misalign the rest of the scenario.\n     SAVE ABORTED.")
            .arg(StoredPlaceCount(data));
    if (layout == ScenarioLayout::Homemade && reading.regular && !reading.homemade)
        return tr("This scenario holds a regular map. Saving a homemade map into it\n"
                  " would misalign the rest of the scenario.\n     SAVE ABORTED.");
    return {};
}

} // namespace

qint64 ScenarioBlockSize(int width, int height, ScenarioLayout layout, int placeCount)
{
    const qint64 names = layout == ScenarioLayout::Homemade ? 4 + qint64(HomemadeNameLength) * placeCount : 0;
    return MapFileSize(width, height) + names;
}

ScenarioLayout GuessScenarioLayout(const QByteArray &data)
{
    return ByteAt(data, 4) == 255 ? ScenarioLayout::Regular : ScenarioLayout::Homemade;
}

ScenarioLayoutReading ReadScenarioLayouts(const QByteArray &data)
{
    if (data.size() < MapFileHeaderSize)
        return {};
    const int width = std::uint8_t(data[0]);
    const int height = std::uint8_t(data[2]);
    if (!IsValidMapSize(width, height))
        return {};
    const qint64 hexCount = qint64(width) * height;
    return {SetTableAgrees(data, MapFileHeaderSize, hexCount), ReadsAsHomemade(data, hexCount)};
}

std::optional<ScenarioLayout> DecideScenarioLayout(const QByteArray &data)
{
    const ScenarioLayoutReading reading = ReadScenarioLayouts(data);
    if (reading.regular == reading.homemade)
        return std::nullopt;
    return reading.regular ? ScenarioLayout::Regular : ScenarioLayout::Homemade;
}

QString UndecidedScenarioLayout(const QByteArray &data)
{
    const ScenarioLayoutReading reading = ReadScenarioLayouts(data);
    if (reading.regular != reading.homemade)
        return {};
    return reading.regular ? tr("It reads as both a regular and a homemade (HM) scenario.")
                           : tr("It reads as neither a regular nor a homemade (HM) scenario.");
}

UserMessage ScenarioLayoutQuestion(const QByteArray &data, ScenarioLayout layout)
{
    if (GuessScenarioLayout(data) == layout)
        return {};
    if (layout == ScenarioLayout::Homemade)
        return {QString::fromLatin1(LayoutCaption),
                QStringLiteral("This is probably not a homemade (HM)scenario.\n      Proceed anyway?")};
    return {QString::fromLatin1(LayoutCaption), QStringLiteral("This is probably not a builtin scenario.\n      Proceed anyway?")};
}

QString ReadScenarioFile(const QString &path, QByteArray &data)
{
    return ReadFilePrefix(path, LargestScenarioBlock, data);
}

namespace {

LoadResult DecodeScenarioMapInto(const QByteArray &data, ScenarioLayout layout, MapStore &map, PlaceTable &places,
                                 int &placeCount)
{
    if (data.size() < MapFileHeaderSize)
        return NotLoaded(tr("The file is too short to hold a map: it has %1 byte(s), a map header has 4.").arg(data.size()));
    const int width = std::uint8_t(data[0]);
    const int height = std::uint8_t(data[2]);
    if (!IsValidMapSize(width, height))
        return NotLoaded(tr("The map size %1 x %2 is not valid: the width must be 1 to %3 and the height 1 to %4.")
                             .arg(width).arg(height).arg(StoreColumns).arg(StoreRows));

    if (layout == ScenarioLayout::Regular) {
        if (QString problem = DecodeMapFile(data, map); !problem.isEmpty())
            return NotLoaded(problem);
        placeCount = 0;
        return {};
    }

    if (data.size() < HomemadeNamesOffset)
        return NotLoaded(tr("The file is too short to hold the place count of a homemade scenario."));
    const qint32 count = StoredPlaceCount(data);
    const qint64 namesEnd = HomemadeNamesOffset + qint64(HomemadeNameLength) * count;
    if (count < 0 || count > MaxPlaceCount || namesEnd > data.size())
        return NotLoaded(tr("The place count %1 is not valid: a map has 0 to %2 places, and the file of %3 bytes "
                            "must hold their names.")
                             .arg(count).arg(MaxPlaceCount).arg(data.size()));

    if (QString problem = DecodeMapFile(data.left(MapFileHeaderSize) + data.mid(namesEnd), map); !problem.isEmpty())
        return NotLoaded(problem);
    placeCount = count;
    places.setRowCount(count + 1);
    places.clearCells();
    places.writeHeadings();
    for (int k = 0; k < count; ++k) {
        const QByteArray raw = data.mid(HomemadeNamesOffset + qsizetype(HomemadeNameLength) * k, HomemadeNameLength);
        const qsizetype end = raw.indexOf('\0');
        places.setCell(PlaceTable::NameColumn, k + 1, QString::fromLatin1(end < 0 ? raw : raw.left(end)));
    }
    return {};
}

} // namespace

LoadResult DecodeScenarioMap(const QByteArray &data, ScenarioLayout layout, MapStore &map, PlaceTable &places,
                             int &placeCount)
{
    return DecodeAllOrNothing([&](MapStore &m, PlaceTable &p, int &c) { return DecodeScenarioMapInto(data, layout, m, p, c); },
                              map, places, placeCount);
}

void SetPlaceCoordinates(const MapStore &map, int placeCount, PlaceTable &places)
{
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            if (const int i = map.at(PlaceIndexHigh, x, y) * 256 + map.at(PlaceIndex, x, y); i < placeCount) {
                places.setCell(PlaceTable::XColumn, i + 1, QString::number(x));
                places.setCell(PlaceTable::YColumn, i + 1, QString::number(y));
            }
}

QByteArray EncodeScenarioMapBlock(const MapStore &map, ScenarioLayout layout, const PlaceTable &places, int placeCount)
{
    const QByteArray mapFile = EncodeMapFile(map);
    if (layout == ScenarioLayout::Regular)
        return mapFile;
    QByteArray block = mapFile.left(MapFileHeaderSize);
    block.reserve(ScenarioBlockSize(map.MapWidth, map.MapHeight, layout, placeCount));
    const auto count = quint32(placeCount);
    for (int i = 0; i < 4; ++i)
        block.append(char(count >> (8 * i)));
    for (int k = 1; k <= placeCount; ++k) {
        QByteArray name = places.cell(PlaceTable::NameColumn, k).toLatin1().left(HomemadeNameLength);
        name.append(HomemadeNameLength - name.size(), '\0');
        block.append(name);
    }
    block.append(mapFile.mid(MapFileHeaderSize));
    return block;
}

UserMessage ScenarioExtensionQuestion(const QString &path)
{
    if (path.contains(QLatin1String(".scn")))
        return {};
    return {QStringLiteral("Extension is not SCN"), QStringLiteral("%1 \nmay not be a scenario file.\n Proceed?").arg(path)};
}

QString ScenarioSave::commit() const
{
    if (!refusal.isEmpty() || content.isEmpty())
        return FileMessage(path, tr("the save was refused; nothing was written."));
    return WriteFileAtomically(path, content);
}

ScenarioSave PrepareScenarioSave(const QString &path, const MapStore &map, ScenarioLayout layout,
                                 const PlaceTable &places, int placeCount)
{
    ScenarioSave save;
    save.path = path;
    const auto refuse = [&save](const QString &caption, const QString &text) {
        save.refusal = {caption, text};
        save.content.clear();
        return save;
    };
    const QString aborted = QString::fromLatin1(SaveAbortedCaption);

    const QFileInfo info(path);
    if (!info.exists())
        return refuse(QStringLiteral("No Such Scenario File"),
                      QStringLiteral("There is no file:\n%1\nYou must save into an existing      scenario file.").arg(path));
    if (!info.isFile())
        return refuse(aborted, FileMessage(path, tr("this is not a file; nothing was written.")));
    // The whole scenario: its new content replaces it at once.
    QByteArray data;
    if (QString error = ReadWholeFile(path, data); !error.isEmpty())
        return refuse(aborted, error);

    const int width = map.MapWidth;
    const int height = map.MapHeight;
    if (!IsValidMapSize(width, height))
        return refuse(aborted, tr("The map size %1 x %2 cannot be saved: the width must be 1 to %3 and the height 1 to %4.")
                                   .arg(width).arg(height).arg(StoreColumns).arg(StoreRows));
    const int fileWidth = ByteAt(data, 0);
    const int fileHeight = ByteAt(data, 2);
    if (fileWidth != width || fileHeight != height)
        return refuse(aborted, QStringLiteral("This map is %1x%2 but\n the scenario map is %3x%4.\n     SAVE ABORTED.")
                                   .arg(width).arg(height).arg(fileWidth).arg(fileHeight));
    if (const QString misaligned = MisalignedLayout(data, layout); !misaligned.isEmpty())
        return refuse(aborted, misaligned);

    if (layout == ScenarioLayout::Homemade) {
        if (placeCount < 0)
            return refuse(aborted, tr("The place count %1 is not valid.\n     SAVE ABORTED.").arg(placeCount));
        if (data.size() < HomemadeNamesOffset)
            return refuse(aborted, tr("The scenario is too short to hold the place count of a homemade map.\n"
                                      "     SAVE ABORTED."));
        if (const qint32 stored = StoredPlaceCount(data); stored != placeCount)
            return refuse(aborted, tr("This map has %1 place names but\n the scenario has %2. Saving would shift\n"
                                      " the rest of the scenario.\n     SAVE ABORTED.")
                                       .arg(placeCount).arg(stored));
    }
    const qint64 blockSize = ScenarioBlockSize(width, height, layout, placeCount);
    if (data.size() < blockSize)
        return refuse(aborted, tr("The scenario has %1 bytes, fewer than the %2 bytes of this map's block.\n"
                                  "     SAVE ABORTED.")
                                   .arg(data.size()).arg(blockSize));

    save.question = ScenarioLayoutQuestion(data, layout);
    const QByteArray block = EncodeScenarioMapBlock(map, layout, places, placeCount);
    Q_ASSERT(block.size() == blockSize);
    data.replace(0, block.size(), block);
    save.content = data;
    return save;
}

} // namespace vantor
