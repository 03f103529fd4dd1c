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

} // namespace vantik
