#include "host/data/table_rights.h"

#include "host/data/connection.h"
#include "host/data/sql_quote.h"

namespace vantik {

const std::vector<TableRight>& requiredTableRights()
{
    // One line per table. A table the program starts to read or write is added
    // here, and to the table in docs/sql-server.md (a test compares the two).
    static const std::vector<TableRight> rights = {
        {"Patient_Data", "tbPatient", "SELECT, UPDATE", "worklist, reports, claim form, days used", "brief history"},
        {"Patient_Data", "tbOutPatient", "SELECT, UPDATE", "worklist, reports, claim form, days used", "brief history"},
        {"Patient_Data", "tbMaster", "SELECT", "worklist, reports, claim form, days used", ""},
        {"Patient_Data", "tbPatientHistory", "SELECT, INSERT, UPDATE", "Check HT/WT, claim form",
         "height/weight, chief complaint"},
        {"Patient_Data", "tbOutPatientHistory", "SELECT, INSERT, UPDATE",
         "vital signs with the refresh, Check HT/WT, claim form",
         "out-patients' vital signs, height/weight and chief complaint"},
        {"Patient_Data", "tbPatientConditions", "SELECT, INSERT, UPDATE, DELETE", "claim form, GU marking",
         "GU marking, signs and symptoms, physical exam"},
        {"Patient_Data", "tbPatientMedicine", "SELECT, UPDATE", "claim form, drug listing", "drug update"},
        {"Build_File", "tbcoDoctor", "SELECT", "worklist, reports, claim form, doctors' orders", ""},
        {"Build_File", "tbCoSpecialization", "SELECT", "worklist, reports", ""},
        {"Build_File", "tbcoService", "SELECT", "worklist, reports, claim form", ""},
        {"Build_File", "tbCoCompany", "SELECT", "worklist, reports", ""},
        {"Build_File", "tbcoUsers", "SELECT, UPDATE", "log-in", "stronger password hash at log-in"},
        {"Station", "tbNurseProfile", "SELECT, INSERT, UPDATE", "worklist, reports, claim form", "Mark verified"},
        {"Station", "tbNurseVitalSigns", "SELECT, INSERT", "vital signs with the refresh, claim form", "vital signs"},
        {"Station", "tbDoctorOrders", "SELECT", "doctors' orders, orders import", ""},
        {"Station", "tbCourseWard", "SELECT, INSERT", "Count course in the ward, claim form, orders import",
         "course notes, orders import"},
        {"MEDICARE", "tbMedElectronicClaimStatus", "SELECT", "claims chart", ""},
        {"MEDICARE", "tbCF4Facility", "SELECT, INSERT, UPDATE", "eCF4 check and export",
         "PhilHealth Codes (facility values)"},
        {"MEDICARE", "tbCF4FindingCode", "SELECT, INSERT, UPDATE", "eCF4 check and export, claim form",
         "PhilHealth Codes; the claim form adds PhilHealth's words for an entry the HIS has none for"},
        {"MEDICARE", "tbCF4DrugCode", "SELECT, INSERT, UPDATE", "eCF4 check and export", "PhilHealth Codes"},
        {"MEDICARE", "tbCF4Entry", "SELECT, INSERT, UPDATE", "eCF4 check and export, claim form", "claim form"},
    };
    return rights;
}

QString tableRightsStatement(const std::vector<TableRight>& rights)
{
    // The program names its tables db..table (the log-in's default schema); the
    // right is asked of the table that name finds, by its three-part name.
    QStringList values;
    for (const TableRight& entry : rights) {
        for (const QString& right : QString::fromLatin1(entry.rights).split(QLatin1Char(','))) {
            values << QStringLiteral("(N'%1', N'%2', N'%3')")
                          .arg(sqlQuote(QString::fromLatin1(entry.database)), sqlQuote(QString::fromLatin1(entry.table)),
                               right.trimmed());
        }
    }
    return QStringLiteral(
               "SELECT R.DatabaseName, R.TableName, R.RightName, "
               "HAS_PERMS_BY_NAME(QUOTENAME(R.DatabaseName) + N'.' + QUOTENAME(OBJECT_SCHEMA_NAME(OBJECT_ID("
               "QUOTENAME(R.DatabaseName) + N'..' + QUOTENAME(R.TableName)), DB_ID(R.DatabaseName))) + N'.' + "
               "QUOTENAME(R.TableName), N'OBJECT', R.RightName) AS Granted "
               "FROM (VALUES %1) AS R (DatabaseName, TableName, RightName)")
        .arg(values.join(QStringLiteral(", ")));
}

std::vector<MissingRight> missingTableRights(Connection& connection, const std::vector<TableRight>& rights)
{
    std::vector<MissingRight> missing;
    if (!connection.hasTableRights())
        return missing;
    const RawResult answer = connection.fetch(tableRightsStatement(rights));
    for (const auto& row : answer.rows) {
        if (row.size() < 4)
            continue;
        // NULL: the table is not there, or the log-in cannot even see it.
        if (!row[3].isNull() && row[3].toInt() == 1)
            continue;
        const QString database = row[0].toString();
        const QString table = row[1].toString();
        const QString right = row[2].toString();
        QString usedBy;
        for (const TableRight& entry : rights) {
            if (database.compare(QLatin1String(entry.database), Qt::CaseInsensitive) == 0
                && table.compare(QLatin1String(entry.table), Qt::CaseInsensitive) == 0)
                usedBy = QString::fromLatin1(right == QLatin1String("SELECT") ? entry.readBy : entry.writtenBy);
        }
        missing.push_back({right, database + QStringLiteral("..") + table, usedBy});
    }
    return missing;
}

QString missingRightsMessage(const std::vector<MissingRight>& missing)
{
    if (missing.empty())
        return QString();
    QStringList named;
    for (const MissingRight& right : missing)
        named << QStringLiteral("%1 on %2 (%3)").arg(right.right, right.table, right.usedBy);
    return QStringLiteral("The SQL log-in lacks rights the program needs, so what needs them will fail until the "
                          "database administrator grants them: %1.")
        .arg(named.join(QStringLiteral("; ")));
}

} // namespace vantik
