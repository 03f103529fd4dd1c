#include "host/demodata/demo_plan.h"

#include "host/sqlcompat/datetime.h"

#include <algorithm>

namespace vantik::demodata {

void daysToCivil(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = unsigned(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe) + int(era * 400) + (month <= 2);
}

int yearOf(Millis t)
{
    int y, m, d;
    daysToCivil(t / kDay, y, m, d);
    return y;
}

std::string_view TimeBinder::operator()(Millis t, std::size_t slot)
{
    int y, mo, d;
    daysToCivil(t / kDay, y, mo, d);
    const Millis rest = t % kDay;
    sqlcompat::DateTimeValue value;
    value.year = y;
    value.month = mo;
    value.day = d;
    value.hour = int(rest / kHour);
    value.minute = int(rest / kMinute % 60);
    value.second = int(rest / kSecond % 60);
    value.millisecond = int(rest % kSecond);
    m_slots[slot] = sqlcompat::toStorageText(value);
    return m_slots[slot];
}

/// SQL Server's datetime keeps 1/300 s: milliseconds end in 0, 3 or 7.
Millis sqlServerMillis(DemoRandom& random)
{
    static constexpr int kEndings[] = {0, 3, 7};
    return Millis(random.below(100)) * 10 + random.pick(kEndings);
}

Millis clockTime(DemoRandom& random, int firstHour, int lastHour)
{
    return random.between(firstHour, lastHour) * kHour + random.between(0, 59) * kMinute
        + random.between(0, 59) * kSecond + sqlServerMillis(random);
}

long long stayDays(const Admission& a)
{
    if (a.discharged == kNoTime)
        return (kWindowEnd - a.admitted) / kDay;
    return (a.discharged - a.admitted) / kDay;
}

Millis capped(Millis t)
{
    return std::min(t, kWindowEnd - kMinute);
}

} // namespace vantik::demodata
