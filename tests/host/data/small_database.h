#pragma once

#include <QString>

namespace vantik::test {

/// Writes the four database files of the embedded engine into a folder, with a few
/// small tables whose rows the data-layer tests know by heart:
///   Patient_Data..tbPatient(IDNum PK, HospNum, ADMDATE, DCRDATE, LastName, IsChemo BIT, Amount DECIMAL)
///   Patient_Data..tbPatientMedicine(ID INTEGER PK, IDNum, GenericName, Quantity DECIMAL, Dosage, Route, UnitCode, TotalAmount)
///   Patient_Data..tbPatientConditions(ID INTEGER PK, IDNum, AreaCat, AreaSubCat, Description, Code, Result, Remarks, CreatedBy DEFAULT 'SYSTEM')
///   Patient_Data..tbNoKey(Name)
///   Build_File..tbcoService, Station..tbCourseWard, MEDICARE..tbMedElectronicClaimStatus (empty)
void writeSmallDatabase(const QString& folder);

} // namespace vantik::test
