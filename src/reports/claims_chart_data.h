#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vantik {

class ResultSet;

/// The chart's data: one category per month, one series per claim status.
struct ClaimsChartData {
    QStringList months;   // the month texts ("m-yyyy") in calendar order
    QStringList statuses; // in text order
    /// counts[status][month]; 0 where a month has no claim of a status.
    std::vector<std::vector<double>> counts;
};

/// Turns the chart statement's rows (month text, status, count, by position) into
/// series. The statement sorts months as text, so 10-2023 comes before 2-2023;
/// here they are put back in calendar order. A month text that is no "m-yyyy"
/// (a claim without a date) goes after the real months.
ClaimsChartData pivotClaimStatuses(const ResultSet& rows);

} // namespace vantik
