#include "host/claimforms/claim_form_requirements.h"

#include "host/claimforms/claim_form_record.h"

#include <algorithm>

namespace vantik {

namespace {

constexpr ClaimFormSection kSections[] = {
    ClaimFormSection::BriefHistory, ClaimFormSection::VitalSigns,      ClaimFormSection::HeightWeight,
    ClaimFormSection::GuEntry,      ClaimFormSection::CourseInTheWard, ClaimFormSection::Medicines,
    ClaimFormSection::Discharge,
};

} // namespace

// Encoders type a placeholder instead of leaving the history empty; the insurer
// does not accept those as a history.
bool isMeaningfulHistory(const QString& text)
{
    const QString history = text.trimmed();
    return !history.isEmpty() && history.compare(QLatin1String("NA"), Qt::CaseInsensitive) != 0
        && history.compare(QLatin1String("N/A"), Qt::CaseInsensitive) != 0
        && history.compare(QLatin1String("none"), Qt::CaseInsensitive) != 0;
}

QString sectionName(ClaimFormSection section)
{
    switch (section) {
    case ClaimFormSection::BriefHistory:
        return QStringLiteral("brief history");
    case ClaimFormSection::VitalSigns:
        return QStringLiteral("vital signs");
    case ClaimFormSection::HeightWeight:
        return QStringLiteral("height/weight");
    case ClaimFormSection::GuEntry:
        return QStringLiteral("GU(IE)");
    case ClaimFormSection::CourseInTheWard:
        return QStringLiteral("course in the ward");
    case ClaimFormSection::Medicines:
        return QStringLiteral("medicines");
    case ClaimFormSection::Discharge:
        return QStringLiteral("discharge date");
    }
    return {};
}

bool sectionComplete(const ClaimFormRecord& form, ClaimFormSection section)
{
    switch (section) {
    case ClaimFormSection::BriefHistory:
        return isMeaningfulHistory(form.chiefComplaint);
    case ClaimFormSection::VitalSigns:
        return std::any_of(form.vitalSigns.begin(), form.vitalSigns.end(), [](const auto& v) { return v.complete(); });
    case ClaimFormSection::HeightWeight:
        return std::any_of(form.measurements.begin(), form.measurements.end(), [](const auto& m) { return m.complete(); });
    case ClaimFormSection::GuEntry:
        return form.hasGuEntry();
    case ClaimFormSection::CourseInTheWard:
        return form.outPatient || !form.courseNotes.empty();
    case ClaimFormSection::Medicines:
        return !form.medicines.empty();
    case ClaimFormSection::Discharge:
        return form.outPatient || !form.discharged.trimmed().isEmpty();
    }
    return false;
}

QStringList missingSections(const ClaimFormRecord& form)
{
    QStringList missing;
    for (ClaimFormSection section : kSections) {
        if (!sectionComplete(form, section))
            missing.append(sectionName(section));
    }
    return missing;
}

QString verificationFinding(const ClaimFormRecord& form)
{
    const QStringList missing = missingSections(form);
    return missing.isEmpty() ? QString() : QStringLiteral("Missing: ") + missing.join(QStringLiteral("; "));
}

} // namespace vantik
