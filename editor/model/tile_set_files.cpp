#include "tile_set_files.h"

#include <QDir>
#include <QFileInfo>

namespace vantor {

QString SetFileName(int set)
{
    return QStringLiteral("SET%1m.BMP").arg(set, 2, 10, QLatin1Char('0'));
}

QString SetPath(const QString &folder, int set)
{
    return QDir(folder).filePath(SetFileName(set));
}

QString FindSetFile(const QString &folder, int set)
{
    const QString exact = SetPath(folder, set);
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir dir(folder);
    // Name filters match without regard to case unless QDir::CaseSensitive is given.
    const QStringList matches = dir.entryList({SetFileName(set)}, QDir::Files | QDir::Readable, QDir::Name);
    return matches.isEmpty() ? QString() : dir.filePath(matches.first());
}

} // namespace vantor
