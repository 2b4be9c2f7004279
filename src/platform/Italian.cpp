#include "platform/Italian.h"
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace platform {

namespace {
const QLocale& italian()
{
    static const QLocale loc(QLocale::Italian, QLocale::Italy);
    return loc;
}

int fullYear(int y, int digits)
{
    if (digits > 2)
        return y;
    // Two-digit years: 00-29 are this century, 30-99 the last one, as the platform reads them.
    return y < 30 ? 2000 + y : 1900 + y;
}
} // namespace

std::optional<QDateTime> ParseDateTime(const QString& input)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const QRegularExpression stored(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    static const QRegularExpression typed(
        QStringLiteral("^(\\d{1,2})[/\\-.](\\d{1,2})[/\\-.](\\d{2}|\\d{4})(?:\\s+(\\d{1,2})[:.](\\d{2})(?:[:.](\\d{2}))?)?$"));
    int y, m, d;
    QRegularExpressionMatch mt = stored.match(text);
    if (mt.hasMatch()) {
        y = mt.captured(1).toInt();
        m = mt.captured(2).toInt();
        d = mt.captured(3).toInt();
    } else {
        mt = typed.match(text);
        if (!mt.hasMatch())
            return std::nullopt;
        d = mt.captured(1).toInt();
        m = mt.captured(2).toInt();
        y = fullYear(mt.captured(3).toInt(), mt.captured(3).size());
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0, 0);
    if (!mt.captured(4).isEmpty()) {
        time = QTime(mt.captured(4).toInt(), mt.captured(5).toInt(), mt.captured(6).isEmpty() ? 0 : mt.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    // Universal time: a day whose local midnight the clocks skip is still a day.
    return QDateTime(date, time, Qt::UTC);
}

std::optional<QDate> ParseDate(const QString& text)
{
    if (auto dt = ParseDateTime(text))
        return dt->date();
    return std::nullopt;
}

std::optional<QDate> ParseTypedDate(const QString& input)
{
    const QString text = input.trimmed();
    static const QRegularExpression digitsOnly(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2}|\\d{4})$"));
    const QRegularExpressionMatch m = digitsOnly.match(text);
    if (m.hasMatch())
        return ParseDate(m.captured(1) + QLatin1Char('/') + m.captured(2) + QLatin1Char('/') + m.captured(3));
    // A day and month alone: that day of the current year.
    static const QRegularExpression dayAndMonth(QStringLiteral("^(\\d{1,2})[/\\-.](\\d{1,2})$"));
    const QRegularExpressionMatch dm = dayAndMonth.match(text);
    if (dm.hasMatch()) {
        const QDate d(QDate::currentDate().year(), dm.captured(2).toInt(), dm.captured(1).toInt());
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    if (text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char(':')))
        return std::nullopt;
    return ParseDate(text);
}

QString FormatShortDate(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }
QString FormatTime(const QTime& t) { return t.toString(QStringLiteral("HH:mm:ss")); }

QString FormatNumber(double v, int decimals) { return italian().toString(v, 'f', decimals); }

std::optional<double> ParseNumber(const QString& input)
{
    QString t = input.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    static const QRegularExpression italianForm(QStringLiteral("^[+-]?(\\d{1,3}(\\.\\d{3})+|\\d+)(,\\d+)?$"));
    static const QRegularExpression plainForm(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (t.contains(QLatin1Char(',')) || (italianForm.match(t).hasMatch() && t.count(QLatin1Char('.')) > 1)) {
        if (!italianForm.match(t).hasMatch())
            return std::nullopt;
        t.remove(QLatin1Char('.'));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (!plainForm.match(t).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double DateSerial(const QDate& d) { return static_cast<double>(QDate(1899, 12, 30).daysTo(d)); }

} // namespace platform
