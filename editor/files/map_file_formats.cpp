#include "map_file_formats.h"

#include "files/file_io.h"
#include "files/native_map_file.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vantor {

namespace {

bool IsNativeMapFile(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("map"), Qt::CaseInsensitive) == 0;
}

QString UnknownExtension(const QString &path)
{
    return FileMessage(path, QCoreApplication::translate("MapFile", "unknown map file type; known types: %1")
                                 .arg(KnownMapExtensions()));
}

} // namespace

bool CanReadMapFile(const QString &path) { return IsNativeMapFile(path); }

bool CanWriteMapFile(const QString &path) { return IsNativeMapFile(path); }

QString LoadMapFile(const QString &path, MapStore &map, MapFileExtras &extras)
{
    if (IsNativeMapFile(path)) {
        extras = {};
        return ReadMapFile(path, map);
    }
    return UnknownExtension(path);
}

QString SaveMapFile(const QString &path, const MapStore &map, const MapFileExtras &)
{
    if (IsNativeMapFile(path))
        return WriteMapFile(path, map);
    return UnknownExtension(path);
}

QString KnownMapExtensions() { return QStringLiteral(".map"); }

} // namespace vantor
