#include "shared/SqlLiteral.h"
#include "shared/basRegistering.h"
#include <charconv>
#include <cmath>

namespace verbanto {

QString WithoutNul(const QString& text)
{
    if (!text.contains(QChar(u'\0')))
        return text;
    QString s = text;
    s.remove(QChar(u'\0'));
    return s;
}

QString SqlEscape(const QString& text)
{
    QString s = WithoutNul(text);
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return s;
}

QString SqlText(const QString& text) { return QLatin1Char('\'') + SqlEscape(text) + QLatin1Char('\''); }

QString SqlTextOrNull(const QString& text)
{
    const QString s = SqlEscape(text);
    return s.isEmpty() ? SqlNull() : QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString SqlNumber(double value)
{
    if (std::isnan(value))
        return SqlNull();
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("9e999") : QStringLiteral("-9e999");   // SQLite reads these as infinities
    // The fewest digits that give back the same double, never with an exponent: whole numbers
    // come out as plain digits, which SQL reads as exact integers.
    if (value == 0)
        return QStringLiteral("0");   // also for -0
    char buffer[400];   // the longest double in fixed form has 309 digits before the point, 326 after
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString SqlDate(const QDate& date)
{
    return date.isValid() ? QLatin1Char('\'') + FormattaData(date) + QLatin1Char('\'') : SqlNull();
}

QString SqlDateTime(const QDateTime& moment) { return QLatin1Char('\'') + FormattaData(moment) + QLatin1Char('\''); }

QString SqlNull() { return QStringLiteral("Null"); }

} // namespace verbanto
