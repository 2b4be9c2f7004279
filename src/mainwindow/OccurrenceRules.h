#pragma once
// Which days of a window a deadline falls on. Dates only: no database, no windows, no state.
#include <QDate>
#include <QStringView>
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

// The days of [from, to], in order, on which a deadline with this recurrence code and start
// falls. Empty for a code outside 0 to 5 and when to is before from. Month ends are never
// adjusted: the 31st has no day in a 30-day month, 29 February only in leap years.
std::vector<QDate> OccurrenceDays(int code, const DeadlineStart& start, const QDate& from, const QDate& to);

// The start as stored, "YYYY-MM-DD HH:MM:SS"; nothing for any other text or an impossible date.
std::optional<DeadlineStart> ReadStoredStart(QStringView text);

} // namespace verbanto
