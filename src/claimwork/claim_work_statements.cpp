#include "claimwork/claim_work_statements.h"

#include "host/data/sql_quote.h"

namespace vantik::claimwork {

bool isOutPatientId(const QString& idNum)
{
    return idNum.contains(u'B', Qt::CaseSensitive);
}

QString heightWeightStatement(const QString& idNum)
{
    // The texts keep the HIS's own spacing, so a trace of the server shows them as always.
    if (isOutPatientId(idNum)) {
        return QStringLiteral(" SELECT Height,Weight  ")
            + QStringLiteral(" FROM Patient_Data..tbOutPatientHistory WITH (NOLOCK) WHERE")
            + QStringLiteral(" IDNum = '") + sqlQuote(idNum) + QStringLiteral("'  ");
    }
    return QStringLiteral(" SELECT Height,Weight ")
        + QStringLiteral(" FROM  Patient_Data..tbPatientHistory  WITH (NOLOCK) WHERE  ")
        + QStringLiteral("  IDNum = '") + sqlQuote(idNum) + QStringLiteral("'  ");
}

OleColor heightWeightColor(bool recordFound, const QString& height, const QString& weight)
{
    if (!recordFound)
        return kOleYellow;
    if (height.trimmed().isEmpty() || weight.trimmed().isEmpty())
        return kOleRed;
    return kOleGreen;
}

QString courseCountStatement(const QString& idNum)
{
    return QStringLiteral("SELECT count(1) FROM STATION..tbCourseWard WHERE ") + QStringLiteral(" IDNum='")
        + sqlQuote(idNum) + QStringLiteral("'");
}

QString guEntryStatement(const QString& idNum)
{
    return QStringLiteral("SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE ") + QStringLiteral(" IDNum='")
        + sqlQuote(idNum) + QStringLiteral("'") + QStringLiteral(" AND AreaCat='PhysicalExam' ")
        + QStringLiteral(" AND AreaSubCat='GU(IE)' ") + QStringLiteral(" AND Description='OTHERS' ");
}

bool qualifiesForGuMarking(GuMarking marking, const QString& sex, const QString& isChemo,
                           const QString& isHemoDialysis)
{
    const QString set = QStringLiteral("True");
    switch (marking) {
    case GuMarking::NotApplicable:
        return sex == QLatin1String("M");
    case GuMarking::NotAssessed:
        return sex == QLatin1String("F") && (isChemo == set || isHemoDialysis == set);
    }
    return false;
}

QString guRemark(GuMarking marking)
{
    return marking == GuMarking::NotApplicable ? QStringLiteral("Not Applicable") : QStringLiteral("Not Assessed");
}

} // namespace vantik::claimwork
