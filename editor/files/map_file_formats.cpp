#include "map_file_formats.h"

#include "files/ascii_map_file.h"
#include "files/file_io.h"
#include "files/native_map_file.h"
#include "files/tmx_import.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vantor {

namespace {

LoadResult Refused(const QString &caption, const QString &text) { return {LoadResult::Refused, {caption, text}}; }

// A message box's caption and text on one line.
QString OneLine(const UserMessage &message) { return message.caption + QStringLiteral(": ") + message.text.simplified(); }

// Asks question, when there is one: true goes on. A question nobody may answer refuses with its text.
bool GoesOn(const QString &path, const UserMessage &question, const MapFileOptions &options, LoadResult &refusal)
{
    if (question.isEmpty() || (options.ask ? options.ask(question) : options.proceed))
        return true;
    refusal = options.ask ? Refused({}, {})
                          : Refused(question.caption,
                                    FileMessage(path, OneLine(question) +
                                                          QCoreApplication::translate("MapFile", " (not asked; refused)")));
    return false;
}

ScenarioLayout LayoutOf(MapFileFormat format)
{
    return format == MapFileFormat::HomemadeScenario ? ScenarioLayout::Homemade : ScenarioLayout::Regular;
}

MapFileFormat ScenarioFormat(ScenarioLayout layout)
{
    return layout == ScenarioLayout::Homemade ? MapFileFormat::HomemadeScenario : MapFileFormat::RegularScenario;
}

// The layout of a scenario opened or written without one chosen: the one its whole map block reads
// as, or the user's choice when it reads as both or neither.
std::optional<ScenarioLayout> LayoutOfScenario(const QString &path, const QByteArray &data, const MapFileOptions &options,
                                               LoadResult &refusal)
{
    if (const std::optional<ScenarioLayout> read = DecideScenarioLayout(data))
        return read;
    const UserMessage question{QStringLiteral("Scenario Layout"), FileMessage(path, UndecidedScenarioLayout(data))};
    if (options.chooseLayout) {
        if (const std::optional<ScenarioLayout> chosen = options.chooseLayout(question))
            return chosen;
        refusal = Refused({}, {});
        return std::nullopt;
    }
    refusal = Refused(question.caption,
                      question.text +
                          QCoreApplication::translate("MapFile", " Pass --homemade or --regular to choose its layout."));
    return std::nullopt;
}

bool IsScenarioFile(const QString &path) { return QFileInfo(path).suffix().compare(QLatin1String("scn"), Qt::CaseInsensitive) == 0; }

LoadResult ReadScenario(const QString &path, std::optional<ScenarioLayout> layout, MapStore &map, MapFileExtras &extras,
                        const MapFileOptions &options, MapFileFormat &read)
{
    QByteArray data;
    if (QString error = ReadScenarioFile(path, data); !error.isEmpty())
        return Refused(QStringLiteral("Scenario Not Loaded"), error);
    LoadResult refusal;
    if (!layout) {
        // Nothing chosen: the whole block outweighs byte 4, so there is nothing to ask about it.
        layout = LayoutOfScenario(path, data, options, refusal);
        if (!layout)
            return refusal;
    } else if (!GoesOn(path, ScenarioLayoutQuestion(data, *layout), options, refusal)) {
        return refusal;
    }
    const ScenarioLayout chosen = *layout;
    LoadResult result = DecodeScenarioMap(data, chosen, map, extras.places, extras.placeCount);
    if (result.outcome != LoadResult::Complete) {
        result.message.text = FileMessage(path, result.message.text);
        return result;
    }
    if (chosen == ScenarioLayout::Homemade)
        SetPlaceCoordinates(map, extras.placeCount, extras.places);
    read = ScenarioFormat(chosen);
    return {};
}

LoadResult WriteScenario(const QString &path, ScenarioLayout layout, const MapStore &map, const MapFileExtras &extras,
                         const MapFileOptions &options)
{
    LoadResult refusal;
    if (!GoesOn(path, ScenarioExtensionQuestion(path), options, refusal))
        return refusal;
    const ScenarioSave save = PrepareScenarioSave(path, map, layout, extras.places, extras.placeCount);
    if (!save.refusal.isEmpty())
        return Refused(save.refusal.caption, save.refusal.text);
    // Byte 4 has nothing to say against a layout the whole block reads as.
    QByteArray data;
    const bool confirmed = ReadScenarioFile(path, data).isEmpty() && DecideScenarioLayout(data) == layout;
    if (!confirmed && !GoesOn(path, save.question, options, refusal))
        return refusal;
    if (const QString error = save.commit(); !error.isEmpty())
        return Refused(QStringLiteral("Scenario Save Aborted!"), error);
    return {};
}

} // namespace

MapFileFormat MapFileFormatOf(const QString &path, std::optional<ScenarioLayout> layout)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("map"), Qt::CaseInsensitive) == 0)
        return MapFileFormat::NativeMap;
    if (suffix.compare(QLatin1String("amf"), Qt::CaseInsensitive) == 0)
        return MapFileFormat::AsciiMap;
    if (IsScenarioFile(path))
        return ScenarioFormat(layout.value_or(ScenarioLayout::Regular));
    if (suffix.compare(QLatin1String("tmx"), Qt::CaseInsensitive) == 0)
        return MapFileFormat::TiledMap;
    return MapFileFormat::None;
}

LoadResult ReadMapFileAs(const QString &path, MapFileFormat format, MapStore &map, MapFileExtras &extras,
                         const MapFileOptions &options, MapFileFormat *read)
{
    std::optional<ScenarioLayout> layout = options.layout;
    if (format == MapFileFormat::None) {
        format = MapFileFormatOf(path);
        if (format == MapFileFormat::None)
            return Refused(QStringLiteral("Map Not Loaded"),
                           FileMessage(path, QCoreApplication::translate("MapFile", "unknown map file type; known types: %1")
                                                 .arg(KnownMapExtensions())));
    } else if (format == MapFileFormat::RegularScenario || format == MapFileFormat::HomemadeScenario) {
        layout = LayoutOf(format);
    }
    // Every reader changes the map only when it read the whole file; the names come fresh.
    MapFileExtras fresh{0, extras.places};
    MapFileFormat formatRead = format;
    LoadResult result;
    switch (format) {
    case MapFileFormat::NativeMap:
        if (const QString error = ReadMapFile(path, map); !error.isEmpty())
            result = Refused(QStringLiteral("Map Not Loaded"), error);
        break;
    case MapFileFormat::AsciiMap:
        result = ReadAsciiMapFile(path, map, fresh.places, fresh.placeCount);
        break;
    case MapFileFormat::RegularScenario:
    case MapFileFormat::HomemadeScenario:
        result = ReadScenario(path, layout, map, fresh, options, formatRead);
        break;
    case MapFileFormat::TiledMap:
        result = ReadTmxFile(path, map, fresh.places, fresh.placeCount);
        break;
    case MapFileFormat::None:
        break;
    }
    if (result.outcome != LoadResult::Complete)
        return result;
    extras = std::move(fresh);
    if (read)
        *read = formatRead;
    return result;
}

LoadResult WriteMapFileAs(const QString &path, MapFileFormat format, const MapStore &map, const MapFileExtras &extras,
                          const MapFileOptions &options, MapFileFormat *written)
{
    if (format == MapFileFormat::None && IsScenarioFile(path)) {
        // A missing scenario gets the save's own refusal, whatever the layout.
        std::optional<ScenarioLayout> layout = options.layout;
        if (!layout && QFileInfo::exists(path)) {
            QByteArray data;
            if (QString error = ReadScenarioFile(path, data); !error.isEmpty())
                return Refused(QStringLiteral("Scenario Save Aborted!"), error);
            LoadResult refusal;
            layout = LayoutOfScenario(path, data, options, refusal);
            if (!layout)
                return refusal;
        }
        format = ScenarioFormat(layout.value_or(ScenarioLayout::Regular));
    } else if (format == MapFileFormat::None) {
        format = MapFileFormatOf(path);
    }
    LoadResult result;
    switch (format) {
    case MapFileFormat::NativeMap:
        if (const QString error = WriteMapFile(path, map); !error.isEmpty())
            result = Refused(QStringLiteral("Map Not Saved"), error);
        break;
    case MapFileFormat::AsciiMap:
        if (const QString error = WriteAsciiMapFile(path, map, extras.places, extras.placeCount); !error.isEmpty())
            result = Refused(QStringLiteral("Map Not Saved"), error);
        break;
    case MapFileFormat::RegularScenario:
    case MapFileFormat::HomemadeScenario:
        result = WriteScenario(path, LayoutOf(format), map, extras, options);
        break;
    case MapFileFormat::TiledMap:
        return Refused(QStringLiteral("Map Not Saved"),
                       FileMessage(path, QCoreApplication::translate("MapFile", "a Tiled map is written by Export to Tiled")));
    case MapFileFormat::None:
        return Refused(QStringLiteral("Map Not Saved"),
                       FileMessage(path, QCoreApplication::translate("MapFile", "unknown map file type; known types: %1")
                                             .arg(KnownMapExtensions())));
    }
    if (result.outcome == LoadResult::Complete && written)
        *written = format;
    return result;
}

QString ScriptMessage(const QString &path, const UserMessage &message)
{
    return message.text.startsWith(path) ? message.text : FileMessage(path, OneLine(message));
}

QString KnownMapExtensions() { return QStringLiteral(".map, .amf, .scn, .tmx (read only)"); }

} // namespace vantor
