#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

void Fail(const char *target, const char *what)
{
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::fflush(stderr);
    std::abort();
}

QByteArray Bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QString ScratchPath(const QString &name)
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/vantor-fuzz-XXXXXX"));
    if (!folder.isValid())
        Fail("fuzz_support", "cannot make a scratch folder");
    return folder.filePath(name);
}

void WriteScratchFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Fail("fuzz_support", "cannot write a scratch file");
}

QByteArray ReadScratchFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail("fuzz_support", "cannot read a scratch file back");
    return file.readAll();
}

std::unique_ptr<vantor::MapStore> PatternMap(int width, int height)
{
    auto map = std::make_unique<vantor::MapStore>();
    map->MapWidth = width;
    map->MapHeight = height;
    for (std::size_t i = 0; i < map->bytes.size(); ++i)
        map->bytes[i] = std::uint8_t((i * 37 + i / 251) & 0xFF);
    // Tile sets 0..15 and tiles 0..87 where the map is in use, so that the map draws.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            map->at(vantor::TileSet, x, y) = std::uint8_t((x + 3 * y) % 16);
            map->at(vantor::TileIndex, x, y) = std::uint8_t((7 * x + y) % 88);
        }
    return map;
}

bool SameMap(const vantor::MapStore &a, const vantor::MapStore &b)
{
    return a.MapWidth == b.MapWidth && a.MapHeight == b.MapHeight && a.bytes == b.bytes;
}

} // namespace fuzzing
