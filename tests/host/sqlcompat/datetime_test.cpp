#include "host/sqlcompat/datetime.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantik::sqlcompat;

namespace {

DateTimeValue dt(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return DateTimeValue{y, mo, d, h, mi, s, ms};
}

// The storage form of what the string reads as, or "unreadable" / "out of range".
std::string readAs(const std::string& text)
{
    const DateParseResult r = parseSqlServerDateTime(text);
    switch (r.status) {
    case DateParseStatus::Ok:
        return toStorageText(r.value);
    case DateParseStatus::OutOfRange:
        return "out of range";
    case DateParseStatus::Unreadable:
        break;
    }
    return "unreadable";
}

} // namespace

TEST(SqlServerDateParse, AcceptsEachDateShape)
{
    // Numeric month/day/year, any of the three separators, zero padding optional.
    EXPECT_EQ(readAs("01/05/2024"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("1/5/2024"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("1-5-2024"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("12.31.2023"), "2023-12-31 00:00:00.000");
    // A four-digit first number is the year.
    EXPECT_EQ(readAs("2024-01-05"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("2024/1/5"), "2024-01-05 00:00:00.000");
    // Unseparated.
    EXPECT_EQ(readAs("20240105"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("240105"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("2024"), "2024-01-01 00:00:00.000");
    // ISO 8601 with the T.
    EXPECT_EQ(readAs("2024-01-05T09:07:30"), "2024-01-05 09:07:30.000");
    EXPECT_EQ(readAs("2024-01-05T09:07:30.12"), "2024-01-05 09:07:30.120");
    // Alphabetic: month anywhere, commas optional, case ignored, missing day is the 1st.
    EXPECT_EQ(readAs("Jan 5 2024"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("January 5, 2024"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("5 JAN 2024"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("2024 jan 5"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(readAs("Jan 2024"), "2024-01-01 00:00:00.000");
    EXPECT_EQ(readAs("Jan 5, 24"), "2024-01-05 00:00:00.000");
    // Blanks around are ignored.
    EXPECT_EQ(readAs("   01/05/2024  "), "2024-01-05 00:00:00.000");
}

TEST(SqlServerDateParse, TwoDigitYearsUseThe2049Cutoff)
{
    EXPECT_EQ(readAs("1/5/49"), "2049-01-05 00:00:00.000");
    EXPECT_EQ(readAs("1/5/50"), "1950-01-05 00:00:00.000");
    EXPECT_EQ(readAs("1/5/00"), "2000-01-05 00:00:00.000");
    EXPECT_EQ(readAs("991231"), "1999-12-31 00:00:00.000");
}

TEST(SqlServerDateParse, ReadsTimesWithAndWithoutMeridiem)
{
    EXPECT_EQ(readAs("01/05/2024 9:07"), "2024-01-05 09:07:00.000");
    EXPECT_EQ(readAs("01/05/2024 14:30:20"), "2024-01-05 14:30:20.000");
    EXPECT_EQ(readAs("01/05/2024 9:07AM"), "2024-01-05 09:07:00.000");
    EXPECT_EQ(readAs("01/05/2024 9:07 pm"), "2024-01-05 21:07:00.000");
    EXPECT_EQ(readAs("01/05/2024 4 PM"), "2024-01-05 16:00:00.000");
    EXPECT_EQ(readAs("01/05/2024 12:01AM"), "2024-01-05 00:01:00.000");
    EXPECT_EQ(readAs("01/05/2024 12:01"), "2024-01-05 12:01:00.000");
    EXPECT_EQ(readAs("01/05/2024 12:01 PM"), "2024-01-05 12:01:00.000");
    EXPECT_EQ(readAs("01/05/2024 13:00 PM"), "2024-01-05 13:00:00.000");
    EXPECT_EQ(readAs("2024-01-05 09:07:30.5"), "2024-01-05 09:07:30.500");
    EXPECT_EQ(readAs("20240105 09:07"), "2024-01-05 09:07:00.000");
    EXPECT_EQ(readAs("Jan  5 2024  9:07AM"), "2024-01-05 09:07:00.000");
    EXPECT_EQ(readAs("Jan 5 2024 9 PM"), "2024-01-05 21:00:00.000");
    // A time alone is on 1900-01-01.
    EXPECT_EQ(readAs("9:07"), "1900-01-01 09:07:00.000");
    EXPECT_EQ(readAs("4am"), "1900-01-01 04:00:00.000");
}

TEST(SqlServerDateParse, MillisecondsFollowDatetimePrecision)
{
    // After a colon the digits are thousandths, after a period a fraction.
    EXPECT_EQ(readAs("01/01/2000 14:30:20:1"), "2000-01-01 14:30:20.000");
    EXPECT_EQ(readAs("01/01/2000 14:30:20.1"), "2000-01-01 14:30:20.100");
    EXPECT_EQ(readAs("01/01/2000 04:30:20:500 AM"), "2000-01-01 04:30:20.500");
    // datetime counts 1/300 s: .002 -> .003, .005 -> .007, .999 -> next second.
    EXPECT_EQ(readAs("01/01/2000 14:30:20.002"), "2000-01-01 14:30:20.003");
    EXPECT_EQ(readAs("01/01/2000 14:30:20.005"), "2000-01-01 14:30:20.007");
    EXPECT_EQ(readAs("01/01/2000 14:30:20:999"), "2000-01-01 14:30:21.000");
    EXPECT_EQ(readAs("12/31/2023 23:59:59.999"), "2024-01-01 00:00:00.000");
    EXPECT_EQ(readAs("12/31/9999 23:59:59.999"), "out of range");
}

TEST(SqlServerDateParse, ImpossibleDatesOfReadableShapeAreOutOfRange)
{
    EXPECT_EQ(readAs("02/30/2024"), "out of range");
    EXPECT_EQ(readAs("13/01/2024"), "out of range");
    EXPECT_EQ(readAs("00/10/2024"), "out of range");
    EXPECT_EQ(readAs("2024-13-01"), "out of range");
    EXPECT_EQ(readAs("20240230"), "out of range");
    EXPECT_EQ(readAs("Feb 30 2024"), "out of range");
    EXPECT_EQ(readAs("12/31/1752"), "out of range");
    EXPECT_EQ(readAs("02/30/2024 10:00"), "out of range");
    EXPECT_EQ(parseSqlServerDateTime("13/01/2024").message(), std::string(kDateOutOfRangeMessage));
}

TEST(SqlServerDateParse, LeapYears)
{
    EXPECT_EQ(readAs("02/29/2024"), "2024-02-29 00:00:00.000");
    EXPECT_EQ(readAs("02/29/2000"), "2000-02-29 00:00:00.000");
    EXPECT_EQ(readAs("02/29/2023"), "out of range");
    EXPECT_EQ(readAs("02/29/1900"), "out of range");
}

TEST(SqlServerDateParse, EverythingElseIsUnreadable)
{
    for (const char* text : {"", "   ", "abc", "2024-13", "01/05/2024 25:00", "01/05/2024 10:60", "01/05/2024 0 PM",
                             "01/05/2024 13:00 AM", "01/05", "01/05-2024", "001/05/2024", "1/5/024", "2024-01-05T09:07",
                             "2024-01-05T09:07:30.1234", "14", "12345", "Jan 5", "Jan 5 2024 foo", "Smarch 5 2024",
                             "01/05/2024x", "01/05/2024 9:07 XM", "+1/5/2024"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(readAs(text), "unreadable");
    }
    EXPECT_EQ(parseSqlServerDateTime("abc").message(), std::string(kDateUnreadableMessage));
    EXPECT_EQ(parseSqlServerDateTime("01/05/2024").message(), std::string());
}

TEST(SqlServerDateParse, CastReadsAnEmptyStringAsTheBaseDate)
{
    const DateParseResult r = castStringToDateTime("  ");
    ASSERT_EQ(r.status, DateParseStatus::Ok);
    EXPECT_EQ(r.value, dt(1900, 1, 1));
    EXPECT_EQ(castStringToDateTime("abc").status, DateParseStatus::Unreadable);
    EXPECT_EQ(castStringToDateTime("1/5/2024").value, dt(2024, 1, 5));
}

TEST(DateStorageText, RoundTripsAndAcceptsShorterForms)
{
    const DateTimeValue v = dt(2024, 1, 5, 9, 7, 30, 123);
    EXPECT_EQ(toStorageText(v), "2024-01-05 09:07:30.123");
    EXPECT_EQ(fromStorageText(toStorageText(v)), v);
    EXPECT_EQ(fromStorageText("2024-01-05"), dt(2024, 1, 5));
    EXPECT_EQ(fromStorageText("2024-01-05 09:07"), dt(2024, 1, 5, 9, 7));
    EXPECT_EQ(fromStorageText("2024-01-05T09:07:30"), dt(2024, 1, 5, 9, 7, 30));
    EXPECT_EQ(fromStorageText("2024-01-05 09:07:30.5"), dt(2024, 1, 5, 9, 7, 30, 500));
}

TEST(DateStorageText, RejectsAnythingElse)
{
    for (const char* text : {"", "2024-1-5", "01/05/2024", "2024-01-05 9:07", "2024-02-30", "2024-13-01",
                             "2024-01-05 24:00", "2024-01-05X09:07", "2024-01-05 09:07:30.", "2024-01-05 09:07:30.1234",
                             "abcd-ef-gh", "1752-12-31"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(fromStorageText(text).has_value());
    }
}

TEST(DateFormatting, Style0PadsDayAndHourWithBlanks)
{
    EXPECT_EQ(formatStyle0(dt(2024, 1, 5, 9, 7)), "Jan  5 2024  9:07AM");
    EXPECT_EQ(formatStyle0(dt(2023, 12, 31, 12, 0)), "Dec 31 2023 12:00PM");
    EXPECT_EQ(formatStyle0(dt(2024, 1, 1, 0, 0)), "Jan  1 2024 12:00AM");
    EXPECT_EQ(formatStyle0(dt(2024, 6, 15, 23, 59, 59, 997)), "Jun 15 2024 11:59PM");
    // What style 0 writes, SQL Server reads back.
    EXPECT_EQ(readAs(formatStyle0(dt(2024, 1, 1, 0, 0))), "2024-01-01 00:00:00.000");
    EXPECT_EQ(readAs(formatStyle0(dt(2024, 1, 1, 12, 30))), "2024-01-01 12:30:00.000");
}

TEST(DateFormatting, DisplayTextDropsAMidnightTime)
{
    EXPECT_EQ(formatDisplayText(dt(2024, 1, 5, 9, 7)), "1/5/2024 9:07:00 AM");
    EXPECT_EQ(formatDisplayText(dt(2024, 1, 5)), "1/5/2024");
    EXPECT_EQ(formatDisplayText(dt(2024, 1, 5, 12, 30, 5)), "1/5/2024 12:30:05 PM");
    EXPECT_EQ(formatDisplayText(dt(2024, 11, 25, 0, 0, 1)), "11/25/2024 12:00:01 AM");
    EXPECT_EQ(formatDisplayText(dt(2024, 1, 5, 0, 0, 0, 3)), "1/5/2024 12:00:00 AM");
}

TEST(DateArithmetic, DaysAndBoundaries)
{
    EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(daysFromCivil(1969, 12, 31), -1);
    EXPECT_EQ(daysFromCivil(2000, 3, 1) - daysFromCivil(2000, 2, 28), 2);
    // DATEDIFF(day) counts midnights crossed, not elapsed 24-hour periods.
    EXPECT_EQ(dateDiffDays(dt(2024, 1, 5, 23, 59), dt(2024, 1, 6, 0, 1)), 1);
    EXPECT_EQ(dateDiffDays(dt(2024, 1, 5, 0, 0), dt(2024, 1, 5, 23, 59)), 0);
    EXPECT_EQ(dateDiffDays(dt(2024, 3, 1), dt(2024, 2, 1)), -29);
    EXPECT_EQ(dateDiffDays(dt(2023, 1, 1), dt(2024, 1, 1)), 365);
    EXPECT_EQ(addDays(dt(2026, 12, 31, 8, 30), 1), dt(2027, 1, 1, 8, 30));
    EXPECT_EQ(addDays(dt(2024, 2, 28), 1), dt(2024, 2, 29));
    EXPECT_EQ(addDays(dt(2024, 3, 1), -1), dt(2024, 2, 29));
}

TEST(SqlServerDateTime2Parse, KeepsSevenDecimalsAndEarlyYears)
{
    const DateParseResult fraction = parseSqlServerDateTime2("2005-12-31 23:59:59.9999999");
    ASSERT_EQ(fraction.status, DateParseStatus::Ok);
    EXPECT_EQ(fraction.value, (DateTimeValue{2005, 12, 31, 23, 59, 59, 999}));
    EXPECT_EQ(parseSqlServerDateTime2("2024-01-05T10:00:00.1234567").value.millisecond, 123);
    EXPECT_EQ(parseSqlServerDateTime2("1/5/2024 9:07:00.5 PM").value, (DateTimeValue{2024, 1, 5, 21, 7, 0, 500}));
    EXPECT_EQ(parseSqlServerDateTime2("0001-01-01").value, (DateTimeValue{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(parseSqlServerDateTime2("2007-04-30T01:01:01.1234567 -07:00").value.month, 4);
    EXPECT_EQ(parseSqlServerDateTime2("2007-04-30T01:01:01Z").value.hour, 1);
    // Every failure is "conversion failed": no 1900-01-01 for blanks, no out-of-range message.
    EXPECT_EQ(parseSqlServerDateTime2("").status, DateParseStatus::Unreadable);
    EXPECT_EQ(parseSqlServerDateTime2("2024-02-30").status, DateParseStatus::Unreadable);
    EXPECT_EQ(parseSqlServerDateTime2("2024-01-05 10:00:00.12345678").status, DateParseStatus::Unreadable);
    EXPECT_EQ(parseSqlServerDateTime2("2024-01-05 -07:00").status, DateParseStatus::Unreadable);
    // datetime itself still rounds to its 1/300 s clock and stops at three decimals.
    EXPECT_EQ(parseSqlServerDateTime("2024-01-01 23:59:59.999").value, (DateTimeValue{2024, 1, 2, 0, 0, 0, 0}));
    EXPECT_EQ(parseSqlServerDateTime("2024-01-01 23:59:59.9999").status, DateParseStatus::Unreadable);
}
