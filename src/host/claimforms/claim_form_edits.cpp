#include "host/claimforms/claim_form_edits.h"

#include "host/claimforms/claim_form_verification.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"

namespace vantik {

namespace {

QString quoted(const QString& idNum)
{
    return QLatin1Char('\'') + sqlQuote(idNum) + QLatin1Char('\'');
}

QString visitStatement(const QString& idNum, bool outPatient)
{
    return QStringLiteral("SELECT IDNum, BriefHistory FROM Patient_Data..%1 WHERE IDNum = %2")
        .arg(outPatient ? QStringLiteral("tbOutPatient") : QStringLiteral("tbPatient"), quoted(idNum));
}

// The entry the GU marking overwrites: the same statement finds the same first entry.
QString guEntryStatement(const QString& idNum)
{
    return QStringLiteral("SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE  IDNum=%1 AND "
                          "AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND Description='OTHERS' ")
        .arg(quoted(idNum));
}

// The record the height/weight check reads: its statement's first row, in the
// order that statement gives (no ORDER BY), with what the page shows of it.
QString firstHistoryStatement(const QString& idNum, bool outPatient)
{
    return QStringLiteral("SELECT IDNum, HistoryDate, Height, Weight FROM Patient_Data..%1 WHERE IDNum = %2")
        .arg(outPatient ? QStringLiteral("tbOutPatientHistory") : QStringLiteral("tbPatientHistory"), quoted(idNum));
}

QString complaintStatement(const QString& idNum, bool outPatient)
{
    return QStringLiteral("SELECT IDNum, HistoryDate, ChiefComplaint FROM Patient_Data..%1 WHERE IDNum = %2")
        .arg(outPatient ? QStringLiteral("tbOutPatientHistory") : QStringLiteral("tbPatientHistory"), quoted(idNum));
}

// A recordset that reads no row, only to add one to the table.
QString noRowOf(const QString& columns, const QString& table, const QString& idNum)
{
    return QStringLiteral("SELECT %1 FROM %2 WHERE IDNum = %3 AND 1 = 0").arg(columns, table, quoted(idNum));
}

} // namespace

SeenClaimRows readSeenClaimRows(Connection& connection, const QString& idNum, bool outPatient)
{
    SeenClaimRows seen;
    seen.profile = readNurseProfile(connection, idNum);
    seen.visit = readSeenRow(connection, visitStatement(idNum, outPatient));
    seen.guEntry = readSeenRow(connection, guEntryStatement(idNum));
    seen.firstHistory = readSeenRow(connection, firstHistoryStatement(idNum, outPatient));
    seen.complaint = readSeenRow(connection, complaintStatement(idNum, outPatient));
    return seen;
}

QStringList guFindings()
{
    return {QStringLiteral("Not Applicable"), QStringLiteral("Not Assessed")};
}

void saveBriefHistory(Connection& connection, const QString& idNum, bool outPatient,
                      const std::optional<SeenRow>& seenVisit, const QString& history)
{
    // The admission itself is never made here: an admission not seen is refused.
    if (!seenVisit)
        throw DatabaseError(QStringLiteral("The admission %1 was not found; nothing was saved.").arg(idNum));
    saveAsSeen(connection, visitStatement(idNum, outPatient), seenVisit,
               [&](Recordset& visit, bool) { visit.setField(QStringLiteral("BriefHistory"), history); });
}

void addVitalSigns(Connection& connection, const QString& idNum, bool outPatient, const VitalSignsEntry& entry,
                   const QString& clerk)
{
    if (outPatient) {
        addRecord(connection,
                  noRowOf(QStringLiteral("IDNum, HistoryDate, BloodPressure, Temperature, PulseRate, RespiratoryRate"),
                          QStringLiteral("Patient_Data..tbOutPatientHistory"), idNum),
                  [&](Recordset& row) {
                      row.setField(QStringLiteral("IDNum"), idNum);
                      row.setField(QStringLiteral("HistoryDate"), entry.takenOn);
                      row.setField(QStringLiteral("BloodPressure"), entry.bloodPressure);
                      row.setField(QStringLiteral("Temperature"), entry.temperature);
                      row.setField(QStringLiteral("PulseRate"), entry.pulseRate);
                      row.setField(QStringLiteral("RespiratoryRate"), entry.respiratoryRate);
                  });
        return;
    }
    addRecord(connection,
              noRowOf(QStringLiteral("IDNum, VitalDate, BP, Temperature, PulseRate, RespRate, TakenBy"),
                      QStringLiteral("Station..tbNurseVitalSigns"), idNum),
              [&](Recordset& row) {
                  row.setField(QStringLiteral("IDNum"), idNum);
                  row.setField(QStringLiteral("VitalDate"), entry.takenOn);
                  row.setField(QStringLiteral("BP"), entry.bloodPressure);
                  row.setField(QStringLiteral("Temperature"), entry.temperature);
                  row.setField(QStringLiteral("PulseRate"), entry.pulseRate);
                  row.setField(QStringLiteral("RespRate"), entry.respiratoryRate);
                  row.setField(QStringLiteral("TakenBy"), clerk);
              });
}

void saveHeightWeight(Connection& connection, const QString& idNum, bool outPatient,
                      const std::optional<SeenRow>& seenRecord, const QString& takenOn, const QString& height,
                      const QString& weight)
{
    saveAsSeen(connection, firstHistoryStatement(idNum, outPatient), seenRecord, [&](Recordset& row, bool isNew) {
        if (isNew) {
            row.setField(QStringLiteral("IDNum"), idNum);
            row.setField(QStringLiteral("HistoryDate"), takenOn);
        }
        row.setField(QStringLiteral("Height"), height);
        row.setField(QStringLiteral("Weight"), weight);
    });
}

void setGuFinding(Connection& connection, const QString& idNum, const std::optional<SeenRow>& seenEntry,
                  const QString& finding, const QString& clerk)
{
    saveAsSeen(connection, guEntryStatement(idNum), seenEntry, [&](Recordset& entry, bool isNew) {
        if (isNew) {
            entry.setField(QStringLiteral("IDNum"), idNum);
            entry.setField(QStringLiteral("AreaCat"), QStringLiteral("PhysicalExam"));
            entry.setField(QStringLiteral("AreaSubCat"), QStringLiteral("GU(IE)"));
            entry.setField(QStringLiteral("Description"), QStringLiteral("OTHERS"));
            if (hasField(entry, QStringLiteral("EncodedBy")))
                entry.setField(QStringLiteral("EncodedBy"), clerk);
        }
        entry.setField(QStringLiteral("Code"), QStringLiteral("X"));
        entry.setField(QStringLiteral("Result"), QStringLiteral("1"));
        entry.setField(QStringLiteral("Remarks"), finding);
    });
}

void saveChiefComplaint(Connection& connection, const QString& idNum, bool outPatient,
                        const std::optional<SeenRow>& seenRecord, const QString& takenOn, const QString& complaint)
{
    saveAsSeen(connection, complaintStatement(idNum, outPatient), seenRecord, [&](Recordset& row, bool isNew) {
        if (isNew) {
            row.setField(QStringLiteral("IDNum"), idNum);
            row.setField(QStringLiteral("HistoryDate"), takenOn);
        }
        row.setField(QStringLiteral("ChiefComplaint"), complaint);
    });
}

void addCourseNote(Connection& connection, const QString& idNum, const QString& writtenOn, const QString& text,
                   const QString& clerk)
{
    addRecord(connection,
              noRowOf(QStringLiteral("IDNum, CourseDate, CourseNotes, EncodedBy"), QStringLiteral("Station..tbCourseWard"),
                      idNum),
              [&](Recordset& row) {
                  row.setField(QStringLiteral("IDNum"), idNum);
                  row.setField(QStringLiteral("CourseDate"), writtenOn);
                  row.setField(QStringLiteral("CourseNotes"), text);
                  row.setField(QStringLiteral("EncodedBy"), clerk);
              });
}

int declaredLength(Connection& connection, EntryColumn column, bool outPatient)
{
    const auto lengthOf = [&](const char* database, const QString& table, const char* name) {
        try {
            for (const sqlcompat::ColumnInfo& info :
                 connection.tableColumns(TableRef{QString::fromLatin1(database), table})) {
                if (QString::fromStdString(info.name).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                    return info.length;
            }
        } catch (const DatabaseError&) {
            // An unknown table: the write reports it in the database's words.
        }
        return 0;
    };
    const QString visit = outPatient ? QStringLiteral("tbOutPatient") : QStringLiteral("tbPatient");
    const QString history = outPatient ? QStringLiteral("tbOutPatientHistory") : QStringLiteral("tbPatientHistory");
    const QString vitals = outPatient ? QStringLiteral("tbOutPatientHistory") : QStringLiteral("tbNurseVitalSigns");
    const char* vitalsDatabase = outPatient ? "Patient_Data" : "Station";
    switch (column) {
    case EntryColumn::BriefHistory:
        return lengthOf("Patient_Data", visit, "BriefHistory");
    case EntryColumn::BloodPressure:
        return lengthOf(vitalsDatabase, vitals, outPatient ? "BloodPressure" : "BP");
    case EntryColumn::Temperature:
        return lengthOf(vitalsDatabase, vitals, "Temperature");
    case EntryColumn::PulseRate:
        return lengthOf(vitalsDatabase, vitals, "PulseRate");
    case EntryColumn::RespiratoryRate:
        return lengthOf(vitalsDatabase, vitals, outPatient ? "RespiratoryRate" : "RespRate");
    case EntryColumn::Height:
        return lengthOf("Patient_Data", history, "Height");
    case EntryColumn::Weight:
        return lengthOf("Patient_Data", history, "Weight");
    case EntryColumn::GuFinding:
        return lengthOf("Patient_Data", QStringLiteral("tbPatientConditions"), "Remarks");
    case EntryColumn::CourseNote:
        return lengthOf("Station", QStringLiteral("tbCourseWard"), "CourseNotes");
    case EntryColumn::ChiefComplaint:
        return lengthOf("Patient_Data", history, "ChiefComplaint");
    }
    return 0;
}

} // namespace vantik
