// The occurrence rules against calendars read off by hand: windows written as a first day and a
// horizon, starts as the stored text, the expected days listed in full.
#include "mainwindow/OccurrenceRules.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace verbanto;

namespace {

struct Case {
    int code;
    const char* start;   // as stored
    const char* from;
    int horizon;         // the window is from .. from + horizon
    std::vector<std::string> days;
};

QDate Day(const char* text) { return QDate::fromString(QString::fromLatin1(text), Qt::ISODate); }

void Check(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "code " << c.code << ", start " << c.start << ", from " << c.from << " over "
                                          << c.horizon << " days");
        const auto start = ReadStoredStart(QString::fromLatin1(c.start));
        ASSERT_TRUE(start.has_value());
        const QDate from = Day(c.from);
        std::vector<std::string> days;
        for (const QDate& d : OccurrenceDays(c.code, *start, from, from.addDays(c.horizon)))
            days.push_back(d.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(days, c.days);
    }
}

TEST(OccurrenceRulesTest, WindowEdgesAndStartTimes)
{
    Check({
        // Horizon 0 is today alone; a negative one is no window at all.
        {RecurDaily, "2024-01-10 00:00:00", "2024-02-25", 0, {"2024-02-25"}},
        {RecurDaily, "2024-01-10 00:00:00", "2024-02-25", -1, {}},
        {RecurWeekly, "2024-02-25 00:00:00", "2024-02-25", -5, {}},
        {RecurOnce, "2024-02-25 00:00:00", "2024-02-25", -1, {}},
        // A start on the last day counts, after it nothing does.
        {RecurDaily, "2024-03-06 00:00:00", "2024-02-25", 10, {"2024-03-06"}},
        {RecurDaily, "2024-03-07 00:00:00", "2024-02-25", 10, {}},
        {RecurYearly, "2023-12-31 00:00:00", "2023-12-31", 0, {"2023-12-31"}},
        // A start after midnight counts from the next day on.
        {RecurDaily, "2024-03-06 10:30:00", "2024-02-25", 10, {}},
        {RecurDaily, "2024-02-28 10:30:00", "2024-02-25", 10,
         {"2024-02-29", "2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04", "2024-03-05", "2024-03-06"}},
        {RecurDaily, "2023-12-30 00:00:01", "2023-12-29", 4, {"2023-12-31", "2024-01-01", "2024-01-02"}},
        {RecurWorkingDays, "2024-02-24 23:59:59", "2024-02-24", 2, {"2024-02-26"}},
        // Once: only its own midnight inside the window.
        {RecurOnce, "2024-02-25 00:00:00", "2024-02-25", 10, {"2024-02-25"}},
        {RecurOnce, "2024-03-06 00:00:00", "2024-02-25", 10, {"2024-03-06"}},
        {RecurOnce, "2024-02-24 00:00:00", "2024-02-25", 10, {}},
        {RecurOnce, "2024-03-07 00:00:00", "2024-02-25", 10, {}},
        {RecurOnce, "2024-02-27 09:00:00", "2024-02-25", 10, {}},
        // Codes that name no rule.
        {-1, "2024-01-01 00:00:00", "2024-02-25", 10, {}},
        {6, "2024-01-01 00:00:00", "2024-02-25", 10, {}},
    });
}

TEST(OccurrenceRulesTest, MonthEndsAndTheTwentyNinthOfFebruary)
{
    Check({
        // Daily runs through 29 February in a leap year and straight to 1 March otherwise.
        {RecurDaily, "2024-01-10 00:00:00", "2024-02-27", 3, {"2024-02-27", "2024-02-28", "2024-02-29", "2024-03-01"}},
        {RecurDaily, "2022-01-10 00:00:00", "2023-02-27", 2, {"2023-02-27", "2023-02-28", "2023-03-01"}},
        // Monthly days are never moved: no 31st in 30-day months, no 30th or 29th in a short February.
        {RecurMonthly, "2024-01-31 00:00:00", "2024-03-25", 40, {"2024-03-31"}},
        {RecurMonthly, "2023-01-31 00:00:00", "2024-01-01", 365,
         {"2024-01-31", "2024-03-31", "2024-05-31", "2024-07-31", "2024-08-31", "2024-10-31", "2024-12-31"}},
        {RecurMonthly, "2023-12-30 00:00:00", "2024-01-25", 40, {"2024-01-30"}},
        {RecurMonthly, "2023-12-29 00:00:00", "2024-01-25", 40, {"2024-01-29", "2024-02-29"}},
        {RecurMonthly, "2022-06-29 00:00:00", "2023-01-25", 40, {"2023-01-29"}},
        {RecurMonthly, "2024-02-29 00:00:00", "2024-02-01", 120, {"2024-02-29", "2024-03-29", "2024-04-29", "2024-05-29"}},
        {RecurMonthly, "2024-01-31 10:00:00", "2024-01-01", 70, {}},
        {RecurMonthly, "2024-01-31 10:00:00", "2024-01-01", 90, {"2024-03-31"}},
        // Yearly on 29 February only in leap years; yearly windows across the new year.
        {RecurYearly, "2020-02-29 00:00:00", "2024-02-20", 20, {"2024-02-29"}},
        {RecurYearly, "2020-02-29 00:00:00", "2023-02-20", 20, {}},
        {RecurYearly, "2020-02-29 00:00:00", "2023-01-01", 800, {"2024-02-29"}},
        {RecurYearly, "2019-12-25 00:00:00", "2023-12-20", 400, {"2023-12-25", "2024-12-25"}},
        {RecurYearly, "2024-03-01 00:00:00", "2024-02-20", 400, {"2024-03-01", "2025-03-01"}},
    });
}

TEST(OccurrenceRulesTest, WeekdaysAndWeekends)
{
    Check({
        // Weekly from a start inside the window (a Tuesday), from one long past (a Sunday), and
        // from a Tuesday after midnight: the first Tuesday is the next one.
        {RecurWeekly, "2024-01-30 00:00:00", "2024-01-25", 30, {"2024-01-30", "2024-02-06", "2024-02-13", "2024-02-20"}},
        {RecurWeekly, "2023-11-05 00:00:00", "2024-01-25", 30, {"2024-01-28", "2024-02-04", "2024-02-11", "2024-02-18"}},
        {RecurWeekly, "2024-01-30 12:00:00", "2024-01-25", 30, {"2024-02-06", "2024-02-13", "2024-02-20"}},
        {RecurWeekly, "2023-12-02 00:00:00", "2023-12-28", 10, {"2023-12-30", "2024-01-06"}},
        // Working days: Monday to Friday, no holidays, also across the new year.
        {RecurWorkingDays, "2024-01-01 00:00:00", "2024-03-01", 6, {"2024-03-01", "2024-03-04", "2024-03-05", "2024-03-06", "2024-03-07"}},
        {RecurWorkingDays, "2024-01-01 00:00:00", "2024-03-02", 1, {}},
        {RecurWorkingDays, "2020-01-01 00:00:00", "2024-12-27", 6, {"2024-12-27", "2024-12-30", "2024-12-31", "2025-01-01", "2025-01-02"}},
        {RecurWorkingDays, "2024-03-06 00:00:00", "2024-03-01", 9, {"2024-03-06", "2024-03-07", "2024-03-08"}},
    });
}

TEST(OccurrenceRulesTest, StoredStartText)
{
    struct Text {
        const char* text;
        const char* day;   // nullptr: not a stored start
        bool atMidnight;
    };
    const Text texts[] = {
        {"2024-02-28 00:00:00", "2024-02-28", true},   {"2024-02-28 10:30:00", "2024-02-28", false},
        {"2024-02-28 00:00:01", "2024-02-28", false},  {"2024-02-29 00:00:00", "2024-02-29", true},
        {"2023-02-29 00:00:00", nullptr, false},       {"2024-02-30 00:00:00", nullptr, false},
        {"2024-02-28 24:00:00", nullptr, false},       {"2024-02-28", nullptr, false},
        {"2024-02-28T00:00:00", nullptr, false},       {"28/02/2024 00:00:00", nullptr, false},
        {"abcd-02-28 00:00:00", nullptr, false},       {"2024-02-28 00:00:00 ", nullptr, false},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.text);
        const auto start = ReadStoredStart(QString::fromLatin1(t.text));
        if (!t.day) {
            EXPECT_FALSE(start.has_value());
            continue;
        }
        ASSERT_TRUE(start.has_value());
        EXPECT_EQ(start->day, Day(t.day));
        EXPECT_EQ(start->atMidnight, t.atMidnight);
    }
}

} // namespace
