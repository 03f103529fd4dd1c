#include "worklist/filter_dates.h"

#include "host/data/sql_quote.h"
#include "host/sqlcompat/datetime.h"

namespace vantik {

QString dateBoxText(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

std::optional<QDate> readDateBox(const QString& text)
{
    // Read by the database's own rule, so that a date the filter accepts is one
    // the statement's comparison accepts too.
    const std::string utf8 = text.toStdString();
    const auto parsed = sqlcompat::parseSqlServerDateTime(utf8);
    if (parsed.status != sqlcompat::DateParseStatus::Ok)
        return std::nullopt;
    const QDate date(parsed.value.year, parsed.value.month, parsed.value.day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<QString> upperDateBound(const QString& endDateText)
{
    const auto end = readDateBox(endDateText);
    if (!end)
        return std::nullopt;
    const QDate next = end->addDays(1);
    // 12/31/9999 has no next day the database can hold.
    if (!next.isValid() || next.year() > 9999)
        return std::nullopt;
    return sqlDateLiteral(next);
}

QString dateBoundProblem(DateBound bound, const QString& text)
{
    const bool start = bound == DateBound::Start;
    const bool readable = start ? readDateBox(text).has_value() : upperDateBound(text).has_value();
    if (readable)
        return QString();
    const QString which = start ? QStringLiteral("start") : QStringLiteral("end");
    // A calendar date all the same, only outside the years a datetime holds.
    const std::string utf8 = text.toStdString();
    const bool calendarDate =
        sqlcompat::parseSqlServerDateTime2(utf8).status == sqlcompat::DateParseStatus::Ok;
    if (!calendarDate)
        return QStringLiteral("The %1 date \"%2\" is not a date; type it as mm/dd/yyyy.").arg(which, text);
    // The end date's next day is the bound the statement uses.
    const QDate first(1753, 1, 1);
    const QDate last = start ? QDate(9999, 12, 31) : QDate(9999, 12, 30);
    return QStringLiteral("The %1 date \"%2\" is out of range; type a date from %3 to %4.")
        .arg(which, text, dateBoxText(first), dateBoxText(last));
}

} // namespace vantik
