#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <stdexcept>

namespace vantik {
class Connection;
}

namespace vantik::ecf4 {

/// The program's own tables in the claims department's database (MEDICARE). The
/// database administrator creates them once (docs/sql-server.md); the demo
/// generator creates them in the embedded database. Column names and lengths are
/// those of docs/ecf4.md.
inline constexpr const char* kFacilityTable = "tbCF4Facility";    ///< the hospital's values, one row
inline constexpr const char* kFindingCodeTable = "tbCF4FindingCode"; ///< HIS words -> library ID
inline constexpr const char* kDrugCodeTable = "tbCF4DrugCode";    ///< HIS drug -> drug code
inline constexpr const char* kEntryTable = "tbCF4Entry";          ///< CF4 items the HIS lacks, by IDNum

/// A database without one or more of those tables.
class MissingTablesError : public std::runtime_error {
public:
    explicit MissingTablesError(QStringList tables);
    const QStringList& tables() const { return m_tables; }

private:
    QStringList m_tables;
};

/// Throws MissingTablesError naming every one of the four tables the database lacks.
void requireCf4Tables(Connection& connection);

/// The values the document needs that belong to the hospital, not to a claim.
struct Facility {
    QString accreditationNo, certificationId, userName;
};
Facility readFacility(Connection& connection);

struct FindingCode {
    QString library; ///< "lib_heent"
    QString id;
};

struct DrugCode {
    QString code;
    std::array<QString, 6> parts; ///< generic, salt, strength, form, unit, package
};

/// The code tables, looked up as SQL Server compares their keys: letter case and
/// trailing blanks do not count, so "PARACETAMOL " finds the row of "Paracetamol".
class CodeTables {
public:
    static CodeTables read(Connection& connection);

    void addFinding(const QString& area, const QString& subArea, const QString& description, FindingCode code);
    void addDrug(const QString& genericName, const QString& dosage, const QString& unit, DrugCode code);
    const FindingCode* finding(const QString& area, const QString& subArea, const QString& description) const;
    const DrugCode* drug(const QString& genericName, const QString& dosage, const QString& unit) const;
    /// The library that every coded record of the area and sub-area is coded in
    /// ("lib_heent" for HEENT); empty when they name none or several.
    QString subAreaLibrary(const QString& area, const QString& subArea) const;

private:
    QHash<QString, FindingCode> m_findings;
    QHash<QString, QString> m_subAreaLibraries; // a library, or "" when its records disagree
    QHash<QString, DrugCode> m_drugs;
};

/// What the HIS and the program's entry table hold of one admission or out-patient
/// visit, as text (NULL is the empty text; datetimes as the program reads them).
struct Cf4Source {
    QString idNum;
    bool outPatient = false;
    QString admitted, medicareType, briefHistory;
    QString lastName, firstName, middleName, sex, birthDate, philHealthNum;

    struct History {
        QString takenOn, chiefComplaint, height, weight;
    };
    struct Vitals {
        QString takenOn, bloodPressure, temperature, pulseRate, respiratoryRate;
    };
    struct Condition {
        QString area, subArea, description, remarks;
    };
    struct Note {
        QString writtenOn, text;
    };
    struct Drug {
        QString orderedOn, genericName, dosage, unit, route, quantity, totalAmount;
    };
    /// tbCF4Entry; all empty when the admission has no row there.
    struct Entry {
        QString genSurveyId, genSurveyRemarks, pastHistory, mensApplicable, lastPeriod;
        std::array<QString, 6> pregnancyCounts;
        QString painSite, otherComplaint;
    };

    QList<History> histories;
    QList<Vitals> vitals; ///< out-patients: from their history records
    QList<Condition> conditions; ///< signs and symptoms and physical-exam records
    QList<Note> notes;
    QList<Drug> drugs;
    Entry entry;
};

/// Reads one admission or visit (an IDNum holding an upper-case B is an out-patient
/// visit); nothing when the IDNum names none. Only reads. Throws DatabaseError.
std::optional<Cf4Source> readCf4Source(Connection& connection, const QString& idNum);

/// The PhilHealth claims registered (admitted) from one date to another, both
/// included: in-patients and out-patients whose membership type is set and not
/// "nn", in order of registration.
QStringList claimsRegistered(Connection& connection, const QDate& from, const QDate& to);

/// A datetime as the program reads it ("1/5/2024 9:07:00 AM") or as stored; an
/// invalid date when the text is empty or unreadable.
QDate dateOfText(const QString& text);

} // namespace vantik::ecf4
