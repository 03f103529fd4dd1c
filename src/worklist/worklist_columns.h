#pragma once

namespace vantik::worklist {

/// The worklist grid's row format: column index = position in the worklist
/// query's select list; row 0 is the header, data rows 1 to rowCount() - 1.
enum Column : int {
    HospNum = 0,
    IdNum = 1,
    RegDate = 2,
    DischargeDate = 3,
    PatientName = 4,
    BriefHistory = 5,
    IsHemoDialysis = 6,
    CF4Status = 7,
    CF4AssignedTo = 8,
    CF4OpenBy = 9,
    OpenOn = 10,
    VerifiedOn = 11,
    CF4VerifiedBy = 12,
    MedicareType = 13,
    OpdIdNum = 14,
    HemoNum = 15, // in-patients: an empty column without a name
    IsChemo = 16,
    Sex = 17,
    Doctor1 = 18,
    Service = 19,
    DoctorId = 20, // AttendingDr1 or DoctorID1
    Account = 21,
    LengthStay = 22,
    AdmittingDr = 23, // out-patients: an empty column without a name
    ColumnCount = 24,
};

} // namespace vantik::worklist
