#include "reports/accomplishment_report.h"

#include "host/ui/flex_grid.h"
#include "worklist/worklist_columns.h"

namespace vantik {

std::vector<ReportSourceRow> reportSourceRows(const FlexGrid& worklist, int doctorColumn)
{
    std::vector<ReportSourceRow> rows;
    const int last = worklist.rowCount() - 1;
    rows.reserve(std::max(last, 0));
    for (int row = 1; row <= last; ++row)
        rows.push_back({worklist.text(row, worklist::Service), worklist.text(row, doctorColumn),
                        worklist.text(row, worklist::CF4VerifiedBy)});
    return rows;
}

QStringList accomplishmentReportRows(const std::vector<ReportSourceRow>& rows)
{
    QStringList report;
    QString service;
    QString doctor;
    // Plain ints: a long worklist must not wrap the counts.
    int complete = 0;
    int incomplete = 0;
    const auto closeGroup = [&] {
        if (!doctor.isEmpty())
            report.append(QLatin1Char('\t') + doctor + QLatin1Char('\t') + QString::number(complete) + QLatin1Char('\t')
                          + QString::number(incomplete));
    };
    const auto startGroup = [&](const QString& nextDoctor) {
        doctor = nextDoctor;
        complete = 0;
        incomplete = 0;
    };

    for (const ReportSourceRow& row : rows) {
        if (row.service != service) {
            closeGroup();
            report.append(QLatin1Char(' ') + row.service);
            service = row.service;
            startGroup(row.doctor);
        } else if (row.doctor != doctor) {
            closeGroup();
            startGroup(row.doctor);
        }
        if (row.verifiedBy.isEmpty())
            ++incomplete;
        else
            ++complete;
    }
    closeGroup();
    return report;
}

} // namespace vantik
