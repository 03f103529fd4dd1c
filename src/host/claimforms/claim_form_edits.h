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
    std::optional<SeenRow> visit;        ///< the admission's (or visit's) BriefHistory row
    std::optional<SeenRow> guEntry;      ///< the first PhysicalExam/GU(IE)/OTHERS entry
    std::optional<SeenRow> profile;      ///< the nurse profile
    std::optional<SeenRow> firstHistory; ///< the first history record: HistoryDate, Height, Weight
    std::optional<SeenRow> complaint;    ///< the same record: HistoryDate, ChiefComplaint

    bool operator==(const SeenClaimRows&) const = default;
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
/// A vital-signs record: the nurses' table for in-patients (taken by the clerk),
/// the visit's history for out-patients.
void addVitalSigns(Connection& connection, const QString& idNum, bool outPatient, const VitalSignsEntry& entry,
                   const QString& clerk);

/// The height and weight of the admission's first history record, the one the
/// height/weight check reads: only those two columns of it are written, and only
/// while it is as seen. When the admission has no history record (seen none, and
/// there still is none), one is added, taken on takenOn.
void saveHeightWeight(Connection& connection, const QString& idNum, bool outPatient,
                      const std::optional<SeenRow>& seenRecord, const QString& takenOn, const QString& height,
                      const QString& weight);

/// Sets the finding of the admission's GU(IE) entry as the GU marking does: the
/// first entry gets Code "X", Result "1" and the finding as its remark, or an entry
/// is made when there is none. Refused when the entry changed since seen.
void setGuFinding(Connection& connection, const QString& idNum, const std::optional<SeenRow>& seenEntry,
                  const QString& finding, const QString& clerk);

/// The chief complaint of the admission's first history record (the one the
/// height/weight page edits), only while it is as seen; with no record (seen none,
/// and still none), one is added, taken on takenOn.
void saveChiefComplaint(Connection& connection, const QString& idNum, bool outPatient,
                        const std::optional<SeenRow>& seenRecord, const QString& takenOn, const QString& complaint);

/// A note in the course in the ward, by the clerk.
void addCourseNote(Connection& connection, const QString& idNum, const QString& writtenOn, const QString& text,
                   const QString& clerk);

/// The columns the entry window writes the clerk's texts into.
enum class EntryColumn {
    BriefHistory,
    BloodPressure,
    Temperature,
    PulseRate,
    RespiratoryRate,
    Height,
    Weight,
    GuFinding,
    CourseNote,
    ChiefComplaint,
};

/// The declared length of the column in characters; 0 when none is known (the
/// write itself then reports what the database says).
int declaredLength(Connection& connection, EntryColumn column, bool outPatient);

} // namespace vantik
