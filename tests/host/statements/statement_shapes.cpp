#include "host/statements/statement_shapes.h"

namespace vantik::test {

QString worklistStatement(const WorklistShape& shape)
{
    const QString dateColumn = shape.dischargeDate ? "DCRDATE" : "ADMDATE";
    const QString table = shape.outPatient ? "tbOutPatient" : "tbPatient";
    QString s = "SELECT ";
    if (shape.top500)
        s += " TOP 500 ";
    s += "P.hospnum,P.IdNum,";
    s += "convert(varchar, P.admdate, 0) AS RegDate ,";
    s += "convert(varchar, P.dcrdate, 0) AS [Discharge Date] ,";
    s += "M.LastName + ', ' + M.FirstName  as [Patient Name], ";
    s += "BriefHistory,";
    s += "isHemoDialysis ,";
    s += "NP.CF4Status,";
    s += "NP.CF4AssignedTo,";
    s += "NP.CF4OpenBy,";
    s += "convert(varchar, NP.CF4OpenON,0) as 'Open On',";
    s += "convert(varchar, NP.CF4VerifiedOn,0) AS VerifiedON,";
    s += "NP.CF4VerifiedBy,";
    s += "MedicareType";
    s += shape.outPatient ? ",'' AS OPDIDNum,HemoNum   " : ",OPDIDNum,''";
    s += ",IsChemo  ";
    s += ",Sex";
    s += ",(SELECT LastName + ', ' + FirstName + '  [' + SPE.Specialization + ']' FROM BUILD_FILE..tbcoDoctor DOC  "
         "WITH (NOLOCK) left outer join Build_FIle..tbCoSpecialization SPE WITH (NOLOCK) ON doc.SpecializationID =  "
         "SPE.SpecializationID  WHERE ";
    if (!shape.outPatient) {
        s += "   DoctorID=AttendingDr1) as Doctor1";
        s += ",(SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH (NOLOCK) WHERE SER.ServiceID = "
             "P.ServiceID) AS Service   ";
        s += ",AttendingDr1 ";
    } else {
        s += "   DoctorID=DoctorID1) as Doctor1";
        s += ",(SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH (NOLOCK) WHERE SER.ServiceID = "
             "P.ServiceID1) AS Service  ";
        s += ",DoctorID1 ";
    }
    s += ",(case  WHEN P.AccountNum<>P.hospnum then  (SELECT TOP 1 cc.Company from Build_FIle..tbCoCompany CC WITH "
         "(NOLOCK) WHERE CC.AccountNum = P.AccountNum) ELSE   'PERSONAL ' + P.AccountNum END) ACCOUNT ";
    s += ",DATEDIFF(day,admdate,dcrdate) AS [Length Stay] ";
    s += shape.outPatient ? ",''"
                          : ",(SELECT LastName + ', ' + FirstName FROM BUILD_FILE..tbcoDoctor WITH (NOLOCK) WHERE "
                            "DoctorID=AdmittingDr) as AdmittingDr";
    s += " FROM Patient_Data.." + table + " AS P  WITH (NOLOCK)    ";
    s += " INNER JOIN PATIENT_DATA..tbMaster  M  WITH (NOLOCK) ON P.HospNum=M.HospNum";
    s += " LEFT OUTER JOIN Station..tbNurseProfile NP WITH (NOLOCK) ON P.IDNUM=NP.IDNUM ";
    s += " ";
    s += "WHERE 1=1 ";
    if (shape.allFilters)
        s += " AND p.HOSPNUM  = 'H0000001'";
    if (!shape.idNum.isEmpty()) {
        s += " AND p.IDNum  = '" + shape.idNum + "'";
    } else {
        s += " AND " + dateColumn + " >= '" + QString("11/01/2026") + "'";
        s += " AND " + dateColumn + " <= '" + QString("20261201") + "'";
        if (shape.allFilters) {
            s += " AND LastName like  'Dela%'";
            s += " AND FirstName like  'Ma%'";
        }
    }
    if (shape.allFilters) {
        s += " AND isHemoDialysis=1 ";
        s += " AND isChemo=1 ";
        if (shape.outPatient)
            s += " AND (HemoNum IS NOT NULL AND HemoNum <> '') ";
        s += " AND MedicareType not in ('', 'nn') ";
        s += " AND DCRDATE IS NOT NULL ";
        s += " AND CF4VerifiedOn IS NULL ";
        s += " AND CF4VerifiedOn IS NOT NULL ";
        s += shape.outPatient ? " AND DoctorID1 = 'D001'" : " AND AttendingDr1 = 'D001'";
        s += " AND NP.CF4AssignedTo like '%clerk%'";
        s += " AND NP.CF4VerifiedBy like '%clerk%'";
        s += " AND NP.ChangeBy like '%nurse%'";
        s += " AND NP.CF4OpenBy like '%clerk%'";
    }
    if (shape.sorted)
        s += shape.outPatient ? " ORDER BY Service,DoctorID1,CF4VerifiedBy " : " ORDER BY Service,AttendingDr1,CF4VerifiedBy ";
    return s;
}

QStringList perRowStatements(const QString& idNum)
{
    return {
        // vitals, out-patient and in-patient
        QString(" SELECT Temperature,RespiratoryRate as RespRate,BloodPressure as BP,PulseRate ")
            + " FROM Patient_Data..tbOutPatientHistory WITH (NOLOCK) WHERE" + " IDNum = '" + idNum + "'  ",
        QString(" SELECT  Temperature,RespRate,BP,PulseRate ") + " FROM  Station..tbNurseVitalSigns WITH (NOLOCK) WHERE  "
            + "  IDNum = '" + idNum + "'  ",
        // height and weight, out-patient and in-patient
        QString(" SELECT Height,Weight  ") + " FROM Patient_Data..tbOutPatientHistory WITH (NOLOCK) WHERE" + " IDNum = '"
            + idNum + "'  ",
        QString(" SELECT Height,Weight ") + " FROM  Patient_Data..tbPatientHistory  WITH (NOLOCK) WHERE  " + "  IDNum = '"
            + idNum + "'  ",
        // course count
        QString("SELECT count(1) FROM STATION..tbCourseWard WHERE ") + " IDNum='" + idNum + "'",
        // GU entry
        QString("SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE ") + " IDNum='" + idNum + "'"
            + " AND AreaCat='PhysicalExam' " + " AND AreaSubCat='GU(IE)' " + " AND Description='OTHERS' ",
        // drugs
        "select IDNum,GenericName,Quantity,Dosage,Route,UnitCode,TotalAmount from PATIENT_DATA..tbPatientMedicine WITH "
        "(NOLOCK)  WHERE IDNUM='"
            + idNum + "'",
    };
}

QString chartStatement(const QString& startDate, const QString& endDatePlusOne)
{
    QString s = " select CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS "
                "VARCHAR(4))  AS   ReportMonth,status as CNT, count(1) as CNT FROM MEDICARE..tbMedElectronicClaimStatus "
                "AS A   Where 1 = 1";
    if (!startDate.isEmpty())
        s += " AND ClaimDateReceived >= '" + startDate + "'";
    if (!endDatePlusOne.isEmpty())
        s += " AND ClaimDateReceived <= '" + endDatePlusOne + "'";
    s += " GROUP BY  CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS "
         "VARCHAR(4)),status  order by ReportMonth asc";
    return s;
}

} // namespace vantik::test
