// The tile-set bitmap the redraw reads, fed any bytes as the file, then a redraw of a small map that
// takes all its tiles from that set, so that the drawing meets pictures of any size.

#include "fuzz_support.h"

#include "render/map_renderer.h"
#include "render/tile_set_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QString path = fuzzing::ScratchPath(QStringLiteral("SET03m.BMP"));
    fuzzing::WriteScratchFile(path, fuzzing::Bytes(data, size));

    const QImage image = vantor::ReadTileSetImage(path);
    if (image.isNull())
        return 0;
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);

    // A 5 x 4 map on set 3 whose tiles run through 0..87 and a few past the set's last tile.
    static const auto map = [] {
        auto m = fuzzing::PatternMap(5, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                m->at(vantor::TileSet, x, y) = 3;
                m->at(vantor::TileIndex, x, y) = std::uint8_t((x * 4 + y) * 23 % 256);
            }
        m->at(vantor::TileIndex, 0, 0) = 0;
        m->at(vantor::TileIndex, 4, 3) = 87;
        return m;
    }();
    vantor::MapTileSets sets;
    sets.images[3] = image;
    QImage picture = vantor::NewMapPicture(*map);
    FUZZ_CHECK(!picture.isNull());
    vantor::DrawMap(*map, sets, 0x00808080, picture);
    // A band of the picture, as the strip-wise export draws it.
    QImage band(picture.width(), 17, QImage::Format_RGB32);
    vantor::DrawMap(*map, sets, 0x00808080, band, 40);
    return 0;
}
