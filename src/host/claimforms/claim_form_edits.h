#pragma once

#include "host/claimforms/claim_form_saves.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vantik {

class Connection;

/// The rows of an admission the entry window lets the clerk change, as the window
/// read them: a save checks against these, so that a change made by someone else
/// since is never overwritten.
struct SeenClaimRows {
    std::optional<SeenRow> visit;   ///< the admission's (or visit's) BriefHistory row
    std::optional<SeenRow> guEntry; ///< the first PhysicalExam/GU(IE)/OTHERS entry
    std::optional<SeenRow> profile; ///< the nurse profile
};

SeenClaimRows readSeenClaimRows(Connection& connection, const QString& idNum, bool outPatient);

/// The findings the GU marking writes, offered first in the window.
QStringList guFindings();

/// Each write below goes through a recordset; the texts are as the input checks
/// gave them (date-times in ISO form). They throw DatabaseError.

/// Replaces the admission's brief history, unless the row changed since seen.
void saveBriefHistory(Connection& connection, const QString& idNum, bool outPatient,
                      const std::optional<SeenRow>& seenVisit, const QString& history);

struct VitalSignsEntry {
    QString takenOn, bloodPressure, temperature, pulseRate, respiratoryRate;
};
/// A vital-signs record: the nurses' table for in-patients, the visit's history for out-patients.
void addVitalSigns(Connection& connection, const QString& idNum, bool outPatient, const VitalSignsEntry& entry);

/// A history record with the height and weight.
void addHeightWeight(Connection& connection, const QString& idNum, bool outPatient, const QString& takenOn,
                     const QString& height, const QString& weight);

/// Sets the finding of the admission's GU(IE) entry as the GU marking does: the
/// first entry gets Code "X", Result "1" and the finding as its remark, or an entry
/// is made when there is none. Refused when the entry changed since seen.
void setGuFinding(Connection& connection, const QString& idNum, const std::optional<SeenRow>& seenEntry,
                  const QString& finding, const QString& clerk);

/// A note in the course in the ward, by the clerk.
void addCourseNote(Connection& connection, const QString& idNum, const QString& writtenOn, const QString& text,
                   const QString& clerk);

} // namespace vantik
