#include "ecf4/cf4_compose.h"

#include <QStringList>

#include <algorithm>

namespace vantik::ecf4 {

namespace {

bool blank(const QString& text)
{
    return text.trimmed().isEmpty();
}

bool digitsOnly(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
}

// "37.50" -> "37.5", "88.0" -> "88", " 120 " -> "120": the same number, written
// the way PhilHealth counts its characters. Anything else stays as it is for the
// check to name.
QString plainNumber(const QString& text)
{
    QString number = text.trimmed();
    const qsizetype dot = number.indexOf(QLatin1Char('.'));
    if (dot <= 0 || !digitsOnly(QStringView(number).left(dot)) || !digitsOnly(QStringView(number).mid(dot + 1)))
        return number;
    qsizetype end = number.size();
    while (number.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end == dot + 1)
        --end;
    number.truncate(end);
    return number;
}

// Pesos with their two places of centavos; an amount with finer parts is left as
// it is rather than rounded.
QString amount(const QString& text)
{
    const QString number = plainNumber(text);
    if (digitsOnly(number))
        return number + QStringLiteral(".00");
    const qsizetype dot = number.indexOf(QLatin1Char('.'));
    if (dot > 0 && number.size() - dot - 1 == 1 && digitsOnly(QStringView(number).left(dot)))
        return number + QLatin1Char('0');
    return number;
}

int yearsOld(const QDate& born, const QDate& on)
{
    if (!born.isValid() || !on.isValid())
        return -1;
    int years = on.year() - born.year();
    if (on.month() < born.month() || (on.month() == born.month() && on.day() < born.day()))
        --years;
    return years;
}

// The HIS's membership types: M, S and I are kinds of member, D a dependant.
QString patientTypeOf(const QString& his)
{
    static const char* const kTypes[][2] = {{"M", "MM"}, {"S", "MM"}, {"I", "MM"}, {"D", "DD"}};
    const QString type = his.trimmed();
    for (const auto& [code, cf4] : kTypes) {
        if (type.compare(QLatin1String(code), Qt::CaseInsensitive) == 0)
            return QLatin1String(cf4);
    }
    return QString();
}

QString sexOf(const QString& his)
{
    const QString sex = his.trimmed();
    for (const char* male : {"M", "Male"}) {
        if (sex.compare(QLatin1String(male), Qt::CaseInsensitive) == 0)
            return QStringLiteral("M");
    }
    for (const char* female : {"F", "Female"}) {
        if (sex.compare(QLatin1String(female), Qt::CaseInsensitive) == 0)
            return QStringLiteral("F");
    }
    return QString();
}

// PhilHealth's order (its list's order, "X" last); IDs not in the list after them.
void sortByLibrary(QList<CodedItem>& items, Library library)
{
    const auto entries = libraryInfo(library).entries;
    auto place = [&](const CodedItem& item) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (item.id == QLatin1String(entries[i].id))
                return i;
        }
        return entries.size();
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const CodedItem& a, const CodedItem& b) { return place(a) < place(b); });
}

void addOnce(QList<CodedItem>& items, const QString& id, const QString& words)
{
    for (const CodedItem& item : items) {
        if (item.id == id)
            return;
    }
    items.push_back({id, words});
}

void codeConditions(const Cf4Source& source, const CodeTables& codes, Cf4Form& form)
{
    std::array<QStringList, kExamSystems> remarks;
    for (const Cf4Source::Condition& condition : source.conditions) {
        const FindingCode* code = codes.finding(condition.area, condition.subArea, condition.description);
        const std::optional<Library> library = code ? libraryNamed(code->library) : std::nullopt;
        if (!library || code->id.isEmpty()) {
            const std::optional<Library> likely = libraryNamed(codes.subAreaLibrary(condition.area, condition.subArea));
            const bool exam = likely && *likely != Library::SignsSymptoms;
            form.uncoded.push_back({condition.area, condition.subArea, condition.description, exam ? int(*likely) : -1});
            continue;
        }
        const QString words = condition.description.trimmed();
        if (*library == Library::SignsSymptoms) {
            addOnce(form.signs, code->id, words);
            continue;
        }
        const auto system = std::size_t(*library);
        addOnce(form.exam[system].findings, code->id, words);
        const QString remark = condition.remarks.trimmed();
        if (code->id == QLatin1String(kOthersId) && !remark.isEmpty() && !remarks[system].contains(remark))
            remarks[system] << remark;
    }
    sortByLibrary(form.signs, Library::SignsSymptoms);
    for (int s = 0; s < kExamSystems; ++s) {
        sortByLibrary(form.exam[std::size_t(s)].findings, static_cast<Library>(s));
        form.exam[std::size_t(s)].remark = remarks[std::size_t(s)].join(QStringLiteral("; "));
    }
}

// The first record with what the CF4 needs; under three years of age blood
// pressure is not needed and goes as 1/1 when there is none.
void takeVitalSigns(const Cf4Source& source, Cf4Form& form)
{
    const bool underThree = form.ageYears >= 0 && form.ageYears < 3;
    for (const Cf4Source::Vitals& record : source.vitals) {
        if (blank(record.temperature) || blank(record.pulseRate) || blank(record.respiratoryRate)
            || (blank(record.bloodPressure) && !underThree))
            continue;
        form.vitalsRecorded = true;
        form.bloodPressure = record.bloodPressure.trimmed();
        if (form.bloodPressure.isEmpty()) {
            form.systolic = form.diastolic = QStringLiteral("1");
        } else {
            const QStringList parts = form.bloodPressure.split(QLatin1Char('/'));
            if (parts.size() == 2 && digitsOnly(parts[0].trimmed()) && digitsOnly(parts[1].trimmed())) {
                form.systolic = parts[0].trimmed();
                form.diastolic = parts[1].trimmed();
            }
        }
        form.temperature = plainNumber(record.temperature);
        form.heartRate = plainNumber(record.pulseRate);
        form.respiratoryRate = plainNumber(record.respiratoryRate);
        return;
    }
}

void takeHistory(const Cf4Source& source, Cf4Form& form)
{
    for (const Cf4Source::History& record : source.histories) {
        if (!blank(record.chiefComplaint)) {
            form.chiefComplaint = record.chiefComplaint.trimmed();
            break;
        }
    }
    for (const Cf4Source::History& record : source.histories) {
        if (!blank(record.height) && !blank(record.weight)) {
            form.measured = true;
            form.height = plainNumber(record.height);
            form.weight = plainNumber(record.weight);
            break;
        }
    }
}

Medicine medicineOf(const Cf4Source::Drug& drug, const CodeTables& codes)
{
    Medicine medicine;
    QStringList name;
    for (const QString& part : {drug.genericName, drug.dosage, drug.unit}) {
        if (!blank(part))
            name << part.trimmed();
    }
    medicine.hisName = name.join(QLatin1Char(' '));
    if (const DrugCode* code = codes.drug(drug.genericName, drug.dosage, drug.unit); code && !code->code.isEmpty()) {
        medicine.drugCode = code->code;
        medicine.parts = code->parts;
    } else {
        medicine.genericName = medicine.hisName;
    }
    medicine.route = drug.route.trimmed();
    medicine.quantity = plainNumber(drug.quantity);
    medicine.totalPrice = amount(drug.totalAmount);
    // The HIS keeps no frequency with a drug record: "-", as PhilHealth's own
    // no-medicine record has it, rather than an invented one.
    medicine.frequency = QStringLiteral("-");
    medicine.added = dateOfText(drug.orderedOn);
    return medicine;
}

} // namespace

Cf4Form composeForm(const Cf4Source& source, const CodeTables& codes, const Facility& facility,
                    const QDate& exportDate)
{
    Cf4Form form;
    form.accreditationNo = facility.accreditationNo;
    form.certificationId = facility.certificationId;
    form.userName = facility.userName;
    form.idNum = source.idNum;
    form.exportDate = exportDate;
    form.admitted = dateOfText(source.admitted);

    form.pin = source.philHealthNum.trimmed();
    form.pin.remove(QLatin1Char('-'));
    form.pin.remove(QLatin1Char(' '));
    form.hisPatientType = source.medicareType;
    form.patientType = patientTypeOf(source.medicareType);
    form.hisSex = source.sex;
    form.sex = sexOf(source.sex);
    form.firstName = source.firstName.trimmed();
    form.middleName = source.middleName.trimmed();
    form.lastName = source.lastName.trimmed();
    form.birthDate = dateOfText(source.birthDate);
    form.ageYears = yearsOld(form.birthDate, form.admitted);

    takeHistory(source, form);
    form.illnessHistory = source.briefHistory.trimmed();
    const Cf4Source::Entry& entry = source.entry;
    form.pastHistory = entry.pastHistory.trimmed();
    form.painSite = entry.painSite.trimmed();
    form.otherComplaint = entry.otherComplaint.trimmed();
    form.genSurveyId = entry.genSurveyId.trimmed();
    form.genSurveyRemark = entry.genSurveyRemarks.trimmed();
    codeConditions(source, codes, form);
    takeVitalSigns(source, form);

    // Men have no menstrual history to state.
    form.mensApplicable = form.sex == QLatin1String("M") ? QStringLiteral("N") : entry.mensApplicable.trimmed().toUpper();
    form.lastPeriod = dateOfText(entry.lastPeriod);
    for (std::size_t i = 0; i < form.pregnancyCounts.size(); ++i)
        form.pregnancyCounts[i] = plainNumber(entry.pregnancyCounts[i]);

    for (const Cf4Source::Note& note : source.notes)
        form.courseNotes.push_back({dateOfText(note.writtenOn), note.text.trimmed()});
    for (const Cf4Source::Drug& drug : source.drugs)
        form.medicines.push_back(medicineOf(drug, codes));
    return form;
}

} // namespace vantik::ecf4
