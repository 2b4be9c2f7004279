#include "mainwindow/OccurrenceRules.h"
#include <QTime>
#include <algorithm>

namespace verbanto {

namespace {

bool isWeekend(const QDate& d) { return d.dayOfWeek() >= Qt::Saturday; }

} // namespace

std::vector<QDate> OccurrenceDays(int code, const DeadlineStart& start, const QDate& from, const QDate& to)
{
    std::vector<QDate> days;
    if (!start.day.isValid() || !from.isValid() || !to.isValid())
        return days;
    // Days before the start can't hold an occurrence.
    const QDate first = std::max(from, start.atMidnight ? start.day : start.day.addDays(1));
    if (first > to)
        return days;
    switch (code) {
    case RecurOnce:
        if (start.atMidnight && first == start.day)
            days.push_back(first);
        break;
    case RecurDaily:
        for (QDate d = first; d <= to; d = d.addDays(1))
            days.push_back(d);
        break;
    case RecurWeekly:
        for (QDate d = first.addDays((start.day.dayOfWeek() - first.dayOfWeek() + 7) % 7); d <= to; d = d.addDays(7))
            days.push_back(d);
        break;
    case RecurMonthly:
        for (QDate month(first.year(), first.month(), 1); month <= to; month = month.addMonths(1)) {
            const QDate d(month.year(), month.month(), start.day.day());
            if (d.isValid() && d >= first && d <= to)
                days.push_back(d);
        }
        break;
    case RecurYearly:
        for (int year = first.year(); year <= to.year(); ++year) {
            const QDate d(year, start.day.month(), start.day.day());
            if (d.isValid() && d >= first && d <= to)
                days.push_back(d);
        }
        break;
    case RecurWorkingDays:
        for (QDate d = first; d <= to; d = d.addDays(1))
            if (!isWeekend(d))
                days.push_back(d);
        break;
    default:
        break;
    }
    return days;
}

std::optional<DeadlineStart> ReadStoredStart(QStringView text)
{
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' || text[16] != u':')
        return std::nullopt;
    bool digits = true;
    const auto number = [&](int from, int length) {
        int v = 0;
        for (int i = from; i < from + length; ++i) {
            digits = digits && text[i].isDigit();
            v = v * 10 + text[i].digitValue();
        }
        return v;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!digits || !date.isValid() || !time.isValid())
        return std::nullopt;
    return DeadlineStart{date, time == QTime(0, 0)};
}

} // namespace verbanto
