#pragma once

// Physical-exam findings and signs and symptoms as the HIS keeps them: records of
// tbPatientConditions in the HIS's own words, which the code table ties to
// PhilHealth's library IDs. The entry window chooses IDs; these functions find the
// words, and write the records as the GU marking writes its entry.

#include "ecf4/cf4_libraries.h"
#include "host/claimforms/claim_form_saves.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace vantik {

class Connection;

/// The code table read backwards: for each library entry, the HIS's words.
class Cf4Wording {
public:
    /// Reads MEDICARE..tbCF4FindingCode. Throws DatabaseError.
    static Cf4Wording read(Connection& connection);

    void add(const QString& area, const QString& subArea, const QString& description, const QString& library,
             const QString& id);

    /// "PhysicalExam" or "SignsSymptoms".
    static QString area(ecf4::Library library);
    /// The sub-area the HIS files the library's records under: the one the code
    /// table names most for it, else the HIS's usual name ("HEENT", "GU(IE)", "SIGNS").
    QString subArea(ecf4::Library library) const;
    /// The HIS's words for an entry; empty when the code table has none.
    QString words(ecf4::Library library, const QString& id) const;
    /// The entry a record of the library's sub-area is coded as; empty when none.
    QString idOf(ecf4::Library library, const QString& description) const;

private:
    QHash<QString, QString> m_words;          // library + id -> first description
    QHash<QString, QString> m_ids;            // library + folded description -> id
    QHash<QString, QHash<QString, int>> m_subAreas; // library -> sub-area -> rows
};

/// The records of one library's sub-area for the admission, as read now, in a
/// stable order (the save compares them whole).
QList<SeenRow> readConditionRows(Connection& connection, const QString& idNum, ecf4::Library library,
                                 const Cf4Wording& wording);

/// Every physical-exam and signs-and-symptoms record of the admission, read as
/// readConditionRows reads them.
QList<SeenRow> readAllConditionRows(Connection& connection, const QString& idNum);

/// A chosen entry and, for "Others", what was found.
struct ChosenFinding {
    QString id;
    QString remark;
    bool operator==(const ChosenFinding&) const = default;
};

/// What the records say: the coded entries (in the library's order, remarks of
/// "Others" joined) and the HIS's words of the records the code table lacks.
struct RecordedFindings {
    QList<ChosenFinding> chosen;
    QStringList uncoded;
};
RecordedFindings recordedFindings(const QList<SeenRow>& rows, ecf4::Library library, const Cf4Wording& wording);

/// Makes the records of the library's sub-area say exactly what was chosen: a
/// record of a chosen entry stays (an "Others" record gets the remark), a record
/// of an entry no longer chosen goes, a chosen entry without a record gets one
/// (Code "X", Result "1", the clerk as encoder). Records the code table does not
/// code are left as they are. An entry the HIS has no words for is written with
/// PhilHealth's and those words are added to the code table at once. When the
/// records are not what seen holds, nothing is written and DatabaseError says the
/// record was changed by another user. Returns the user-log text of the change.
QString saveConditions(Connection& connection, const QString& idNum, ecf4::Library library, Cf4Wording& wording,
                       const QList<SeenRow>& seen, const QList<ChosenFinding>& chosen, const QString& clerk,
                       const QDateTime& now);

/// A remark that says nothing PhilHealth takes: none, NA, N/A, not applicable
/// (any letter case, blanks and a final full stop aside), or nothing at all.
bool isEmptyRemark(const QString& remark);

} // namespace vantik
