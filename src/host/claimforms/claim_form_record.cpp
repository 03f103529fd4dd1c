#include "host/claimforms/claim_form_record.h"

#include "host/data/connection.h"
#include "host/data/sql_quote.h"

#include <QLocale>

#include <utility>

namespace vantik {

namespace {

bool filled(const QString& text)
{
    return !text.trimmed().isEmpty();
}

// Out-patient identifiers carry an upper-case B; the hospital keeps their
// visits, histories and vital signs in tables of their own.
bool isOutPatient(const QString& idNum)
{
    return idNum.contains(QLatin1Char('B'));
}

QString headerStatement(const QString& id, bool outPatient)
{
    const QString visit = outPatient ? QStringLiteral("Patient_Data..tbOutPatient") : QStringLiteral("Patient_Data..tbPatient");
    const QString service = outPatient ? QStringLiteral("P.ServiceID1") : QStringLiteral("P.ServiceID");
    const QString doctor = outPatient ? QStringLiteral("P.DoctorID1") : QStringLiteral("P.AttendingDr1");
    return QStringLiteral(
               "SELECT P.IDNum, P.HospNum, M.LastName + ', ' + M.FirstName AS PatientName, M.Sex, "
               "convert(varchar, M.BirthDate, 0) AS BirthDate, convert(varchar, P.ADMDATE, 0) AS Admitted, "
               "convert(varchar, P.DCRDATE, 0) AS Discharged, S.Service, "
               "D.LastName + ', ' + D.FirstName AS Doctor, P.Diagnosis, P.BriefHistory, "
               "NP.CF4Status, NP.CF4VerifiedBy, convert(varchar, NP.CF4VerifiedOn, 0) AS VerifiedOn, "
               "P.ADMDATE AS AdmittedAt, P.DCRDATE AS DischargedAt "
               "FROM %1 P WITH (NOLOCK) "
               "LEFT JOIN Patient_Data..tbMaster M WITH (NOLOCK) ON M.HospNum = P.HospNum "
               "LEFT JOIN Build_File..tbcoService S WITH (NOLOCK) ON S.ServiceID = %2 "
               "LEFT JOIN Build_File..tbcoDoctor D WITH (NOLOCK) ON D.DoctorID = %3 "
               "LEFT JOIN Station..tbNurseProfile NP WITH (NOLOCK) ON NP.IDNum = P.IDNum "
               "WHERE P.IDNum = %4")
        .arg(visit, service, doctor, id);
}

// One entry per result row, its fields taken from the row's columns in order.
template <typename Entry, std::size_t... Field>
Entry entryOf(const ResultSet& rows, int row, std::index_sequence<Field...>)
{
    return Entry{rows.text(row, int(Field))...};
}

template <typename Entry, std::size_t Fields>
void appendEntries(const ResultSet& rows, std::vector<Entry>& into)
{
    for (int row = 0; row < rows.rowCount(); ++row)
        into.push_back(entryOf<Entry>(rows, row, std::make_index_sequence<Fields>()));
}

} // namespace

QDateTime dateTimeOfText(const QString& text)
{
    const QLocale c = QLocale::c();
    QDateTime at = c.toDateTime(text, QStringLiteral("M/d/yyyy h:mm:ss AP"));
    if (!at.isValid())
        at = QDateTime(c.toDate(text, QStringLiteral("M/d/yyyy")), QTime(0, 0));
    return at;
}

bool ClaimFormRecord::VitalSigns::complete() const
{
    return filled(bloodPressure) && filled(temperature) && filled(pulseRate) && filled(respiratoryRate);
}

bool ClaimFormRecord::Measurement::complete() const
{
    return filled(height) && filled(weight);
}

bool ClaimFormRecord::hasGuEntry() const
{
    for (const Finding& finding : findings) {
        if (finding.area == QLatin1String("PhysicalExam") && finding.subArea == QLatin1String("GU(IE)"))
            return true;
    }
    return false;
}

std::optional<ClaimFormRecord> loadClaimForm(Connection& connection, const QString& idNum)
{
    const QString id = QLatin1Char('\'') + sqlQuote(idNum) + QLatin1Char('\'');
    ClaimFormRecord form;
    form.idNum = idNum;
    form.outPatient = isOutPatient(idNum);

    const ResultSet header = connection.execute(headerStatement(id, form.outPatient));
    if (header.rowCount() == 0)
        return std::nullopt;
    form.hospNum = header.text(0, 1);
    form.patientName = header.text(0, 2);
    form.sex = header.text(0, 3);
    form.birthDate = header.text(0, 4);
    form.admitted = header.text(0, 5);
    form.discharged = header.text(0, 6);
    form.service = header.text(0, 7);
    form.doctor = header.text(0, 8);
    form.diagnosis = header.text(0, 9);
    form.chiefComplaint = header.text(0, 10);
    form.status = header.text(0, 11);
    form.verifiedBy = header.text(0, 12);
    form.verifiedOn = header.text(0, 13);
    form.admittedAt = dateTimeOfText(header.text(0, 14));
    form.dischargedAt = dateTimeOfText(header.text(0, 15));

    // Out-patients have their vital signs, height and weight on the visit's history
    // record; in-patients have nurses' vital-sign records and an admission history.
    if (form.outPatient) {
        const ResultSet rows = connection.execute(
            QStringLiteral("SELECT convert(varchar, HistoryDate, 0) AS TakenOn, BloodPressure, Temperature, PulseRate, "
                           "RespiratoryRate, Height, Weight FROM Patient_Data..tbOutPatientHistory WITH (NOLOCK) "
                           "WHERE IDNum = %1 ORDER BY HistoryDate")
                .arg(id));
        appendEntries<ClaimFormRecord::VitalSigns, 5>(rows, form.vitalSigns);
        for (int r = 0; r < rows.rowCount(); ++r)
            form.measurements.push_back({rows.text(r, 0), rows.text(r, 5), rows.text(r, 6)});
    } else {
        const ResultSet vitals = connection.execute(
            QStringLiteral("SELECT convert(varchar, VitalDate, 0) AS TakenOn, BP, Temperature, PulseRate, RespRate "
                           "FROM Station..tbNurseVitalSigns WITH (NOLOCK) WHERE IDNum = %1 ORDER BY VitalDate")
                .arg(id));
        appendEntries<ClaimFormRecord::VitalSigns, 5>(vitals, form.vitalSigns);
        const ResultSet history = connection.execute(
            QStringLiteral("SELECT convert(varchar, HistoryDate, 0) AS TakenOn, Height, Weight "
                           "FROM Patient_Data..tbPatientHistory WITH (NOLOCK) WHERE IDNum = %1 ORDER BY HistoryDate")
                .arg(id));
        appendEntries<ClaimFormRecord::Measurement, 3>(history, form.measurements);
    }

    const ResultSet findings = connection.execute(
        QStringLiteral("SELECT AreaCat, AreaSubCat, Description, Result, Remarks FROM Patient_Data..tbPatientConditions "
                       "WITH (NOLOCK) WHERE IDNum = %1 ORDER BY AreaCat, AreaSubCat")
            .arg(id));
    appendEntries<ClaimFormRecord::Finding, 5>(findings, form.findings);

    const ResultSet notes = connection.execute(
        QStringLiteral("SELECT convert(varchar, CourseDate, 0) AS WrittenOn, CourseNotes, EncodedBy "
                       "FROM Station..tbCourseWard WITH (NOLOCK) WHERE IDNum = %1 ORDER BY CourseDate")
            .arg(id));
    appendEntries<ClaimFormRecord::Note, 3>(notes, form.courseNotes);

    const ResultSet medicines = connection.execute(
        QStringLiteral("SELECT convert(varchar, OrderDate, 0) AS OrderedOn, GenericName, Quantity, Dosage, Route "
                       "FROM Patient_Data..tbPatientMedicine WITH (NOLOCK) WHERE IDNum = %1 ORDER BY OrderDate")
            .arg(id));
    appendEntries<ClaimFormRecord::Medicine, 5>(medicines, form.medicines);

    return form;
}

} // namespace vantik
