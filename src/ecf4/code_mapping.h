#pragma once

// The clerk's side of the code tables: what the listed claims hold that has no
// PhilHealth code yet, and the saving of a code or of the facility's values
// through the recordset, as every other save of the program.

#include "ecf4/cf4_libraries.h"
#include "ecf4/cf4_source.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vantik {
class Connection;
}

namespace vantik::ecf4 {

/// A finding or symptom in the HIS's words without a usable code.
struct UncodedFinding {
    QString area, subArea, description;
    int records = 0;                    ///< how often the listed claims record it
    std::optional<Library> likely;      ///< the library its sub-area's codes are in, when they agree
};

/// A drug of the HIS without a drug code.
struct UncodedDrug {
    QString genericName, dosage, unit;
    int records = 0;
};

struct UncodedItems {
    QList<UncodedFinding> findings; ///< most frequent first, then by area, sub-area and words
    QList<UncodedDrug> drugs;       ///< most frequent first, then by name, dosage and unit
};

/// What the claims record that the code tables do not code, counted over their
/// records; spellings that differ only in letter case or trailing blanks are one
/// item, as the lookup makes them. afterClaim (index from 0, count) returns false
/// to stop. Only reads. Throws DatabaseError and MissingTablesError.
UncodedItems uncodedInClaims(Connection& connection, const QStringList& idNums,
                             const std::function<bool(int index, int count)>& afterClaim = {});

/// A value the clerk gave that cannot be saved; what() says why, for the clerk.
class CodeEntryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Saves the library entry for the HIS's words (a new row, or the existing one
/// changed); only an active entry of the library is taken. changedBy is the
/// clerk. Throws CodeEntryError and DatabaseError.
void saveFindingCode(Connection& connection, const UncodedFinding& finding, Library library, const QString& id,
                     const QString& changedBy);

/// Saves the drug code for the HIS's drug: 30 letters and digits, its six parts
/// taken from it in PhilHealth's order (generic, salt, strength, form, unit,
/// package; five characters each). Throws CodeEntryError and DatabaseError.
void saveDrugCode(Connection& connection, const UncodedDrug& drug, const QString& code, const QString& changedBy);

/// The six parts of a drug code, five characters each from its start.
std::array<QString, 6> drugCodeParts(const QString& code);

/// Saves the hospital's values (the one row, made when missing). A value longer
/// than its column is refused by the save. Throws DatabaseError.
void saveFacility(Connection& connection, const Facility& facility, const QString& changedBy);

} // namespace vantik::ecf4
