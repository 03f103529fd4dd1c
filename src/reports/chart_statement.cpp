#include "reports/chart_statement.h"

#include "host/data/sql_quote.h"
#include "worklist/filter_dates.h"

namespace vantik {

QString buildChartStatement(const QString& startDate, const QString& endDate)
{
    const QLatin1String dateColumn("ClaimDateReceived");
    QString s = QStringLiteral(
        " select CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS "
        "VARCHAR(4))  AS   ReportMonth,status as CNT, count(1) as CNT FROM MEDICARE..tbMedElectronicClaimStatus AS "
        "A   Where 1 = 1");
    if (!startDate.isEmpty()) {
        if (const QString problem = dateBoundProblem(DateBound::Start, startDate); !problem.isEmpty())
            throw ChartDateError(problem.toStdString());
        s += QLatin1String(" AND ") + dateColumn + QLatin1String(" >= '") + sqlQuote(startDate) + QLatin1String("'");
    }
    if (!endDate.isEmpty()) {
        const auto bound = upperDateBound(endDate);
        if (!bound)
            throw ChartDateError(dateBoundProblem(DateBound::End, endDate).toStdString());
        s += QLatin1String(" AND ") + dateColumn + QLatin1String(" <= '") + sqlQuote(*bound) + QLatin1String("'");
    }
    s += QLatin1String(
        " GROUP BY  CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS "
        "VARCHAR(4)),status  order by ReportMonth asc");
    return s;
}

} // namespace vantik
