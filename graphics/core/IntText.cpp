#include "IntText.h"

namespace dovrel {

std::optional<qint32> StrToInt(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    } else if (i < n && (text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        base = 16;
        ++i;
    }
    if (i >= n)
        return std::nullopt;

    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 value = 0;
    for (; i < n; ++i) {
        const QChar ch = text[i];
        int digit;
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            digit = ch.unicode() - '0';
        else if (base == 16 && ch >= QLatin1Char('a') && ch <= QLatin1Char('f'))
            digit = ch.unicode() - 'a' + 10;
        else if (base == 16 && ch >= QLatin1Char('A') && ch <= QLatin1Char('F'))
            digit = ch.unicode() - 'A' + 10;
        else
            return std::nullopt;
        value = value * quint64(base) + quint64(digit);
        if (value > limit)
            return std::nullopt;
    }
    const quint32 bits = quint32(value);
    const qint32 result = negative ? qint32(0u - bits) : qint32(bits);
    return result;
}

QString InvalidIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

std::optional<ColorValue> ParseColorText(const QString &text, QString *error)
{
    const std::optional<qint32> value = StrToInt(text);
    if (!value) {
        if (error)
            *error = InvalidIntegerMessage(text);
        return std::nullopt;
    }
    if (*value < 0 || *value > 0xFFFFFF) {
        if (error)
            *error = QStringLiteral("'%1' is not a valid colour: use 0x000000 to 0xFFFFFF (blue, green, red)").arg(text);
        return std::nullopt;
    }
    return ColorValue(*value);
}

QString ColorHexText(ColorValue color)
{
    return QStringLiteral("%1").arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace dovrel
