#pragma once
// The upcoming occurrences of the deadlines, within the horizon, into memodb.eventi.
// No trace and no error handler of their own: a failure reaches the caller's report.
#include "mainwindow/OccurrenceRules.h"
#include "platform/Variant.h"
#include <QDate>
#include <QString>
#include <functional>
#include <vector>

namespace verbanto {

// Rebuilds memodb.eventi over the horizon of the settings and gives its count of rows.
// Showing the count is left to the window that asked.
long long RefreshUpcomingDeadlines();
void GenerateEvents(int horizon);

// One deadline each: start = its datapagamento, id = its pagamentiid.
void GenerateOnce(const platform::Variant& start, const platform::Variant& id, int horizon);
void GenerateDaily(const platform::Variant& start, const platform::Variant& id, int horizon);
void GenerateWeekly(const platform::Variant& start, const platform::Variant& id, int horizon);
void GenerateMonthly(const platform::Variant& start, const platform::Variant& id, int horizon);
void GenerateYearly(const platform::Variant& start, const platform::Variant& id, int horizon);
void GenerateWorkingDays(const platform::Variant& start, const platform::Variant& id, int horizon);

// "Una sola volta" ... "Ogni giorno lavorativo"; empty for a code outside 0 to 5.
// A code that is no number (or Null) fails in the caller.
QString RecurrenceName(const platform::Variant& code);

// The count of the last run (occurrence rows), -1 before the first one.
long long UpcomingCount();

// A deadline the last run left out of the count: its start is no date, or its recurrence code
// is text that is no number. Described as the user finds it in the list.
struct LeftOutDeadline {
    QString description;   // Causale, trimmed; empty when there is none
    QString contact;       // surname and name, empty when the deadline has no contact
};
const std::vector<LeftOutDeadline>& LeftOutDeadlines();

// Today as the engine sees it: the machine's local date, unless a test fixes it.
QDate EngineToday();
void SetEngineClock(std::function<QDate()> today);   // empty = the machine's clock

} // namespace verbanto
