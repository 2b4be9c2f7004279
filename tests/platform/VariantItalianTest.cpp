// Value conversions and Italian dates and numbers.
#include "platform/Italian.h"
#include "platform/Variant.h"
#include "platform/VbError.h"
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

static long errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.Number;
    }
    return 0;
}

TEST(VariantTest, ConversionsAndTheirFailures)
{
    EXPECT_EQ(Variant().Text(), "");
    EXPECT_EQ(Variant(42).Text(), "42");
    EXPECT_EQ(Variant(2.5).Text(), "2.5");
    EXPECT_EQ(Variant("12").CInt(), 12);
    EXPECT_EQ(Variant(2.5).CInt(), 2);     // halves to even
    EXPECT_EQ(Variant(3.5).CInt(), 4);
    EXPECT_EQ(errorOf([] { Variant(40000).CInt(); }), 6);
    EXPECT_EQ(Variant(40000).CLng(), 40000);
    EXPECT_EQ(errorOf([] { Variant(3e9).CLng(); }), 6);
    EXPECT_EQ(errorOf([] { Variant("abc").CDbl(); }), 13);
    EXPECT_EQ(errorOf([] { Variant().CInt(); }), 94);
    EXPECT_EQ(errorOf([] { Variant().CStr(); }), 94);
    EXPECT_TRUE(Variant("1,5").IsNumeric());
    EXPECT_FALSE(Variant("1a").IsNumeric());
    EXPECT_DOUBLE_EQ(Variant("1.234,50").CDbl(), 1234.5);
}

TEST(ItalianTest, DatesAsAnItalianUserTypesThem)
{
    EXPECT_EQ(*ParseDate("05/01/2027"), QDate(2027, 1, 5));
    EXPECT_EQ(*ParseDate("5-1-27"), QDate(2027, 1, 5));
    EXPECT_EQ(*ParseDate("5.1.1999"), QDate(1999, 1, 5));
    EXPECT_EQ(*ParseDate("2027-01-05 00:00:00"), QDate(2027, 1, 5));
    EXPECT_EQ(*ParseDate("29/02/2024"), QDate(2024, 2, 29));
    EXPECT_FALSE(ParseDate("29/02/2023"));
    EXPECT_FALSE(ParseDate("31/04/2024"));
    EXPECT_FALSE(ParseDate("oggi"));
    EXPECT_FALSE(ParseDate(""));
    EXPECT_EQ(ParseDateTime("05/01/2027 14:30")->time(), QTime(14, 30));
    EXPECT_EQ(FormatShortDate(QDate(2026, 12, 9)), "09/12/2026");
    EXPECT_EQ(DateSerial(QDate(1899, 12, 31)), 1);
}

TEST(ItalianTest, AWholeDateTypedIntoADateField)
{
    EXPECT_EQ(*ParseTypedDate("11/12/2026"), QDate(2026, 12, 11));
    EXPECT_EQ(*ParseTypedDate("11122026"), QDate(2026, 12, 11));
    EXPECT_EQ(*ParseTypedDate("111226"), QDate(2026, 12, 11));
    EXPECT_EQ(*ParseTypedDate("1-2-27"), QDate(2027, 2, 1));
    EXPECT_EQ(*ParseTypedDate("3.4.1999"), QDate(1999, 4, 3));
    EXPECT_FALSE(ParseTypedDate("31022026"));      // no thirty-first of February
    EXPECT_FALSE(ParseTypedDate("1122026"));       // seven digits: which is the day?
    // A day and month alone: that day of the current year; no day that this year has not.
    EXPECT_EQ(*ParseTypedDate("11/12"), QDate(QDate::currentDate().year(), 12, 11));
    EXPECT_EQ(*ParseTypedDate("1-2"), QDate(QDate::currentDate().year(), 2, 1));
    EXPECT_EQ(ParseTypedDate("29/02").has_value(), QDate::isLeapYear(QDate::currentDate().year()));
    EXPECT_FALSE(ParseTypedDate("31/11"));
    EXPECT_FALSE(ParseTypedDate("11/12/2026 10:30"));
    EXPECT_FALSE(ParseTypedDate(""));
}

TEST(ItalianTest, NumbersTheItalianWay)
{
    EXPECT_EQ(FormatNumber(1234.5, 2), "1.234,50");
    EXPECT_EQ(FormatNumber(-0.5, 2), "-0,50");
    EXPECT_DOUBLE_EQ(*ParseNumber("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(*ParseNumber("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(*ParseNumber("1.234.567,5"), 1234567.5);
    EXPECT_FALSE(ParseNumber("1,2,3"));
    EXPECT_FALSE(ParseNumber("dodici"));
}
