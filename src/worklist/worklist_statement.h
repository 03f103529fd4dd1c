#pragma once

#include <QString>
#include <QStringView>

#include <stdexcept>

namespace vantik {

enum class DischargeFilter { All = 0, No = 1, Yes = 2 };

/// The clerk's filter set as the main window's controls hold it. Texts are used
/// exactly as typed; an empty text is no filter.
struct WorklistFilter {
    bool outPatient = false;     // "Out" patient type
    bool byDischargeDate = false; // "Discharge" search date
    QString hospNum;
    QString idNum;
    QString startDate;
    QString endDate;
    QString lastName;
    QString firstName;
    bool top500 = true;
    bool hemoPatient = false;
    bool chemo = false;
    bool hasHemoNum = false;
    bool medicare = false;
    DischargeFilter discharged = DischargeFilter::All;
    bool unverifiedOnly = false;
    bool verifiedOnly = false;
    QString doctorId;
    QString assignedTo;
    QString verifiedBy;
    QString changedBy;
    QString openBy;
};

/// The statement cannot be built from the filter set (a start or end date that is no date).
class FilterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An identifier holding an upper-case B anywhere is an out-patient visit's.
inline bool isOutPatientId(QStringView id)
{
    return id.contains(u'B');
}

/// The worklist query. Its select list is the worklist grid's row format (see
/// worklist_columns.h). sortFlag 1 orders by service, doctor and verifier; any
/// other value leaves the database's order. Throws FilterError.
QString buildWorklistStatement(const WorklistFilter& filter, int sortFlag);

} // namespace vantik
