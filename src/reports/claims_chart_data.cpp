#include "reports/claims_chart_data.h"

#include "host/data/result_set.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <tuple>

namespace vantik {

namespace {

// Calendar position of a month text; texts that are no month sort after every month.
std::tuple<bool, int, int, QString> monthKey(const QString& month)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})-(\\d{4})$"));
    const QRegularExpressionMatch match = pattern.match(month);
    if (!match.hasMatch())
        return {true, 0, 0, month};
    return {false, match.captured(2).toInt(), match.captured(1).toInt(), month};
}

} // namespace

ClaimsChartData pivotClaimStatuses(const ResultSet& rows)
{
    std::map<std::tuple<bool, int, int, QString>, int> months; // key -> index after sorting
    std::map<QString, int> statuses;
    for (int row = 0; row < rows.rowCount(); ++row) {
        months.emplace(monthKey(rows.text(row, 0)), 0);
        statuses.emplace(rows.text(row, 1), 0);
    }

    ClaimsChartData data;
    for (auto& [key, index] : months) {
        index = int(data.months.size());
        data.months.append(std::get<3>(key));
    }
    for (auto& [status, index] : statuses) {
        index = int(data.statuses.size());
        data.statuses.append(status);
    }
    data.counts.assign(data.statuses.size(), std::vector<double>(data.months.size(), 0.0));
    for (int row = 0; row < rows.rowCount(); ++row) {
        const int month = months.at(monthKey(rows.text(row, 0)));
        const int status = statuses.at(rows.text(row, 1));
        data.counts[status][month] += rows.cell(row, 2).toDouble();
    }
    return data;
}

} // namespace vantik
