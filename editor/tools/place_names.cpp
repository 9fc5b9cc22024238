#include "place_names.h"

#include "model/integer_text.h"

#include <QCoreApplication>

#include <optional>

namespace vantor {

namespace {

// A coordinate cell: empty reads as 0, anything else must be a number.
std::optional<int> CoordinateOf(const QString &text, QString &error)
{
    if (text.isEmpty())
        return 0;
    const std::optional<int> value = ParseInteger(text);
    if (!value)
        error = InvalidIntegerMessage(text);
    return value;
}

void SetNoPlace(MapStore &map, int x, int y)
{
    map.at(PlaceIndex, x, y) = 255;
    map.at(PlaceIndexHigh, x, y) = 127;
}

bool IsCityRow(const CityTable &cities, int row) { return row >= 1 && row < cities.rowCount(); }

} // namespace

QString SetPlaceReference(MapStore &map, HexCoord hex, int place)
{
    if (place < 0 || place >= NoPlace)
        return QCoreApplication::translate("PlaceNames", "Place %1 cannot be written to a hex: a hex refers to places 0 to %2.")
            .arg(place).arg(NoPlace - 1);
    map.at(PlaceIndex, hex.x, hex.y) = std::uint8_t(place & 0xFF);
    map.at(PlaceIndexHigh, hex.x, hex.y) = std::uint8_t(place >> 8);
    return {};
}

QString ApplyPlaceCoordinates(MapStore &map, const PlaceTable &places)
{
    for (int row = 1; row < places.rowCount(); ++row) {
        QString error;
        const std::optional<int> x = CoordinateOf(places.cell(PlaceTable::XColumn, row), error);
        if (!x)
            return error;
        const std::optional<int> y = CoordinateOf(places.cell(PlaceTable::YColumn, row), error);
        if (!y)
            return error;
        if ((*x == 0 && *y == 0) || !IsOnMap(map, *x, *y))
            continue;
        if (QString refused = SetPlaceReference(map, {*x, *y}, row - 1); !refused.isEmpty())
            return refused;
    }
    return {};
}

QString DeletePlaceReferences(MapStore &map, PlaceTable &places, int row)
{
    for (const int column : {int(PlaceTable::XColumn), int(PlaceTable::YColumn)}) {
        const QString text = places.cell(column, row);
        if (!ParseInteger(text))
            return InvalidIntegerMessage(text);
    }
    const int x = *ParseInteger(places.cell(PlaceTable::XColumn, row));
    const int y = *ParseInteger(places.cell(PlaceTable::YColumn, row));
    if (IsOnMap(map, x, y)) {
        // Both bytes of the reference; the high byte 127 of a hex without a place reads as 0.
        const std::uint8_t low = map.at(PlaceIndex, x, y);
        const std::uint8_t high = map.at(PlaceIndexHigh, x, y) == 127 ? 0 : map.at(PlaceIndexHigh, x, y);
        for (int hy = 0; hy < map.MapHeight; ++hy)
            for (int hx = 0; hx < map.MapWidth; ++hx)
                if (map.at(PlaceIndex, hx, hy) == low && map.at(PlaceIndexHigh, hx, hy) == high)
                    SetNoPlace(map, hx, hy);
    }
    places.setCell(PlaceTable::XColumn, row, {});
    places.setCell(PlaceTable::YColumn, row, {});
    return {};
}

void ClearPlaceReferences(MapStore &map, PlaceTable &places)
{
    for (int y = 0; y < map.MapHeight; ++y)
        for (int x = 0; x < map.MapWidth; ++x)
            SetNoPlace(map, x, y);
    for (int row = 1; row < places.rowCount(); ++row) {
        places.setCell(PlaceTable::XColumn, row, {});
        places.setCell(PlaceTable::YColumn, row, {});
    }
}

QString CaptionHexWithCity(MapStore &map, CityTable &cities, int row, HexCoord hex)
{
    if (!IsCityRow(cities, row))
        return {};
    if (const int city = row - 1; city > LastCity)
        return QCoreApplication::translate("PlaceNames", "City %1 cannot caption a hex: a hex holds cities 0 to %2 "
                                                         "(%3 means no city).")
            .arg(city).arg(LastCity).arg(LastCity + 1);
    map.at(PlaceIndex, hex.x, hex.y) = std::uint8_t(row - 1);
    map.at(PlaceIndexHigh, hex.x, hex.y) = 0;
    const std::pair<int, Plane> attributes[] = {
        {CityTable::Attr03Column, CityAttr03}, {CityTable::Attr04Column, CityAttr04}, {CityTable::Attr16Column, CityAttr16}};
    for (const auto &[column, plane] : attributes) {
        const QString text = cities.cell(column, row);
        const std::optional<int> value = ParseInteger(text);
        if (!value)
            return InvalidIntegerMessage(text);
        map.at(plane, hex.x, hex.y) = std::uint8_t(*value & 0xFF);
    }
    cities.setCell(CityTable::XColumn, row, QString::number(hex.x));
    cities.setCell(CityTable::YColumn, row, QString::number(hex.y));
    return {};
}

void ClearCityHex(MapStore &map, CityTable &cities, int row, HexCoord hex)
{
    if (!IsCityRow(cities, row))
        return;
    SetNoPlace(map, hex.x, hex.y);
    map.at(CityAttr03, hex.x, hex.y) = 0;
    map.at(CityAttr04, hex.x, hex.y) = 0;
    map.at(CityAttr16, hex.x, hex.y) = 255;
    cities.setCell(CityTable::XColumn, row, {});
    cities.setCell(CityTable::YColumn, row, {});
}

QStringList HexNames(const MapStore &map, const MapTables &tables, HexCoord hex)
{
    QStringList names;
    const int place = map.at(PlaceIndex, hex.x, hex.y);
    if (place == 255)
        return names;
    if (tables.homemade)
        names << tables.places.cell(PlaceTable::NameColumn, place + 1);
    if (tables.citiesLoaded)
        names << QStringLiteral("%1 %2").arg(tables.cities.cell(CityTable::NameColumn, place + 1),
                                             tables.cities.cell(CityTable::NumberColumn, place + 1));
    return names;
}

} // namespace vantor
