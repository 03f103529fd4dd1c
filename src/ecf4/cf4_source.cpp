#include "ecf4/cf4_source.h"

#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/sql_quote.h"
#include "host/data/value_text.h"

#include <algorithm>

namespace vantik::ecf4 {

namespace {

QString literal(const QString& text)
{
    return QLatin1Char('\'') + sqlQuote(text) + QLatin1Char('\'');
}

// SQL Server's default collation: letter case and trailing blanks do not count.
QString keyPart(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end).toCaseFolded();
}

QString codeKey(const QString& a, const QString& b, const QString& c)
{
    return keyPart(a) + QChar(0x1f) + keyPart(b) + QChar(0x1f) + keyPart(c);
}

template <typename Row, typename Fill>
QList<Row> rowsOf(const ResultSet& result, Fill fill)
{
    QList<Row> rows;
    rows.reserve(result.rowCount());
    for (int r = 0; r < result.rowCount(); ++r)
        rows.push_back(fill(r));
    return rows;
}

// The export reads committed data only (no NOLOCK): a document for the insurer
// must not carry a clerk's half-saved change.
QString historyStatement(const QString& id, bool outPatient)
{
    if (outPatient)
        return QStringLiteral(
                   "SELECT HistoryDate, ChiefComplaint, Height, Weight, BloodPressure, Temperature, PulseRate, "
                   "RespiratoryRate FROM Patient_Data..tbOutPatientHistory WHERE IDNum = %1 "
                   "ORDER BY HistoryDate, ChiefComplaint, Height, Weight, BloodPressure, Temperature, PulseRate, "
                   "RespiratoryRate")
            .arg(id);
    return QStringLiteral("SELECT HistoryDate, ChiefComplaint, Height, Weight FROM Patient_Data..tbPatientHistory "
                          "WHERE IDNum = %1 ORDER BY HistoryDate, ChiefComplaint, Height, Weight")
        .arg(id);
}

} // namespace

MissingTablesError::MissingTablesError(QStringList tables)
    : std::runtime_error(
          QStringLiteral("The claims database (MEDICARE) lacks the table%1 that the eCF4 needs: %2. Ask the database "
                         "administrator to create %3 as docs/sql-server.md shows.")
              .arg(tables.size() == 1 ? QString() : QStringLiteral("s"), tables.join(QStringLiteral(", ")),
                   tables.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"))
              .toStdString())
    , m_tables(std::move(tables))
{
}

void requireCf4Tables(Connection& connection)
{
    QStringList missing;
    for (const char* table : {kFacilityTable, kFindingCodeTable, kDrugCodeTable, kEntryTable}) {
        try {
            connection.tableColumns({QStringLiteral("MEDICARE"), QLatin1String(table)});
        } catch (const DatabaseError&) {
            missing << QStringLiteral("MEDICARE..") + QLatin1String(table);
        }
    }
    if (!missing.isEmpty())
        throw MissingTablesError(missing);
}

Facility readFacility(Connection& connection)
{
    const ResultSet row = connection.execute(
        QStringLiteral("SELECT HciAccreNo, CertificationID, UserName FROM MEDICARE..tbCF4Facility WHERE FacilityID = 1"));
    return {row.text(0, 0).trimmed(), row.text(0, 1).trimmed(), row.text(0, 2).trimmed()};
}

CodeTables CodeTables::read(Connection& connection)
{
    CodeTables tables;
    const ResultSet findings = connection.execute(
        QStringLiteral("SELECT AreaCat, AreaSubCat, Description, Library, LibraryID FROM MEDICARE..tbCF4FindingCode"));
    for (int r = 0; r < findings.rowCount(); ++r)
        tables.addFinding(findings.text(r, 0), findings.text(r, 1), findings.text(r, 2),
                          {findings.text(r, 3).trimmed(), findings.text(r, 4).trimmed()});
    const ResultSet drugs = connection.execute(QStringLiteral(
        "SELECT HisGenericName, HisDosage, HisUnitCode, DrugCode, GenericCode, SaltCode, StrengthCode, FormCode, "
        "UnitCode, PackageCode FROM MEDICARE..tbCF4DrugCode"));
    for (int r = 0; r < drugs.rowCount(); ++r) {
        DrugCode code{drugs.text(r, 3).trimmed(), {}};
        for (int p = 0; p < 6; ++p)
            code.parts[std::size_t(p)] = drugs.text(r, 4 + p).trimmed();
        tables.addDrug(drugs.text(r, 0), drugs.text(r, 1), drugs.text(r, 2), std::move(code));
    }
    return tables;
}

void CodeTables::addFinding(const QString& area, const QString& subArea, const QString& description, FindingCode code)
{
    const QString subAreaKey = codeKey(area, subArea, QString());
    const auto known = m_subAreaLibraries.constFind(subAreaKey);
    if (known == m_subAreaLibraries.constEnd())
        m_subAreaLibraries.insert(subAreaKey, code.library);
    else if (known->compare(code.library, Qt::CaseInsensitive) != 0)
        m_subAreaLibraries.insert(subAreaKey, QString());
    m_findings.insert(codeKey(area, subArea, description), std::move(code));
}

QString CodeTables::subAreaLibrary(const QString& area, const QString& subArea) const
{
    return m_subAreaLibraries.value(codeKey(area, subArea, QString()));
}

void CodeTables::addDrug(const QString& genericName, const QString& dosage, const QString& unit, DrugCode code)
{
    m_drugs.insert(codeKey(genericName, dosage, unit), std::move(code));
}

const FindingCode* CodeTables::finding(const QString& area, const QString& subArea, const QString& description) const
{
    const auto found = m_findings.constFind(codeKey(area, subArea, description));
    return found == m_findings.constEnd() ? nullptr : &*found;
}

const DrugCode* CodeTables::drug(const QString& genericName, const QString& dosage, const QString& unit) const
{
    const auto found = m_drugs.constFind(codeKey(genericName, dosage, unit));
    return found == m_drugs.constEnd() ? nullptr : &*found;
}

std::optional<Cf4Source> readCf4Source(Connection& connection, const QString& idNum)
{
    const QString id = literal(idNum);
    Cf4Source source;
    source.idNum = idNum;
    source.outPatient = idNum.contains(QLatin1Char('B'));

    const ResultSet header = connection.execute(
        QStringLiteral("SELECT P.ADMDATE, P.MedicareType, P.BriefHistory, M.LastName, M.FirstName, M.MiddleName, "
                       "M.Sex, M.BirthDate, M.PhilHealthNum FROM %1 P "
                       "LEFT JOIN Patient_Data..tbMaster M ON M.HospNum = P.HospNum WHERE P.IDNum = %2")
            .arg(source.outPatient ? QStringLiteral("Patient_Data..tbOutPatient") : QStringLiteral("Patient_Data..tbPatient"),
                 id));
    if (header.rowCount() == 0)
        return std::nullopt;
    source.admitted = header.text(0, 0);
    source.medicareType = header.text(0, 1);
    source.briefHistory = header.text(0, 2);
    source.lastName = header.text(0, 3);
    source.firstName = header.text(0, 4);
    source.middleName = header.text(0, 5);
    source.sex = header.text(0, 6);
    source.birthDate = header.text(0, 7);
    source.philHealthNum = header.text(0, 8);

    const ResultSet histories = connection.execute(historyStatement(id, source.outPatient));
    source.histories = rowsOf<Cf4Source::History>(histories, [&](int r) {
        return Cf4Source::History{histories.text(r, 0), histories.text(r, 1), histories.text(r, 2), histories.text(r, 3)};
    });
    if (source.outPatient) {
        // A visit's vital signs are on its history records.
        source.vitals = rowsOf<Cf4Source::Vitals>(histories, [&](int r) {
            return Cf4Source::Vitals{histories.text(r, 0), histories.text(r, 4), histories.text(r, 5),
                                     histories.text(r, 6), histories.text(r, 7)};
        });
    } else {
        const ResultSet vitals = connection.execute(
            QStringLiteral("SELECT VitalDate, BP, Temperature, PulseRate, RespRate FROM Station..tbNurseVitalSigns "
                           "WHERE IDNum = %1 ORDER BY VitalDate, BP, Temperature, PulseRate, RespRate")
                .arg(id));
        source.vitals = rowsOf<Cf4Source::Vitals>(vitals, [&](int r) {
            return Cf4Source::Vitals{vitals.text(r, 0), vitals.text(r, 1), vitals.text(r, 2), vitals.text(r, 3),
                                     vitals.text(r, 4)};
        });
    }

    const ResultSet conditions = connection.execute(
        QStringLiteral("SELECT AreaCat, AreaSubCat, Description, Remarks FROM Patient_Data..tbPatientConditions "
                       "WHERE IDNum = %1 AND AreaCat IN ('SignsSymptoms', 'PhysicalExam') "
                       "ORDER BY AreaCat, AreaSubCat, Description, Remarks")
            .arg(id));
    source.conditions = rowsOf<Cf4Source::Condition>(conditions, [&](int r) {
        return Cf4Source::Condition{conditions.text(r, 0), conditions.text(r, 1), conditions.text(r, 2),
                                    conditions.text(r, 3)};
    });

    const ResultSet notes = connection.execute(
        QStringLiteral("SELECT CourseDate, CourseNotes FROM Station..tbCourseWard WHERE IDNum = %1 "
                       "ORDER BY CourseDate, CourseNotes")
            .arg(id));
    source.notes = rowsOf<Cf4Source::Note>(notes, [&](int r) {
        return Cf4Source::Note{notes.text(r, 0), notes.text(r, 1)};
    });

    const ResultSet drugs = connection.execute(
        QStringLiteral("SELECT OrderDate, GenericName, Dosage, UnitCode, Route, Quantity, TotalAmount "
                       "FROM Patient_Data..tbPatientMedicine WHERE IDNum = %1 "
                       "ORDER BY OrderDate, GenericName, Dosage, UnitCode, Route, Quantity, TotalAmount")
            .arg(id));
    source.drugs = rowsOf<Cf4Source::Drug>(drugs, [&](int r) {
        return Cf4Source::Drug{drugs.text(r, 0), drugs.text(r, 1), drugs.text(r, 2), drugs.text(r, 3),
                               drugs.text(r, 4), drugs.text(r, 5), drugs.text(r, 6)};
    });

    const ResultSet entry = connection.execute(
        QStringLiteral("SELECT GenSurveyID, GenSurveyRemarks, PastMedicalHistory, MensApplicable, LastMensPeriod, "
                       "PregnancyCount, DeliveryCount, FullTermCount, PrematureCount, AbortionCount, "
                       "LivingChildrenCount, PainSite, OtherComplaint FROM MEDICARE..tbCF4Entry WHERE IDNum = %1")
            .arg(id));
    Cf4Source::Entry& e = source.entry;
    e.genSurveyId = entry.text(0, 0);
    e.genSurveyRemarks = entry.text(0, 1);
    e.pastHistory = entry.text(0, 2);
    e.mensApplicable = entry.text(0, 3);
    e.lastPeriod = entry.text(0, 4);
    for (int c = 0; c < 6; ++c)
        e.pregnancyCounts[std::size_t(c)] = entry.text(0, 5 + c);
    e.painSite = entry.text(0, 11);
    e.otherComplaint = entry.text(0, 12);
    return source;
}

QStringList claimsRegistered(Connection& connection, const QDate& from, const QDate& to)
{
    struct Registered {
        QDateTime at;
        QString idNum;
    };
    std::vector<Registered> claims;
    for (const char* table : {"Patient_Data..tbPatient", "Patient_Data..tbOutPatient"}) {
        const ResultSet rows = connection.execute(
            QStringLiteral("SELECT IDNum, ADMDATE FROM %1 WHERE ADMDATE >= '%2' AND ADMDATE < '%3' "
                           "AND MedicareType NOT IN ('', 'nn') ORDER BY ADMDATE, IDNum")
                .arg(QLatin1String(table), sqlDateLiteral(from), sqlDateLiteral(to.addDays(1))));
        for (int r = 0; r < rows.rowCount(); ++r)
            claims.push_back({valueDateTime(rows.text(r, 1)), rows.text(r, 0)});
    }
    std::stable_sort(claims.begin(), claims.end(),
                     [](const Registered& a, const Registered& b) { return a.at < b.at; });
    QStringList ids;
    ids.reserve(qsizetype(claims.size()));
    for (const Registered& claim : claims)
        ids << claim.idNum;
    return ids;
}

QDate dateOfText(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QDate();
    return valueDateTime(QVariant(text.trimmed())).date();
}

} // namespace vantik::ecf4
