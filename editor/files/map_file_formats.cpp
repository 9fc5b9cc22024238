#include "map_file_formats.h"

#include "files/ascii_map_file.h"
#include "files/file_io.h"
#include "files/native_map_file.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <optional>

namespace vantor {

namespace {

enum class Format { Unknown, Native, Ascii, Scenario };

Format FormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("map"), Qt::CaseInsensitive) == 0)
        return Format::Native;
    if (suffix.compare(QLatin1String("amf"), Qt::CaseInsensitive) == 0)
        return Format::Ascii;
    if (suffix.compare(QLatin1String("scn"), Qt::CaseInsensitive) == 0)
        return Format::Scenario;
    return Format::Unknown;
}

QString UnknownExtension(const QString &path)
{
    return FileMessage(path, QCoreApplication::translate("MapFile", "unknown map file type; known types: %1")
                                 .arg(KnownMapExtensions()));
}

// A message box's caption and text on one line.
QString OneLine(const UserMessage &message) { return message.caption + QStringLiteral(": ") + message.text.simplified(); }

QString Unasked(const QString &path, const UserMessage &question)
{
    return FileMessage(path, OneLine(question) + QCoreApplication::translate("MapFile", " (not asked; refused)"));
}

// A scenario that reads as both layouts or neither, with no layout chosen. --proceed does not pick
// one: a wrong guess loads a garbage map or writes the wrong block.
QString UndecidedLayout(const QString &path, const QByteArray &data)
{
    return FileMessage(path, UndecidedScenarioLayout(data) +
                                 QCoreApplication::translate("MapFile", " Pass --homemade or --regular to choose its layout."));
}

QString LoadScenario(const QString &path, MapStore &map, MapFileExtras &extras, const MapFileOptions &options)
{
    QByteArray data;
    if (QString error = ReadScenarioFile(path, data); !error.isEmpty())
        return error;
    ScenarioLayout layout = ScenarioLayout::Regular;
    if (options.layout) {
        // Chosen by hand, as by the editor's load commands: byte 4 may still disagree.
        layout = *options.layout;
        if (const UserMessage question = ScenarioLayoutQuestion(data, layout); !question.isEmpty() && !options.proceed)
            return Unasked(path, question);
    } else if (const std::optional<ScenarioLayout> read = DecideScenarioLayout(data)) {
        layout = *read; // the whole block outweighs byte 4
    } else {
        return UndecidedLayout(path, data);
    }
    const LoadResult result = DecodeScenarioMap(data, layout, map, extras.places, extras.placeCount);
    if (result.outcome == LoadResult::Refused)
        return FileMessage(path, result.message.text);
    if (layout == ScenarioLayout::Homemade)
        SetPlaceCoordinates(map, extras.placeCount, extras.places);
    return {};
}

// The save of SaveMapToScenario; askLayout false leaves out the byte 4 question, for a layout that
// the whole block decided.
QString SaveScenario(const QString &path, const MapStore &map, const MapFileExtras &extras, ScenarioLayout layout,
                     const MapFileOptions &options, bool askLayout)
{
    if (const UserMessage question = ScenarioExtensionQuestion(path); !question.isEmpty() && !options.proceed)
        return Unasked(path, question);
    const ScenarioSave save = PrepareScenarioSave(path, map, layout, extras.places, extras.placeCount);
    if (!save.refusal.isEmpty())
        return save.refusal.text.startsWith(path) ? save.refusal.text : FileMessage(path, OneLine(save.refusal));
    if (askLayout && !save.question.isEmpty() && !options.proceed)
        return Unasked(path, save.question);
    return save.commit();
}

QString LoadAscii(const QString &path, MapStore &map, MapFileExtras &extras)
{
    const LoadResult result = ReadAsciiMapFile(path, map, extras.places, extras.placeCount);
    return result.outcome == LoadResult::Complete ? QString() : result.message.text;
}

} // namespace

bool CanReadMapFile(const QString &path) { return FormatOf(path) != Format::Unknown; }

bool CanWriteMapFile(const QString &path) { return FormatOf(path) != Format::Unknown; }

QString LoadMapFile(const QString &path, MapStore &map, MapFileExtras &extras, const MapFileOptions &options)
{
    const Format format = FormatOf(path);
    if (format == Format::Unknown)
        return UnknownExtension(path);
    // Every reader changes the map only when it read the whole file; the extras are fresh ones.
    MapFileExtras read;
    QString error;
    switch (format) {
    case Format::Native:
        error = ReadMapFile(path, map);
        break;
    case Format::Ascii:
        error = LoadAscii(path, map, read);
        break;
    case Format::Scenario:
        error = LoadScenario(path, map, read, options);
        break;
    case Format::Unknown:
        break;
    }
    if (!error.isEmpty())
        return error;
    extras = std::move(read);
    return {};
}

QString SaveMapFile(const QString &path, const MapStore &map, const MapFileExtras &extras, const MapFileOptions &options)
{
    switch (FormatOf(path)) {
    case Format::Native:
        return WriteMapFile(path, map);
    case Format::Ascii:
        return WriteAsciiMapFile(path, map, extras.places, extras.placeCount);
    case Format::Scenario: {
        // A missing scenario gets the save's own refusal, whatever the layout.
        if (options.layout || !QFileInfo::exists(path))
            return SaveMapToScenario(path, map, extras, options.layout.value_or(ScenarioLayout::Regular), options);
        QByteArray data;
        if (QString error = ReadScenarioFile(path, data); !error.isEmpty())
            return error;
        const std::optional<ScenarioLayout> read = DecideScenarioLayout(data);
        if (!read)
            return UndecidedLayout(path, data);
        return SaveScenario(path, map, extras, *read, options, false);
    }
    case Format::Unknown:
        break;
    }
    return UnknownExtension(path);
}

QString SaveMapToScenario(const QString &path, const MapStore &map, const MapFileExtras &extras, ScenarioLayout layout,
                          const MapFileOptions &options)
{
    return SaveScenario(path, map, extras, layout, options, true);
}

QString KnownMapExtensions() { return QStringLiteral(".map, .amf, .scn"); }

} // namespace vantor
