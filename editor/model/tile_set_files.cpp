#include "tile_set_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vantor {

QString SetFileName(int set)
{
    return QStringLiteral("SET%1m.BMP").arg(set, 2, 10, QLatin1Char('0'));
}

QString SetPath(const QString &folder, int set)
{
    return QDir(folder).filePath(SetFileName(set));
}

QString UserTileSetFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("vantor"));
}

QString InstalledTileSetFolder(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral("../share/vantor")));
}

QStringList TileSetSearchFolders(const QString &folder)
{
    const QString programFolder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (programFolder.isEmpty() || QDir(folder).canonicalPath() != QDir(programFolder).canonicalPath())
        return {folder};
    return {folder, UserTileSetFolder(), InstalledTileSetFolder(programFolder)};
}

namespace {

QString FindSetFileIn(const QString &folder, int set)
{
    const QString exact = SetPath(folder, set);
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir dir(folder);
    // Name filters match without regard to case unless QDir::CaseSensitive is given.
    const QStringList matches = dir.entryList({SetFileName(set)}, QDir::Files | QDir::Readable, QDir::Name);
    return matches.isEmpty() ? QString() : dir.filePath(matches.first());
}

} // namespace

QString FindSetFile(const QString &folder, int set)
{
    for (const QString &searched : TileSetSearchFolders(folder))
        if (const QString found = FindSetFileIn(searched, set); !found.isEmpty())
            return found;
    return {};
}

} // namespace vantor
