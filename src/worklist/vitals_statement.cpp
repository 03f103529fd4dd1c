#include "worklist/vitals_statement.h"

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

QString vitalsLine(const QString& idNum, bool found, const QString& bp, const QString& temperature,
                   const QString& pulseRate, const QString& respRate)
{
    if (!found)
        return idNum + QStringLiteral(": No Vitals");
    return idNum + QStringLiteral(": BP: ") + bp + u' ' + temperature + u' ' + pulseRate + u' ' + respRate;
}

} // namespace vantik
