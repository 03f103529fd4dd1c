#pragma once

#include <QString>
#include <QStringList>

namespace vantik::test {

/// Options of the worklist statement that change its shape.
struct WorklistShape {
    bool outPatient = false;
    bool dischargeDate = false; // search by DCRDATE instead of ADMDATE
    bool top500 = true;
    bool sorted = false;
    bool allFilters = false;    // every text filter, check box and option that adds a fragment
    QString idNum;              // given: the date and name filters are left out
};

/// The worklist statement, fragment by fragment as the main window assembles it.
QString worklistStatement(const WorklistShape& shape);

/// Every per-row and window statement of the program, built with the given identifier
/// or dates: vitals, height/weight, course count, GU entry, drugs, claims chart.
QStringList perRowStatements(const QString& idNum);
QString chartStatement(const QString& startDate, const QString& endDatePlusOne);

} // namespace vantik::test
