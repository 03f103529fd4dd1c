#include "host/sqlcompat/datetime.h"

#include <array>
#include <cstdio>

// The embedded engine's storage form of a datetime, its display forms and day arithmetic.

namespace vantik::sqlcompat {

namespace {

constexpr int kMinYear = 1753;

constexpr std::array<const char*, 12> kMonthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

CivilDate civilFromDays(long long days)
{
    // Inverse of daysFromCivil (H. Hinnant's algorithm).
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long d = doy - (153 * mp + 2) / 5 + 1;
    const long long m = mp < 10 ? mp + 3 : mp - 9;
    const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

} // namespace

bool isValidCalendarDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

std::string toStorageText(const DateTimeValue& v)
{
    // Written by hand when every field fits its width: the translator writes one for
    // every date literal of every statement.
    auto fits = [](int value, int limit) { return value >= 0 && value < limit; };
    if (fits(v.year, 10000) && fits(v.month, 100) && fits(v.day, 100) && fits(v.hour, 100) && fits(v.minute, 100)
        && fits(v.second, 100) && fits(v.millisecond, 1000)) {
        std::string out(23, ' ');
        auto put = [&](std::size_t at, int value, int width) {
            for (int i = width - 1; i >= 0; --i) {
                out[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
                value /= 10;
            }
        };
        put(0, v.year, 4);
        out[4] = '-';
        put(5, v.month, 2);
        out[7] = '-';
        put(8, v.day, 2);
        put(11, v.hour, 2);
        out[13] = ':';
        put(14, v.minute, 2);
        out[16] = ':';
        put(17, v.second, 2);
        out[19] = '.';
        put(20, v.millisecond, 3);
        return out;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", v.year, v.month, v.day, v.hour,
                  v.minute, v.second, v.millisecond);
    return buffer;
}

std::optional<DateTimeValue> fromStorageText(std::string_view s)
{
    const std::size_t n = s.size();
    if (n != 10 && n != 16 && n != 19 && (n < 21 || n > 23))
        return std::nullopt;
    auto digit = [&](std::size_t i) { return static_cast<unsigned>(s[i] - '0'); };
    auto allDigits = [&](std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i) {
            if (digit(i) > 9)
                return false;
        }
        return true;
    };
    if (!allDigits(0, 4) || s[4] != '-' || !allDigits(5, 2) || s[7] != '-' || !allDigits(8, 2))
        return std::nullopt;
    DateTimeValue v;
    v.year = static_cast<int>(digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3));
    v.month = static_cast<int>(digit(5) * 10 + digit(6));
    v.day = static_cast<int>(digit(8) * 10 + digit(9));
    v.hour = v.minute = v.second = v.millisecond = 0;
    if (n >= 16) {
        if ((s[10] != ' ' && s[10] != 'T') || !allDigits(11, 2) || s[13] != ':' || !allDigits(14, 2))
            return std::nullopt;
        v.hour = static_cast<int>(digit(11) * 10 + digit(12));
        v.minute = static_cast<int>(digit(14) * 10 + digit(15));
    }
    if (n >= 19) {
        if (s[16] != ':' || !allDigits(17, 2))
            return std::nullopt;
        v.second = static_cast<int>(digit(17) * 10 + digit(18));
    }
    if (n >= 21) {
        if (s[19] != '.' || !allDigits(20, n - 20))
            return std::nullopt;
        int ms = 0;
        for (std::size_t i = 20; i < 23; ++i)
            ms = ms * 10 + (i < n ? static_cast<int>(digit(i)) : 0);
        v.millisecond = ms;
    }
    if (v.year < kMinYear || !isValidCalendarDate(v.year, v.month, v.day) || v.hour > 23 || v.minute > 59 || v.second > 59)
        return std::nullopt;
    return v;
}

std::string formatStyle0(const DateTimeValue& v)
{
    const int hour12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
    const int monthIndex = v.month >= 1 && v.month <= 12 ? v.month - 1 : 0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %2d %04d %2d:%02d%s", kMonthAbbreviations[static_cast<std::size_t>(monthIndex)],
                  v.day, v.year, hour12, v.minute, v.hour < 12 ? "AM" : "PM");
    return buffer;
}

std::string formatDisplayText(const DateTimeValue& v)
{
    char buffer[96];
    if (v.hour == 0 && v.minute == 0 && v.second == 0 && v.millisecond == 0) {
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d", v.month, v.day, v.year);
    } else {
        const int hour12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", v.month, v.day, v.year, hour12, v.minute,
                      v.second, v.hour < 12 ? "AM" : "PM");
    }
    return buffer;
}

long long daysFromCivil(int year, int month, int day)
{
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = month > 2 ? month - 3 : month + 9;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

long long dateDiffDays(const DateTimeValue& a, const DateTimeValue& b)
{
    return daysFromCivil(b.year, b.month, b.day) - daysFromCivil(a.year, a.month, a.day);
}

DateTimeValue addDays(const DateTimeValue& value, int days)
{
    const CivilDate d = civilFromDays(daysFromCivil(value.year, value.month, value.day) + days);
    DateTimeValue out = value;
    out.year = d.year;
    out.month = d.month;
    out.day = d.day;
    return out;
}

} // namespace vantik::sqlcompat
