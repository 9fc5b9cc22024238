#pragma once

#include "ColorValue.h"

#include <QString>
#include <optional>

namespace dovrel {

// Converts text the way numbers typed by the user are converted everywhere in
// the program: optional leading blanks, an optional sign, then decimal digits,
// or hexadecimal digits behind 0x, 0X, x, X or $. The value must fit 32 bits
// (hexadecimal up to FFFFFFFF, read as a signed 32-bit pattern). Anything else
// gives no value.
std::optional<qint32> StrToInt(const QString &text);

// The message shown when StrToInt refuses a text.
QString InvalidIntegerMessage(const QString &text);

// Reads a background colour from the text of the background edit box. On
// failure returns no value and sets `error` to the message to show.
std::optional<ColorValue> ParseColorText(const QString &text, QString *error);

// Six upper-case hexadecimal digits without prefix (BBGGRR, the digit order
// of the background edit box).
QString ColorHexText(ColorValue color);

} // namespace dovrel
