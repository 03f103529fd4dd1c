#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantik::sqlcompat {

/// A SQL Server datetime value, broken down. Years 1753..9999 as in SQL Server.
struct DateTimeValue {
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const DateTimeValue&, const DateTimeValue&) = default;
};

inline constexpr const char* kDateUnreadableMessage =
    "Conversion failed when converting date and/or time from character string.";
inline constexpr const char* kDateOutOfRangeMessage =
    "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.";

enum class DateParseStatus { Ok, Unreadable, OutOfRange };

struct DateParseResult {
    DateParseStatus status = DateParseStatus::Unreadable;
    DateTimeValue value;
    /// The SQL Server message for the failure; empty when status is Ok.
    const char* message() const;
};

/// Reads a character string the way SQL Server converts it to datetime under
/// SET LANGUAGE us_english (DATEFORMAT mdy): "mm/dd/yyyy", "m/d/yyyy", "m-d-yyyy",
/// "yyyy-mm-dd", "yyyymmdd", "Jan 5 2024", each optionally followed by a time
/// ("9:07", "9:07:30", "9:07:30.123", "9:07AM", "9:07 PM"). Leading and trailing
/// blanks are ignored. A string of the right shape holding an impossible date
/// (02/30/2024, month 13) is OutOfRange; anything else unreadable is Unreadable.
DateParseResult parseSqlServerDateTime(std::string_view text);

/// Reads a character string as SQL Server converts it to datetime2, as DATEDIFF, MONTH and
/// YEAR read their string arguments: the same forms, years from 0001, up to seven decimals
/// of a second (kept to the millisecond, cut, never rounded into the next second), a time
/// zone offset at the end ignored, no 1900-01-01 for an empty string. Every failure is
/// Unreadable, the server's "conversion failed" message.
DateParseResult parseSqlServerDateTime2(std::string_view text);

/// Whether year-month-day is a date of the proleptic Gregorian calendar, years 1 to 9999.
bool isValidCalendarDate(int year, int month, int day);

/// What CAST(text AS datetime) gives on the server: parseSqlServerDateTime, except that
/// an empty or all-blank string is 1900-01-01 00:00:00 (the server accepts it). Use it
/// where a statement converts a string; use parseSqlServerDateTime to read what a user typed.
DateParseResult castStringToDateTime(std::string_view text);

/// The embedded engine's storage form: "YYYY-MM-DD HH:MM:SS.fff", always 23 characters,
/// so that text order is time order.
std::string toStorageText(const DateTimeValue& value);

/// Reads the storage form; also accepts "YYYY-MM-DD", "YYYY-MM-DD HH:MM",
/// "YYYY-MM-DD HH:MM:SS" and a 'T' instead of the blank. nullopt for anything else.
std::optional<DateTimeValue> fromStorageText(std::string_view text);

/// CONVERT(varchar, x, 0): "mon dd yyyy hh:miAM", day and hour padded with a blank,
/// e.g. "Jan  5 2024  9:07AM", "Dec 31 2023 12:00PM", midnight "Jan  1 2024 12:00AM".
std::string formatStyle0(const DateTimeValue& value);

/// How the program shows a datetime that a statement did not convert:
/// "1/5/2024 9:07:00 AM"; the date alone ("1/5/2024") when the time is exactly midnight.
std::string formatDisplayText(const DateTimeValue& value);

/// Days since 1970-01-01 of a proleptic Gregorian date (negative before).
long long daysFromCivil(int year, int month, int day);

/// DATEDIFF(day, a, b): day boundaries crossed from a to b (negative when b is earlier).
long long dateDiffDays(const DateTimeValue& a, const DateTimeValue& b);

/// The date plus a number of days, time kept.
DateTimeValue addDays(const DateTimeValue& value, int days);

} // namespace vantik::sqlcompat
