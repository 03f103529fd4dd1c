#pragma once

#include <QString>
#include <QStringList>

namespace vantik {

struct ClaimFormRecord;

/// The sections of a claim form that the insurer requires, in the form's order.
enum class ClaimFormSection { BriefHistory, VitalSigns, HeightWeight, GuEntry, CourseInTheWard, Medicines, Discharge };

/// How the finding names a section ("vital signs", "GU(IE)", ...).
QString sectionName(ClaimFormSection section);

/// Whether the section is complete; a section out-patients do not need is.
bool sectionComplete(const ClaimFormRecord& form, ClaimFormSection section);

/// The required sections still missing, in the form's order.
QStringList missingSections(const ClaimFormRecord& form);

/// Whether a brief history counts: not empty and not one of the placeholders
/// encoders type instead ("NA", "N/A", "none", in any case).
bool isMeaningfulHistory(const QString& text);

/// Empty when nothing is missing, else "Missing: " and the missing sections.
QString verificationFinding(const ClaimFormRecord& form);

} // namespace vantik
