#include "host/sqlcompat/datetime.h"

#include <array>
#include <cstdio>
#include <optional>

namespace vantik::sqlcompat {

namespace {

constexpr int kMaxYear = 9999;
// SQL Server's default "two digit year cutoff": 49 is 2049, 50 is 1950.
constexpr int kTwoDigitYearCutoff = 49;

constexpr std::array<std::string_view, 12> kMonthNames = {"january", "february", "march",     "april",
                                                          "may",     "june",     "july",      "august",
                                                          "september", "october", "november", "december"};

// How a string is read: as datetime (1753 on, thousandths rounded to its 1/300 s clock,
// an impossible date "out of range") or as datetime2 (year 1 on, seven decimals cut to the
// millisecond we keep, every failure "conversion failed").
struct Rules {
    int minYear;
    int fractionDigits;
    bool datetime2;
};

constexpr Rules kDateTimeRules{1753, 3, false};
constexpr Rules kDateTime2Rules{1, 7, true};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lowerAsciiChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

DateParseResult failure(DateParseStatus status)
{
    DateParseResult r;
    r.status = status;
    return r;
}

// A run of digits. The value saturates; `digits` tells the real length, which
// decides what the number may stand for (a 4-digit year, a 2-digit day...).
struct Number {
    int value = 0;
    int digits = 0;
};

Number readNumber(std::string_view s, std::size_t& pos)
{
    Number n;
    while (pos < s.size() && isDigit(s[pos])) {
        if (n.digits < 9)
            n.value = n.value * 10 + (s[pos] - '0');
        ++n.digits;
        ++pos;
    }
    return n;
}

void skipBlanks(std::string_view s, std::size_t& pos)
{
    while (pos < s.size() && s[pos] == ' ')
        ++pos;
}

// 0 none, 1 AM, 2 PM: "am"/"pm" in any case, not followed by another letter.
int meridiemAt(std::string_view s, std::size_t pos)
{
    if (pos + 1 >= s.size() || lowerAsciiChar(s[pos + 1]) != 'm')
        return 0;
    if (pos + 2 < s.size() && isAlpha(s[pos + 2]))
        return 0;
    const char c = lowerAsciiChar(s[pos]);
    return c == 'a' ? 1 : (c == 'p' ? 2 : 0);
}

int expandTwoDigitYear(int year)
{
    return year <= kTwoDigitYearCutoff ? 2000 + year : 1900 + year;
}

// A year written with 1, 2 or 4 digits; -1 for any other width. A single digit is
// read like two ("1/5/4" is 2004): the documentation only shows [19]96, so this is our choice.
int yearFromNumber(const Number& n)
{
    if (n.digits == 4)
        return n.value;
    if (n.digits == 1 || n.digits == 2)
        return expandTwoDigitYear(n.value);
    return -1;
}

// A decimal fraction of a second in milliseconds, further digits cut off.
int millisecondsOf(const Number& fraction)
{
    int value = fraction.value;
    for (int d = fraction.digits; d > 3; --d)
        value /= 10;
    for (int d = fraction.digits; d < 3; ++d)
        value *= 10;
    return value;
}

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// "hh:mi[:ss[:mmm|.f..fff]][ ][AM|PM]" or "hh[ ]AM|PM". A colon before the fraction means
// thousandths ("20:1" is 1 ms), a period a decimal fraction ("20.1" is 100 ms). Any time
// SQL Server cannot read (hour 24, minute 60, "0 PM", "13 AM") makes the whole string
// unreadable: the server reports those with the "conversion failed" message.
bool parseTime(std::string_view s, std::size_t& pos, TimeOfDay& out, const Rules& rules)
{
    const Number hour = readNumber(s, pos);
    if (hour.digits == 0 || hour.digits > 2)
        return false;
    Number minute;
    Number second;
    int millisecond = 0;
    bool hasMinutes = false;
    if (pos + 1 < s.size() && s[pos] == ':' && isDigit(s[pos + 1])) {
        ++pos;
        minute = readNumber(s, pos);
        hasMinutes = true;
        if (pos + 1 < s.size() && s[pos] == ':' && isDigit(s[pos + 1])) {
            ++pos;
            second = readNumber(s, pos);
            if (pos + 1 < s.size() && (s[pos] == ':' || s[pos] == '.') && isDigit(s[pos + 1])) {
                const bool thousandths = s[pos] == ':';
                ++pos;
                const Number fraction = readNumber(s, pos);
                if (fraction.digits > rules.fractionDigits || (thousandths && fraction.digits > 3))
                    return false;
                millisecond = thousandths ? fraction.value : millisecondsOf(fraction);
            }
        }
    }
    if (minute.digits > 2 || second.digits > 2)
        return false;

    std::size_t after = pos;
    skipBlanks(s, after);
    const int meridiem = meridiemAt(s, after);
    if (meridiem != 0)
        pos = after + 2;
    if (!hasMinutes && meridiem == 0)
        return false;

    int h = hour.value;
    if (minute.value > 59 || second.value > 59 || h > 23)
        return false;
    if (meridiem == 1) {
        if (h > 12)
            return false;
        if (h == 12)
            h = 0;
    } else if (meridiem == 2) {
        if (h == 0)
            return false;
        if (h < 12)
            h += 12;
    }
    out = TimeOfDay{h, minute.value, second.value, millisecond};
    return true;
}

// Joins a checked date and a read time. datetime keeps time in 1/300 s, so the
// milliseconds round to .000/.003/.007 as on the server ("20:999" becomes the next second),
// which may carry into the next day and past 9999-12-31.
DateParseResult finish(int year, int month, int day, const TimeOfDay& time, const Rules& rules)
{
    if (year < rules.minYear || !isValidCalendarDate(year, month, day))
        return failure(DateParseStatus::OutOfRange);
    DateTimeValue v{year, month, day, time.hour, time.minute, time.second, 0};
    if (rules.datetime2) {
        v.millisecond = time.millisecond;
        DateParseResult r;
        r.status = DateParseStatus::Ok;
        r.value = v;
        return r;
    }
    const int ticks = (time.millisecond * 3 + 5) / 10;
    v.millisecond = (ticks * 10 + 1) / 3;
    if (v.millisecond >= 1000) {
        v.millisecond -= 1000;
        if (++v.second == 60) {
            v.second = 0;
            if (++v.minute == 60) {
                v.minute = 0;
                if (++v.hour == 24) {
                    v.hour = 0;
                    v = addDays(v, 1);
                    if (v.year > kMaxYear)
                        return failure(DateParseStatus::OutOfRange);
                }
            }
        }
    }
    DateParseResult r;
    r.status = DateParseStatus::Ok;
    r.value = v;
    return r;
}

// After the date: nothing, or blanks and then a time.
bool parseTrailingTime(std::string_view s, std::size_t pos, TimeOfDay& time, const Rules& rules)
{
    if (pos == s.size())
        return true;
    if (s[pos] != ' ')
        return false;
    skipBlanks(s, pos);
    if (!parseTime(s, pos, time, rules))
        return false;
    skipBlanks(s, pos);
    return pos == s.size();
}

int monthFromName(std::string_view word)
{
    if (word.size() < 3)
        return 0;
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        const std::string_view name = kMonthNames[i];
        if (word.size() != 3 && word.size() != name.size())
            continue;
        bool same = true;
        for (std::size_t k = 0; k < word.size() && same; ++k)
            same = lowerAsciiChar(word[k]) == name[k];
        if (same)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool containsMonthName(std::string_view s)
{
    std::size_t pos = 0;
    while (pos < s.size()) {
        if (!isAlpha(s[pos])) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        while (pos < s.size() && isAlpha(s[pos]))
            ++pos;
        if (monthFromName(s.substr(start, pos - start)) != 0)
            return true;
    }
    return false;
}

// "Jan 5 2024", "January 5, 2024", "5 Jan 2024", "Jan 2024", "2024 Jan 5", ... (the month
// anywhere, commas optional, a missing day is the 1st). Of the one or two numbers, a first
// number of four digits is the year and the other the day; otherwise day then year.
DateParseResult parseAlphabetic(std::string_view s, const Rules& rules)
{
    int month = 0;
    std::array<Number, 2> numbers;
    int count = 0;
    std::size_t pos = 0;
    while (pos < s.size()) {
        const char c = s[pos];
        if (c == ' ' || c == ',') {
            ++pos;
        } else if (isAlpha(c)) {
            const std::size_t start = pos;
            while (pos < s.size() && isAlpha(s[pos]))
                ++pos;
            const int m = monthFromName(s.substr(start, pos - start));
            if (m == 0 || month != 0)
                return failure(DateParseStatus::Unreadable);
            month = m;
        } else if (isDigit(c)) {
            std::size_t end = pos;
            readNumber(s, end);
            std::size_t afterBlanks = end;
            skipBlanks(s, afterBlanks);
            if ((end < s.size() && s[end] == ':') || meridiemAt(s, afterBlanks) != 0)
                break; // the time starts here
            if (count == 2)
                return failure(DateParseStatus::Unreadable);
            numbers[static_cast<std::size_t>(count++)] = readNumber(s, pos);
        } else {
            return failure(DateParseStatus::Unreadable);
        }
    }
    if (month == 0 || count == 0)
        return failure(DateParseStatus::Unreadable);

    Number yearNumber = numbers[0];
    Number dayNumber{1, 1};
    if (count == 2) {
        if (numbers[0].digits == 4) {
            dayNumber = numbers[1];
        } else {
            dayNumber = numbers[0];
            yearNumber = numbers[1];
        }
    } else if (yearNumber.digits != 4) {
        return failure(DateParseStatus::Unreadable); // "Jan 5": a day without a year
    }
    const int year = yearFromNumber(yearNumber);
    if (year < 0 || dayNumber.digits > 2)
        return failure(DateParseStatus::Unreadable);

    TimeOfDay time;
    if (pos < s.size()) {
        if (!parseTime(s, pos, time, rules))
            return failure(DateParseStatus::Unreadable);
        skipBlanks(s, pos);
        if (pos != s.size())
            return failure(DateParseStatus::Unreadable);
    }
    return finish(year, month, dayNumber.value, time, rules);
}

// "m/d/y" in the session's mdy order, or "yyyy/m/d" when the first number has four
// digits; the separator is '/', '-' or '.', the same one twice. A middle number of four
// digits ("4/1996/15", myd) is reserved for other DATEFORMAT settings: we read it as unreadable.
DateParseResult parseNumeric(std::string_view s, std::size_t pos, const Number& first, const Rules& rules)
{
    const char separator = s[pos++];
    const Number second = readNumber(s, pos);
    if (second.digits == 0 || pos >= s.size() || s[pos] != separator)
        return failure(DateParseStatus::Unreadable);
    ++pos;
    const Number third = readNumber(s, pos);
    if (third.digits == 0)
        return failure(DateParseStatus::Unreadable);

    int year = 0;
    int month = 0;
    int day = 0;
    if (first.digits == 4) {
        if (second.digits > 2 || third.digits > 2)
            return failure(DateParseStatus::Unreadable);
        year = first.value;
        month = second.value;
        day = third.value;
    } else if (first.digits <= 2) {
        if (second.digits > 2)
            return failure(DateParseStatus::Unreadable);
        year = yearFromNumber(third);
        if (year < 0)
            return failure(DateParseStatus::Unreadable);
        month = first.value;
        day = second.value;
    } else {
        return failure(DateParseStatus::Unreadable);
    }
    TimeOfDay time;
    if (!parseTrailingTime(s, pos, time, rules))
        return failure(DateParseStatus::Unreadable);
    return finish(year, month, day, time, rules);
}

// "yyyy-mm-ddThh:mi:ss[.mmm]": every element present, fixed widths, 24-hour clock.
DateParseResult parseIso8601(std::string_view s, const Rules& rules)
{
    auto digitsAt = [&](std::size_t from, std::size_t count, int& value) {
        value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (i >= s.size() || !isDigit(s[i]))
                return false;
            value = value * 10 + (s[i] - '0');
        }
        return true;
    };
    int year = 0;
    int month = 0;
    int day = 0;
    TimeOfDay t;
    if (!digitsAt(0, 4, year) || s[4] != '-' || !digitsAt(5, 2, month) || s[7] != '-' || !digitsAt(8, 2, day)
        || !digitsAt(11, 2, t.hour) || s.size() < 19 || s[13] != ':' || !digitsAt(14, 2, t.minute) || s[16] != ':'
        || !digitsAt(17, 2, t.second))
        return failure(DateParseStatus::Unreadable);
    std::size_t pos = 19;
    if (pos < s.size()) {
        if (s[pos] != '.')
            return failure(DateParseStatus::Unreadable);
        ++pos;
        const Number fraction = readNumber(s, pos);
        if (fraction.digits == 0 || fraction.digits > rules.fractionDigits || pos != s.size())
            return failure(DateParseStatus::Unreadable);
        t.millisecond = millisecondsOf(fraction);
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return failure(DateParseStatus::Unreadable);
    return finish(year, month, day, t, rules);
}

} // namespace

const char* DateParseResult::message() const
{
    switch (status) {
    case DateParseStatus::Ok:
        return "";
    case DateParseStatus::OutOfRange:
        return kDateOutOfRangeMessage;
    case DateParseStatus::Unreadable:
        break;
    }
    return kDateUnreadableMessage;
}

// Which failures are "out of range": a string whose shape SQL Server reads as a date
// (numeric, unseparated, ISO, alphabetic) but whose year, month or day is impossible
// (02/30/2024, 13/01/2024, 01/01/1752, 20230229, Feb 30 2024). For the alphabetic shape
// the documentation does not say which message an impossible day gives; we chose
// out-of-range there too. Everything else, bad times included, is unreadable.
namespace {

DateParseResult parseWith(std::string_view text, const Rules& rules)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    const std::string_view s = text.substr(begin, end - begin);
    if (s.empty())
        return failure(DateParseStatus::Unreadable);

    if (s.size() >= 11 && s[10] == 'T')
        return parseIso8601(s, rules);
    if (containsMonthName(s))
        return parseAlphabetic(s, rules);
    if (!isDigit(s[0]))
        return failure(DateParseStatus::Unreadable);

    std::size_t pos = 0;
    const Number first = readNumber(s, pos);
    if (pos + 1 < s.size() && (s[pos] == '/' || s[pos] == '-' || s[pos] == '.') && isDigit(s[pos + 1]))
        return parseNumeric(s, pos, first, rules);

    std::size_t afterBlanks = pos;
    skipBlanks(s, afterBlanks);
    if ((pos < s.size() && s[pos] == ':') || meridiemAt(s, afterBlanks) != 0) {
        // A time alone is on 1900-01-01.
        pos = 0;
        TimeOfDay time;
        if (!parseTime(s, pos, time, rules))
            return failure(DateParseStatus::Unreadable);
        skipBlanks(s, pos);
        if (pos != s.size())
            return failure(DateParseStatus::Unreadable);
        return finish(1900, 1, 1, time, rules);
    }

    // Unseparated: yyyymmdd, yymmdd, or yyyy alone (January 1st).
    int year = 0;
    int month = 1;
    int day = 1;
    const std::string_view digits = s.substr(0, pos);
    auto two = [&](std::size_t at) { return (digits[at] - '0') * 10 + (digits[at + 1] - '0'); };
    if (first.digits == 8) {
        year = first.value / 10000;
        month = two(4);
        day = two(6);
    } else if (first.digits == 6) {
        year = expandTwoDigitYear(two(0));
        month = two(2);
        day = two(4);
    } else if (first.digits == 4) {
        year = first.value;
    } else {
        return failure(DateParseStatus::Unreadable);
    }
    TimeOfDay time;
    if (!parseTrailingTime(s, pos, time, rules))
        return failure(DateParseStatus::Unreadable);
    return finish(year, month, day, time, rules);
}

// A time zone offset at the end of a time ("+08:00", "-07:00", "Z"): datetime2 takes the
// local time and drops the offset, as DATEDIFF and MONTH do with a datetimeoffset string.
std::optional<std::string_view> withoutOffset(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (!s.empty() && (s.back() == 'Z' || s.back() == 'z') && s.find(':') != std::string_view::npos)
        return s.substr(0, s.size() - 1);
    if (s.size() < 7)
        return std::nullopt;
    const std::string_view tail = s.substr(s.size() - 6);
    const bool offset = (tail[0] == '+' || tail[0] == '-') && isDigit(tail[1]) && isDigit(tail[2]) && tail[3] == ':'
        && isDigit(tail[4]) && isDigit(tail[5]);
    if (!offset || s.substr(0, s.size() - 6).find(':') == std::string_view::npos)
        return std::nullopt;
    return s.substr(0, s.size() - 6);
}

} // namespace

DateParseResult parseSqlServerDateTime(std::string_view text)
{
    return parseWith(text, kDateTimeRules);
}

DateParseResult parseSqlServerDateTime2(std::string_view text)
{
    DateParseResult r = parseWith(text, kDateTime2Rules);
    if (r.status != DateParseStatus::Ok) {
        if (const auto shorter = withoutOffset(text))
            r = parseWith(*shorter, kDateTime2Rules);
    }
    // datetime2 has no out-of-range message of its own: every failure is "conversion failed".
    if (r.status != DateParseStatus::Ok)
        r.status = DateParseStatus::Unreadable;
    return r;
}

DateParseResult castStringToDateTime(std::string_view text)
{
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        DateParseResult r;
        r.status = DateParseStatus::Ok;
        r.value = DateTimeValue{};
        return r;
    }
    return parseSqlServerDateTime(text);
}


} // namespace vantik::sqlcompat
