#pragma once
// Strict conversion of numbers typed by the user: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits behind 0x, 0X, x, X or $. Nothing may follow the digits.

#include <QString>
#include <QStringView>

#include <optional>

namespace vantor {

// The value, or nothing when the text is not a number or does not fit in 32 bits
// (hexadecimal takes any 32-bit pattern, so $FFFFFFFF is -1).
std::optional<int> ParseInteger(QStringView text);

// "'<text>' is not a valid integer value"
QString InvalidIntegerMessage(const QString &text);

} // namespace vantor
