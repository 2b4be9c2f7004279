#pragma once
// Which days of a window a deadline falls on. Dates only: no database, no windows, no state.
#include <QByteArrayView>
#include <QDate>
#include <QStringView>
#include <algorithm>
#include <optional>
#include <vector>

namespace verbanto {

// Recurrence codes held in Pagamenti.Importo.
constexpr int RecurOnce = 0;
constexpr int RecurDaily = 1;
constexpr int RecurWeekly = 2;
constexpr int RecurMonthly = 3;
constexpr int RecurYearly = 4;
constexpr int RecurWorkingDays = 5;

// When a deadline starts. A start later than midnight counts from the following day on and
// never equals a day of the window.
struct DeadlineStart {
    QDate day;
    bool atMidnight = true;
};

// Calls hit(n), in order, for each day from + n of [from, to] on which a deadline with this
// recurrence code and start falls. Nothing for a code outside 0 to 5 and when to is before
// from. Month ends are never adjusted: the 31st has no day in a 30-day month, 29 February only
// in leap years.
template <class Hit> void ForEachOccurrence(int code, const DeadlineStart& start, const QDate& from, const QDate& to, Hit&& hit);

// The same days as dates.
std::vector<QDate> OccurrenceDays(int code, const DeadlineStart& start, const QDate& from, const QDate& to);

// The start as stored, "YYYY-MM-DD HH:MM:SS"; nothing for any other text or an impossible date.
std::optional<DeadlineStart> ReadStoredStart(QStringView text);
std::optional<DeadlineStart> ReadStoredStart(QByteArrayView utf8);

template <class Hit> void ForEachOccurrence(int code, const DeadlineStart& start, const QDate& from, const QDate& to, Hit&& hit)
{
    if (!start.day.isValid() || !from.isValid() || !to.isValid())
        return;
    // Days before the start can't hold an occurrence.
    const QDate firstDay = std::max(from, start.atMidnight ? start.day : start.day.addDays(1));
    if (firstDay > to)
        return;
    const int first = static_cast<int>(from.daysTo(firstDay));
    const int last = static_cast<int>(from.daysTo(to));
    switch (code) {
    case RecurOnce:
        if (start.atMidnight && firstDay == start.day)
            hit(first);
        break;
    case RecurDaily:
        for (int n = first; n <= last; ++n)
            hit(n);
        break;
    case RecurWeekly:
        for (int n = first + (start.day.dayOfWeek() - firstDay.dayOfWeek() + 7) % 7; n <= last; n += 7)
            hit(n);
        break;
    case RecurMonthly:
        for (QDate month(firstDay.year(), firstDay.month(), 1); month <= to; month = month.addMonths(1)) {
            const QDate d(month.year(), month.month(), start.day.day());
            if (d.isValid() && d >= firstDay && d <= to)
                hit(static_cast<int>(from.daysTo(d)));
        }
        break;
    case RecurYearly:
        for (int year = firstDay.year(); year <= to.year(); ++year) {
            const QDate d(year, start.day.month(), start.day.day());
            if (d.isValid() && d >= firstDay && d <= to)
                hit(static_cast<int>(from.daysTo(d)));
        }
        break;
    case RecurWorkingDays:
        // Monday 1 .. Sunday 7.
        for (int n = first, weekday = firstDay.dayOfWeek(); n <= last; ++n, weekday = weekday % 7 + 1)
            if (weekday < Qt::Saturday)
                hit(n);
        break;
    default:
        break;
    }
}

} // namespace verbanto
