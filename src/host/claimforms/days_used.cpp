#include "host/claimforms/days_used.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/sql_quote.h"

#include <algorithm>

namespace vantik {

std::optional<int> DaysUsed::remaining() const
{
    if (limit <= 0)
        return std::nullopt;
    return std::max(limit - total, 0);
}

int daysInYear(int admittedOffset, std::optional<int> dischargedOffset, int todayOffset, int yearLength)
{
    const int from = std::max(admittedOffset, 0);
    const int to = std::min(dischargedOffset.value_or(todayOffset), yearLength);
    return std::max(to - from, 0);
}

DaysUsed readDaysUsed(Connection& connection, const QString& hospNum, const QString& idNum, QDate today, int limit)
{
    const QString id = sqlQuote(idNum);
    // The year is that of the selected admission, or of the out-patient visit.
    ResultSet year = connection.execute(
        QStringLiteral("SELECT YEAR(ADMDATE) AS AdmYear FROM Patient_Data..tbPatient WITH (NOLOCK) WHERE IDNum = '%1'")
            .arg(id));
    if (year.rowCount() == 0) {
        year = connection.execute(QStringLiteral("SELECT YEAR(ADMDATE) AS AdmYear FROM Patient_Data..tbOutPatient "
                                                 "WITH (NOLOCK) WHERE IDNum = '%1'")
                                      .arg(id));
    }
    if (year.rowCount() == 0)
        throw ComponentError(QStringLiteral("Admission %1 was not found.").arg(idNum));

    DaysUsed used;
    used.hospNum = hospNum;
    used.year = year.text(0, 0).toInt();
    used.limit = limit;
    const QDate first(used.year, 1, 1);
    // yyyymmdd is read the same whatever the server's language and date format.
    const QString start = first.toString(QStringLiteral("yyyyMMdd"));
    const QString next = first.addYears(1).toString(QStringLiteral("yyyyMMdd"));
    const ResultSet stays = connection.execute(
        QStringLiteral("SELECT IDNum, convert(varchar, ADMDATE, 0) AS Admitted, convert(varchar, DCRDATE, 0) AS Discharged, "
                       "DATEDIFF(day, '%1', ADMDATE) AS FromStart, DATEDIFF(day, '%1', DCRDATE) AS ToEnd "
                       "FROM Patient_Data..tbPatient WITH (NOLOCK) WHERE HospNum = '%2' AND ADMDATE < '%3' "
                       "AND (DCRDATE IS NULL OR DCRDATE >= '%1') ORDER BY ADMDATE")
            .arg(start, sqlQuote(hospNum), next));
    const int yearLength = int(first.daysTo(first.addYears(1)));
    const int todayOffset = int(first.daysTo(today));
    for (int r = 0; r < stays.rowCount(); ++r) {
        const QString dischargedOffset = stays.text(r, 4);
        StayInYear stay{stays.text(r, 0), stays.text(r, 1), stays.text(r, 2), 0};
        stay.days = daysInYear(stays.text(r, 3).toInt(),
                               dischargedOffset.isEmpty() ? std::nullopt : std::optional<int>(dischargedOffset.toInt()),
                               todayOffset, yearLength);
        used.total += stay.days;
        used.stays.push_back(stay);
    }
    return used;
}

} // namespace vantik
