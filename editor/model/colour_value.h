#pragma once
// Colours are kept as 0x00BBGGRR: red in the low byte, then green, then blue.

#include <QColor>
#include <cstdint>

namespace vantor {

using ColourValue = std::uint32_t;

// The map picture's background until the user picks another.
inline constexpr ColourValue DefaultBackgroundColour = 0x38b8a0;

inline QColor ToQColor(ColourValue value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline ColourValue FromQColor(const QColor &colour)
{
    return ColourValue(colour.red()) | ColourValue(colour.green()) << 8 | ColourValue(colour.blue()) << 16;
}

} // namespace vantor
