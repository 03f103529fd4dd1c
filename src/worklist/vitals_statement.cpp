#include "worklist/vitals_statement.h"

#include "host/data/recordset.h"
#include "host/data/sql_quote.h"
#include "worklist/worklist_statement.h"

namespace vantik {

QString vitalsStatement(const QString& idNum)
{
    if (isOutPatientId(idNum))
        return QStringLiteral(" SELECT Temperature,RespiratoryRate as RespRate,BloodPressure as BP,PulseRate ")
               + QStringLiteral(" FROM Patient_Data..tbOutPatientHistory WITH (NOLOCK) WHERE") + QStringLiteral(" IDNum = '")
               + sqlQuote(idNum) + QStringLiteral("'  ");
    return QStringLiteral(" SELECT  Temperature,RespRate,BP,PulseRate ")
           + QStringLiteral(" FROM  Station..tbNurseVitalSigns WITH (NOLOCK) WHERE  ") + QStringLiteral("  IDNum = '")
           + sqlQuote(idNum) + QStringLiteral("'  ");
}

QString vitalsLine(const QString& idNum, const Recordset& vitals)
{
    if (vitals.eof())
        return idNum + QStringLiteral(": No Vitals");
    return idNum + QStringLiteral(": BP: ") + vitals.field(QStringLiteral("BP")) + u' '
           + vitals.field(QStringLiteral("Temperature")) + u' ' + vitals.field(QStringLiteral("PulseRate")) + u' '
           + vitals.field(QStringLiteral("RespRate"));
}

} // namespace vantik
