#include "worklist/worklist_statement.h"

#include "host/data/sql_quote.h"
#include "worklist/filter_dates.h"

namespace vantik {

QString buildWorklistStatement(const WorklistFilter& filter, int sortFlag)
{
    const bool in = !filter.outPatient;
    const QString dateColumn = filter.byDischargeDate ? QStringLiteral("DCRDATE") : QStringLiteral("ADMDATE");
    const QString table = in ? QStringLiteral("tbPatient") : QStringLiteral("tbOutPatient");

    QString s;
    s.reserve(2400);
    s += QLatin1String("SELECT ");
    if (filter.top500)
        s += QLatin1String(" TOP 500 ");
    s += QLatin1String("P.hospnum,P.IdNum,");
    s += QLatin1String("convert(varchar, P.admdate, 0) AS RegDate ,");
    s += QLatin1String("convert(varchar, P.dcrdate, 0) AS [Discharge Date] ,");
    s += QLatin1String("M.LastName + ', ' + M.FirstName  as [Patient Name], ");
    s += QLatin1String("BriefHistory,");
    s += QLatin1String("isHemoDialysis ,");
    s += QLatin1String("NP.CF4Status,");
    s += QLatin1String("NP.CF4AssignedTo,");
    s += QLatin1String("NP.CF4OpenBy,");
    s += QLatin1String("convert(varchar, NP.CF4OpenON,0) as 'Open On',");
    s += QLatin1String("convert(varchar, NP.CF4VerifiedOn,0) AS VerifiedON,");
    s += QLatin1String("NP.CF4VerifiedBy,");
    s += QLatin1String("MedicareType");
    s += in ? QLatin1String(",OPDIDNum,''") : QLatin1String(",'' AS OPDIDNum,HemoNum   ");
    s += QLatin1String(",IsChemo  ");
    s += QLatin1String(",Sex");
    s += QLatin1String(",(SELECT LastName + ', ' + FirstName + '  [' + SPE.Specialization + ']' FROM "
                       "BUILD_FILE..tbcoDoctor DOC  WITH (NOLOCK) left outer join Build_FIle..tbCoSpecialization "
                       "SPE WITH (NOLOCK) ON doc.SpecializationID =  SPE.SpecializationID  WHERE ");
    if (in) {
        s += QLatin1String("   DoctorID=AttendingDr1) as Doctor1");
        s += QLatin1String(",(SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH (NOLOCK) WHERE "
                           "SER.ServiceID = P.ServiceID) AS Service   ");
        s += QLatin1String(",AttendingDr1 ");
    } else {
        s += QLatin1String("   DoctorID=DoctorID1) as Doctor1");
        s += QLatin1String(",(SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH (NOLOCK) WHERE "
                           "SER.ServiceID = P.ServiceID1) AS Service  ");
        s += QLatin1String(",DoctorID1 ");
    }
    s += QLatin1String(",(case  WHEN P.AccountNum<>P.hospnum then  (SELECT TOP 1 cc.Company from "
                       "Build_FIle..tbCoCompany CC WITH (NOLOCK) WHERE CC.AccountNum = P.AccountNum) ELSE   "
                       "'PERSONAL ' + P.AccountNum END) ACCOUNT ");
    s += QLatin1String(",DATEDIFF(day,admdate,dcrdate) AS [Length Stay] ");
    s += in ? QLatin1String(",(SELECT LastName + ', ' + FirstName FROM BUILD_FILE..tbcoDoctor WITH (NOLOCK) "
                            "WHERE DoctorID=AdmittingDr) as AdmittingDr")
            : QLatin1String(",''");
    s += QLatin1String(" FROM Patient_Data..") + table + QLatin1String(" AS P  WITH (NOLOCK)    ");
    s += QLatin1String(" INNER JOIN PATIENT_DATA..tbMaster  M  WITH (NOLOCK) ON P.HospNum=M.HospNum");
    s += QLatin1String(" LEFT OUTER JOIN Station..tbNurseProfile NP WITH (NOLOCK) ON P.IDNUM=NP.IDNUM ");
    s += QLatin1String(" ");
    s += QLatin1String("WHERE 1=1 ");

    if (!filter.hospNum.isEmpty())
        s += QLatin1String(" AND p.HOSPNUM  = '") + sqlQuote(filter.hospNum) + QLatin1String("'");
    if (!filter.idNum.isEmpty()) {
        // One admission asked for by number: the date and name filters do not apply.
        s += QLatin1String(" AND p.IDNum  = '") + sqlQuote(filter.idNum) + QLatin1String("'");
    } else {
        if (!filter.startDate.isEmpty()) {
            if (const QString problem = dateBoundProblem(DateBound::Start, filter.startDate); !problem.isEmpty())
                throw FilterError(problem.toStdString());
            s += QLatin1String(" AND ") + dateColumn + QLatin1String(" >= '") + sqlQuote(filter.startDate)
                 + QLatin1String("'");
        }
        if (!filter.endDate.isEmpty()) {
            const auto bound = upperDateBound(filter.endDate);
            if (!bound)
                throw FilterError(dateBoundProblem(DateBound::End, filter.endDate).toStdString());
            s += QLatin1String(" AND ") + dateColumn + QLatin1String(" <= '") + *bound + QLatin1String("'");
        }
        if (!filter.lastName.isEmpty())
            s += QLatin1String(" AND LastName like  '") + sqlQuote(filter.lastName) + QLatin1String("%'");
        if (!filter.firstName.isEmpty())
            s += QLatin1String(" AND FirstName like  '") + sqlQuote(filter.firstName) + QLatin1String("%'");
    }
    if (filter.hemoPatient)
        s += QLatin1String(" AND isHemoDialysis=1 ");
    if (filter.chemo)
        s += QLatin1String(" AND isChemo=1 ");
    // Only visits that do have a hemodialysis number: neither NULL nor empty.
    if (filter.hasHemoNum && !in)
        s += QLatin1String(" AND (HemoNum IS NOT NULL AND HemoNum <> '') ");
    if (filter.medicare)
        s += QLatin1String(" AND MedicareType not in ('', 'nn') ");
    if (filter.discharged == DischargeFilter::No)
        s += QLatin1String(" AND DCRDATE IS NULL ");
    else if (filter.discharged == DischargeFilter::Yes)
        s += QLatin1String(" AND DCRDATE IS NOT NULL ");
    if (filter.unverifiedOnly)
        s += QLatin1String(" AND CF4VerifiedOn IS NULL ");
    if (filter.verifiedOnly)
        s += QLatin1String(" AND CF4VerifiedOn IS NOT NULL ");
    if (!filter.doctorId.isEmpty())
        s += (in ? QLatin1String(" AND AttendingDr1 = '") : QLatin1String(" AND DoctorID1 = '"))
             + sqlQuote(filter.doctorId) + QLatin1String("'");
    if (!filter.assignedTo.isEmpty())
        s += QLatin1String(" AND NP.CF4AssignedTo like '%") + sqlQuote(filter.assignedTo) + QLatin1String("%'");
    if (!filter.verifiedBy.isEmpty())
        s += QLatin1String(" AND NP.CF4VerifiedBy like '%") + sqlQuote(filter.verifiedBy) + QLatin1String("%'");
    if (!filter.changedBy.isEmpty())
        s += QLatin1String(" AND NP.ChangeBy like '%") + sqlQuote(filter.changedBy) + QLatin1String("%'");
    if (!filter.openBy.isEmpty())
        s += QLatin1String(" AND NP.CF4OpenBy like '%") + sqlQuote(filter.openBy) + QLatin1String("%'");
    if (sortFlag == 1)
        s += in ? QLatin1String(" ORDER BY Service,AttendingDr1,CF4VerifiedBy ")
                : QLatin1String(" ORDER BY Service,DoctorID1,CF4VerifiedBy ");
    return s;
}

} // namespace vantik
