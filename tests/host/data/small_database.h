#pragma once

#include "host/data/connection.h"

#include <QString>

#include <memory>

namespace vantik::test {

/// Writes the four database files of the embedded engine into a folder, with a few
/// small tables whose rows the data-layer tests know by heart:
///   Patient_Data..tbPatient(IDNum PK, HospNum, ADMDATE, DCRDATE, LastName, IsChemo BIT, Amount DECIMAL)
///   Patient_Data..tbPatientMedicine(ID INTEGER PK, IDNum, GenericName, Quantity DECIMAL, Dosage, Route, UnitCode, TotalAmount)
///   Patient_Data..tbPatientConditions(ID INTEGER PK, IDNum, AreaCat, AreaSubCat, Description, Code, Result, Remarks, CreatedBy DEFAULT 'SYSTEM')
///   Patient_Data..tbNoKey(Name)
///   Patient_Data..tbConditionsNoKey: tbPatientConditions without ID and key, plus Notes TEXT;
///     one GU entry of 2400001 and two identical ones of 2400003
///   Patient_Data..tbLongNotes(Body TEXT): no column that can identify a row
///   Build_File..tbcoService, Station..tbCourseWard, MEDICARE..tbMedElectronicClaimStatus (empty)
void writeSmallDatabase(const QString& folder);

/// The Patient_Data tables above for the SQLite ODBC driver, without the collation.
void writeSmallOdbcDatabase(const QString& folder);
/// A connection through the SQLite ODBC driver with those tables attached as Patient_Data.
std::unique_ptr<Connection> openSmallOdbcDatabase(const QString& folder);

} // namespace vantik::test
