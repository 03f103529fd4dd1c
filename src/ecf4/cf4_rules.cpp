#include "ecf4/cf4_rules.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace vantik::ecf4 {

namespace {

enum TextRule : unsigned {
    Optional = 0,
    Required = 1,
    NotNone = 2, // "none", "NA", "N/A" and "not applicable" are refused
};

QString quoted(const QString& value)
{
    constexpr qsizetype kShown = 40;
    QString shown = value.size() > kShown ? value.left(kShown) + QStringLiteral("…") : value;
    // The message goes on one line of a log or a CSV cell.
    for (QChar& c : shown) {
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    }
    return QLatin1Char('\'') + shown + QLatin1Char('\'');
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

bool meansNothing(const QString& value)
{
    const QString text = value.trimmed();
    for (const char* word : {"none", "na", "n/a", "not applicable"}) {
        if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The patterns are a handful of constants, each compiled once.
bool matches(const QString& value, const char* pattern)
{
    thread_local QHash<const char*, QRegularExpression> compiled;
    auto found = compiled.find(pattern);
    if (found == compiled.end())
        found = compiled.insert(pattern, QRegularExpression(QLatin1String(pattern)));
    return found->match(value).hasMatch();
}

const char* const kWholeNumber = "^[0-9]+$";
const char* const kNumber = "^[0-9]+(\\.[0-9]+)?$";

class Checker {
public:
    explicit Checker(Findings& findings)
        : m_findings(findings)
    {
    }

    void problem(const QString& text) { m_findings.problems << text; }
    void warning(const QString& text) { m_findings.warnings << text; }

    /// A free text: present when required, only characters a CF4 can carry, not
    /// longer than PhilHealth takes, and not a word that means nothing.
    bool text(const QString& item, const QString& value, int maxLength, unsigned rules = Optional)
    {
        if (value.trimmed().isEmpty()) {
            if (rules & Required)
                problem(item + QStringLiteral(": missing"));
            return false;
        }
        const qsizetype bad = forbiddenCharacterAt(value);
        if (bad >= 0) {
            problem(QStringLiteral("%1: holds a control character (code %2) at position %3, which a CF4 cannot carry")
                        .arg(item)
                        .arg(value.at(bad).unicode())
                        .arg(bad + 1));
            return false;
        }
        if (!withinLength(item, value, maxLength))
            return false;
        if ((rules & NotNone) && meansNothing(value)) {
            problem(QStringLiteral("%1: %2 is not accepted by PhilHealth (say what was found)").arg(item, quoted(value)));
            return false;
        }
        return true;
    }

    bool withinLength(const QString& item, const QString& value, int maxLength)
    {
        const int length = cf4Length(value);
        if (length <= maxLength)
            return true;
        const QLocale c = QLocale::c();
        QString text = QStringLiteral("%1: too long, %2 characters where PhilHealth takes at most %3")
                           .arg(item, c.toString(length), c.toString(maxLength));
        if (length != value.size())
            text += QStringLiteral(" (ñ and other accented letters count as two)");
        problem(text);
        return false;
    }

    /// A value of a fixed form (a number, a code): missing, or not of that form.
    bool formed(const QString& item, const QString& value, const char* pattern, const QString& form, int maxLength)
    {
        if (value.isEmpty()) {
            problem(item + QStringLiteral(": missing"));
            return false;
        }
        if (forbiddenCharacterAt(value) >= 0 || !matches(value, pattern)) {
            problem(QStringLiteral("%1: %2 is not %3").arg(item, quoted(value), form));
            return false;
        }
        return withinLength(item, value, maxLength);
    }

    void date(const QString& item, const QDate& value)
    {
        if (!value.isValid())
            problem(item + QStringLiteral(": missing"));
    }

private:
    Findings& m_findings;
};

void checkFacility(Checker& check, const Cf4Form& form)
{
    check.text(QStringLiteral("Facility accreditation number"), form.accreditationNo, 9, Required);
    check.text(QStringLiteral("Facility certification ID"), form.certificationId, 21, Required);
    check.text(QStringLiteral("Facility user name"), form.userName, 30, Required);
}

void checkPatient(Checker& check, const Cf4Form& form)
{
    check.text(QStringLiteral("IDNum"), form.idNum, 21, Required);
    check.date(QStringLiteral("Admission date"), form.admitted);
    if (form.pin.isEmpty())
        check.problem(QStringLiteral("Patient PIN: missing"));
    else if (forbiddenCharacterAt(form.pin) >= 0 || !matches(form.pin, "^[0-9]{12}$"))
        check.problem(QStringLiteral("Patient PIN: %1 is not 12 digits").arg(quoted(form.pin)));
    if (form.patientType.isEmpty()) {
        if (form.hisPatientType.trimmed().isEmpty())
            check.problem(QStringLiteral("Patient type: missing"));
        else
            check.problem(QStringLiteral("Patient type: %1 is not a PhilHealth member or dependant")
                              .arg(quoted(form.hisPatientType)));
    }
    if (form.sex.isEmpty()) {
        if (form.hisSex.trimmed().isEmpty())
            check.problem(QStringLiteral("Sex: missing"));
        else
            check.problem(QStringLiteral("Sex: %1 is neither M nor F").arg(quoted(form.hisSex)));
    }
    check.text(QStringLiteral("Patient first name"), form.firstName, 30, Required);
    check.text(QStringLiteral("Patient middle name"), form.middleName, 30);
    check.text(QStringLiteral("Patient last name"), form.lastName, 30, Required);
    check.date(QStringLiteral("Date of birth"), form.birthDate);
}

void checkCodes(Checker& check, const QString& item, Library library, const QList<CodedItem>& codes)
{
    for (const CodedItem& code : codes) {
        const LibraryEntry* entry = libraryEntry(library, code.id);
        if (!entry)
            check.problem(QStringLiteral("%1: %2 is coded %3, which is not in PhilHealth's list")
                              .arg(item, quoted(code.hisWords), quoted(code.id)));
        else if (!entry->active)
            check.problem(QStringLiteral("%1: %2 is coded %3 (%4), which PhilHealth no longer accepts")
                              .arg(item, quoted(code.hisWords), code.id, QLatin1String(entry->description)));
    }
}

bool hasCode(const QList<CodedItem>& codes, const char* id)
{
    for (const CodedItem& code : codes) {
        if (code.id == QLatin1String(id))
            return true;
    }
    return false;
}

void checkSubjective(Checker& check, const Cf4Form& form)
{
    check.text(QStringLiteral("Chief complaint"), form.chiefComplaint, 2000, Required | NotNone);
    check.text(QStringLiteral("History of present illness"), form.illnessHistory, 2000, Required | NotNone);
    check.text(QStringLiteral("Past medical history"), form.pastHistory, 2000, Required | NotNone);

    const QString signs = QStringLiteral("Signs and symptoms");
    if (form.signs.isEmpty())
        check.problem(signs + QStringLiteral(": none recorded"));
    checkCodes(check, signs, Library::SignsSymptoms, form.signs);
    check.text(QStringLiteral("Pain site"), form.painSite, 500);
    if (hasCode(form.signs, kPainId) && form.painSite.trimmed().isEmpty())
        check.problem(QStringLiteral("Pain site: missing (PAIN is among the signs and symptoms)"));
    check.text(QStringLiteral("Other complaint"), form.otherComplaint, 2000);
    if (hasCode(form.signs, kOtherComplaintId) && form.otherComplaint.trimmed().isEmpty())
        check.problem(QStringLiteral("Other complaint: missing (OTHERS is among the signs and symptoms)"));

    const QString survey = QStringLiteral("General survey");
    if (form.genSurveyId.isEmpty())
        check.problem(survey + QStringLiteral(": missing"));
    else if (form.genSurveyId != QLatin1String("1") && form.genSurveyId != QLatin1String("2"))
        check.problem(QStringLiteral("%1: %2 is neither 1 (awake and alert) nor 2 (altered sensorium)")
                          .arg(survey, quoted(form.genSurveyId)));
    check.text(QStringLiteral("General survey remark"), form.genSurveyRemark, 2000);
}

void checkVitals(Checker& check, const Cf4Form& form)
{
    if (!form.vitalsRecorded) {
        check.problem(QStringLiteral("Vital signs: no record with blood pressure, temperature, pulse rate and "
                                     "respiratory rate"));
    } else {
        if (form.systolic.isEmpty() || form.diastolic.isEmpty())
            check.problem(QStringLiteral("Blood pressure: %1 is not systolic/diastolic in mmHg")
                              .arg(quoted(form.bloodPressure)));
        else
            check.formed(QStringLiteral("Blood pressure"), form.systolic + QLatin1Char('/') + form.diastolic,
                         "^[0-9]{1,3}/[0-9]{1,3}$", QStringLiteral("systolic/diastolic in mmHg"), 7);
        check.formed(QStringLiteral("Pulse rate"), form.heartRate, kWholeNumber, QStringLiteral("a whole number"), 3);
        check.formed(QStringLiteral("Respiratory rate"), form.respiratoryRate, kWholeNumber,
                     QStringLiteral("a whole number"), 3);
        check.formed(QStringLiteral("Temperature"), form.temperature, kNumber, QStringLiteral("degrees Celsius"), 4);
    }
    if (!form.measured) {
        check.problem(QStringLiteral("Height and weight: no record with both"));
    } else {
        check.formed(QStringLiteral("Height"), form.height, kNumber, QStringLiteral("a number of centimetres"), 6);
        check.formed(QStringLiteral("Weight"), form.weight, kNumber, QStringLiteral("a number of kilograms"), 6);
    }
}

void checkExam(Checker& check, const Cf4Form& form)
{
    for (int s = 0; s < kExamSystems; ++s) {
        const LibraryInfo& info = libraryInfo(static_cast<Library>(s));
        const ExamSystem& system = form.exam[std::size_t(s)];
        const QString item = QStringLiteral("Physical exam, ") + QLatin1String(info.clerkName);
        const bool uncoded = std::any_of(form.uncoded.begin(), form.uncoded.end(),
                                         [s](const UncodedRecord& record) { return record.system == s; });
        if (system.findings.isEmpty() && !uncoded)
            check.problem(item + QStringLiteral(": no finding recorded"));
        checkCodes(check, item, info.library, system.findings);
        if (system.findings.size() > 1 && hasCode(system.findings, info.essentiallyNormal))
            check.problem(item + QStringLiteral(": \"Essentially normal\" is recorded together with other findings"));
        const bool others = hasCode(system.findings, kOthersId);
        if (others && system.remark.trimmed().isEmpty())
            check.problem(item + QStringLiteral(": \"Others\" needs a remark saying what was found"));
        else
            check.text(item + QStringLiteral(" remark"), system.remark, 2000, others ? NotNone : Optional);
    }
    for (const UncodedRecord& record : form.uncoded) {
        const bool symptom = record.area.trimmed().compare(QLatin1String("SignsSymptoms"), Qt::CaseInsensitive) == 0;
        const QString where = symptom ? QStringLiteral("Signs and symptoms")
                                      : QStringLiteral("Physical exam, ") + record.subArea.trimmed();
        check.problem(QStringLiteral("%1, %2: no PhilHealth code yet").arg(where, quoted(record.description.trimmed())));
    }
}

void checkObstetric(Checker& check, const Cf4Form& form)
{
    const QString item = QStringLiteral("Menstrual history");
    if (form.mensApplicable.isEmpty()) {
        check.problem(item + QStringLiteral(": not stated whether it applies"));
        return;
    }
    if (form.mensApplicable != QLatin1String("Y") && form.mensApplicable != QLatin1String("N")) {
        check.problem(QStringLiteral("%1: %2 is neither Y nor N").arg(item, quoted(form.mensApplicable)));
        return;
    }
    if (form.mensApplicable == QLatin1String("N"))
        return;
    check.date(QStringLiteral("Last menstrual period"), form.lastPeriod);
    static const char* const kCounts[] = {"Pregnancies (gravidity)", "Deliveries (parity)", "Full-term pregnancies",
                                          "Premature pregnancies",   "Abortions",           "Living children"};
    for (std::size_t i = 0; i < form.pregnancyCounts.size(); ++i)
        check.formed(QLatin1String(kCounts[i]), form.pregnancyCounts[i], "^[0-9]{1,2}$",
                     QStringLiteral("a number from 0 to 99"), 2);
}

void checkCourse(Checker& check, const Cf4Form& form)
{
    if (form.courseNotes.isEmpty())
        check.problem(QStringLiteral("Course in the ward: no note"));
    for (qsizetype i = 0; i < form.courseNotes.size(); ++i) {
        const CourseNote& note = form.courseNotes[i];
        const QString item = note.date.isValid()
            ? QStringLiteral("Course in the ward, note of %1").arg(dateText(note.date))
            : QStringLiteral("Course in the ward, note %1").arg(i + 1);
        check.date(item + QStringLiteral(", date"), note.date);
        check.text(item, note.action, 2000, Required);
    }
}

void checkMedicines(Checker& check, const Cf4Form& form)
{
    for (const Medicine& drug : form.medicines) {
        const QString item = QStringLiteral("Medicine ") + quoted(drug.hisName);
        if (drug.drugCode.isEmpty()) {
            check.warning(item + QStringLiteral(": no PhilHealth drug code, sent with its description"));
            check.text(item + QStringLiteral(", description"), drug.genericName, 500, Required);
        } else {
            check.text(item + QStringLiteral(", drug code"), drug.drugCode, 30);
            for (const QString& part : drug.parts) {
                if (!check.text(item + QStringLiteral(", drug code part"), part, 5, Required))
                    break;
            }
        }
        check.text(item + QStringLiteral(", route"), drug.route, 500, Required);
        check.formed(item + QStringLiteral(", quantity"), drug.quantity, kNumber, QStringLiteral("a number"), 20);
        check.formed(item + QStringLiteral(", total price"), drug.totalPrice, "^[0-9]+\\.[0-9]{2}$",
                     QStringLiteral("an amount in pesos"), 20);
        check.text(item + QStringLiteral(", frequency"), drug.frequency, 50, Required);
        check.date(item + QStringLiteral(", order date"), drug.added);
    }
}

} // namespace

QString drugCodeShapeProblem(const QString& code, const std::array<QString, 6>& parts)
{
    static const char* const kParts[] = {"generic", "salt", "strength", "form", "unit", "package"};
    if (!matches(code, "^[A-Za-z0-9]{30}$"))
        return QStringLiteral("The drug code must be 30 letters and digits, as PhilHealth's medicine library "
                              "writes it; %1 has %2.")
            .arg(quoted(code))
            .arg(code.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!matches(parts[i], "^[A-Za-z0-9]{5}$"))
            return QStringLiteral("The %1 code must be 5 letters and digits; %2 is not.")
                .arg(QLatin1String(kParts[i]), quoted(parts[i]));
    }
    return QString();
}

int cf4Length(const QString& value)
{
    return int(value.toUtf8().size());
}

qsizetype forbiddenCharacterAt(const QString& value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return i;
        if (c == 0xFFFE || c == 0xFFFF)
            return i;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < value.size() && QChar::isLowSurrogate(value.at(i + 1).unicode()))
                ++i;
            else
                return i;
        } else if (QChar::isLowSurrogate(c)) {
            return i;
        }
    }
    return -1;
}

Findings checkForm(const Cf4Form& form)
{
    Findings findings;
    Checker check(findings);
    checkFacility(check, form);
    checkPatient(check, form);
    checkSubjective(check, form);
    checkVitals(check, form);
    checkExam(check, form);
    checkObstetric(check, form);
    checkCourse(check, form);
    checkMedicines(check, form);
    // Two records of one drug say the same thing once.
    findings.problems.removeDuplicates();
    findings.warnings.removeDuplicates();
    return findings;
}

} // namespace vantik::ecf4
