#include "city_file.h"

#include "files/all_or_nothing.h"
#include "files/file_io.h"
#include "files/native_map_file.h"

#include <QCoreApplication>

#include <array>
#include <optional>

namespace vantor {

QByteArray EncodeCities(const CityTable &cities)
{
    QByteArray out;
    for (int row = 1; row < cities.rowCount(); ++row) {
        const QString name = cities.cell(CityTable::NameColumn, row);
        if (name.isEmpty())
            break;
        AppendLine(out, name.toLatin1());
    }
    return out;
}

namespace {

QString tr(const char *text) { return QCoreApplication::translate("CityFile", text); }

LoadResult DecodeCitiesFrom(TextPieceReader &pieces, const MapStore &map, CityTable &cities)
{
    // The last hex, row by row, that carries each place index.
    std::array<std::optional<HexCoord>, 256> lastHex;
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            lastHex[map.at(PlaceIndex, x, y)] = HexCoord{x, y};

    for (int n = 0; !pieces.atEnd(); ++n) {
        if (n == MaxPlaceCount)
            return {LoadResult::Refused,
                    {tr("Cities Not Loaded"), tr("The file holds more than %1 names, more than a map's name list can hold.")
                                                  .arg(MaxPlaceCount)}};
        const TextPiece piece = pieces.next();
        // What was read loses its last character: the line end, when the piece has one.
        const QByteArray name = piece.lineEnded ? piece.text : piece.text.chopped(1);
        const int row = n + 1;
        cities.setCell(CityTable::NumberColumn, row, QString::number(n));
        cities.setCell(CityTable::NameColumn, row, QString::fromLatin1(name));
        if (n < 256 && lastHex[n]) {
            const HexCoord hex = *lastHex[n];
            cities.setCell(CityTable::XColumn, row, QString::number(hex.x));
            cities.setCell(CityTable::YColumn, row, QString::number(hex.y));
            cities.setCell(CityTable::PlaceIndexColumn, row, QString::number(map.at(PlaceIndex, hex.x, hex.y)));
            cities.setCell(CityTable::Attr03Column, row, QString::number(map.at(CityAttr03, hex.x, hex.y)));
            cities.setCell(CityTable::Attr04Column, row, QString::number(map.at(CityAttr04, hex.x, hex.y)));
            cities.setCell(CityTable::Attr16Column, row, QString::number(map.at(CityAttr16, hex.x, hex.y)));
        }
        cities.setRowCount(n + 3);
    }
    return {};
}

LoadResult ReadCities(TextPieceReader &pieces, const MapStore &map, CityTable &cities)
{
    return DecodeAllOrNothing([&](CityTable &copy) { return DecodeCitiesFrom(pieces, map, copy); }, cities);
}

} // namespace

LoadResult DecodeCities(const QByteArray &data, const MapStore &map, CityTable &cities)
{
    TextPieceReader pieces(data, CityLineLength);
    return ReadCities(pieces, map, cities);
}

QString WriteCityFile(const QString &path, const CityTable &cities)
{
    return WriteFileAtomically(path, EncodeCities(cities));
}

LoadResult ReadCityFile(const QString &path, const MapStore &map, CityTable &cities)
{
    const QString refused = tr("Cities Not Loaded");
    TextPieceReader pieces(path, CityLineLength);
    if (!pieces.openError().isEmpty())
        return {LoadResult::Refused, {refused, pieces.openError()}};
    LoadResult result = ReadCities(pieces, map, cities);
    if (const QString error = pieces.readError(); !error.isEmpty())
        return {LoadResult::Refused, {refused, error}};
    if (result.outcome == LoadResult::Refused)
        result.message.text = FileMessage(path, result.message.text);
    return result;
}

} // namespace vantor
