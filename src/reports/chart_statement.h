#pragma once

#include <QString>

#include <stdexcept>

namespace vantik {

/// A date box of the chart window that cannot go into the statement.
class ChartDateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The claims chart statement: claims of MEDICARE..tbMedElectronicClaimStatus
/// counted by month received ("m-yyyy") and status, sorted by the month text.
/// An empty box leaves its bound out; the start date goes in as typed, the end
/// date as the day after it so that the whole end day counts. Throws
/// ChartDateError when either date is not one the database can hold.
QString buildChartStatement(const QString& startDate, const QString& endDate);

} // namespace vantik
