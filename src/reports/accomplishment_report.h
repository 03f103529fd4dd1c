#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vantik {

class FlexGrid;

/// What the accomplishment report reads of one worklist row.
struct ReportSourceRow {
    QString service;
    QString doctor;
    QString verifiedBy; // CF4VerifiedBy: any text makes the row Complete
};

/// The data rows of the worklist grid, from row 1 to the last, with the doctor
/// taken from doctorColumn (Doctor1 or AdmittingDr).
std::vector<ReportSourceRow> reportSourceRows(const FlexGrid& worklist, int doctorColumn);

/// The report's data rows as the tab-separated texts the report grid appends:
/// " " + service for a service heading, "" TAB doctor TAB complete TAB incomplete
/// for a doctor. A group runs while service and doctor stay the same between
/// consecutive rows (exact comparison); groups without a doctor are not written,
/// and leading rows without a service get no heading.
QStringList accomplishmentReportRows(const std::vector<ReportSourceRow>& rows);

} // namespace vantik
