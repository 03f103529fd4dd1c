#pragma once

#include <string>
#include <vector>

struct sqlite3;

namespace vantik {

/// One of the four files of the embedded HIS database, attached under `name`.
struct DemoDatabaseSchema {
    std::string name;                   ///< Patient_Data, Build_File, Station, MEDICARE
    std::vector<std::string> tables;    ///< CREATE TABLE statements
    std::vector<std::string> indexes;   ///< CREATE INDEX statements, run after the bulk load
};

/// The four files in attach order. Every text column is VARCHAR(n) COLLATE TSQL,
/// datetimes are DATETIME holding "YYYY-MM-DD HH:MM:SS.fff", flags BIT holding
/// 0/1, amounts DECIMAL(18,2)/MONEY: the declared types are how the program
/// tells the kinds apart.
///
/// The worklist query joins tbPatient (or tbOutPatient) P, tbMaster M and
/// tbNurseProfile NP and names many columns without a table: each of those
/// exists in exactly one of the three. Admission data (dates, doctors, service,
/// account, flags, BriefHistory, MedicareType) is in P, the person (names, Sex)
/// in M, the CF4 work state in NP. The doctor and service subqueries name
/// LastName, FirstName, DoctorID, Service unqualified, so those are kept out of
/// P and NP, and AttendingDr1, AdmittingDr, DoctorID1 out of the Build_File tables.
const std::vector<DemoDatabaseSchema>& demoSchema();

/// Runs the CREATE TABLE statements of one file (and its indexes when asked) on
/// an open connection where the TSQL collation is registered. Throws
/// std::runtime_error with SQLite's message.
void createDemoTables(sqlite3* db, const DemoDatabaseSchema& schema);
void createDemoIndexes(sqlite3* db, const DemoDatabaseSchema& schema);

} // namespace vantik
