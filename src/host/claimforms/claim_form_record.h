#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vantik {

class Connection;

/// What the hospital's tables hold of one admission's claim form (CF4), as text.
struct ClaimFormRecord {
    struct VitalSigns {
        QString takenOn, bloodPressure, temperature, pulseRate, respiratoryRate;
        bool complete() const;
        bool operator==(const VitalSigns&) const = default;
    };
    struct Measurement {
        QString takenOn, height, weight;
        bool complete() const;
        bool operator==(const Measurement&) const = default;
    };
    struct Finding {
        QString area, subArea, description, result, remarks;
        bool operator==(const Finding&) const = default;
    };
    struct Note {
        QString writtenOn, text, by;
        bool operator==(const Note&) const = default;
    };
    struct Medicine {
        QString orderedOn, genericName, quantity, dosage, route;
        bool operator==(const Medicine&) const = default;
    };

    QString idNum;
    bool outPatient = false;
    QString hospNum, patientName, sex, birthDate, admitted, discharged, service, doctor, diagnosis;
    QString chiefComplaint; ///< the brief history of the admission
    QString status, verifiedBy, verifiedOn;
    QDateTime admittedAt;   ///< when the admission or visit began; invalid when unknown
    QDateTime dischargedAt; ///< when the patient was discharged; invalid when not (yet)

    std::vector<VitalSigns> vitalSigns;
    std::vector<Measurement> measurements;
    std::vector<Finding> findings;
    std::vector<Note> courseNotes;
    std::vector<Medicine> medicines;

    bool hasGuEntry() const;
    /// Everything read, compared as read: whether the form still reads as it did.
    bool operator==(const ClaimFormRecord&) const = default;
};

/// A datetime as the program reads it ("1/5/2024 9:07:00 AM", or the date alone
/// at midnight); an invalid QDateTime for anything else.
QDateTime dateTimeOfText(const QString& text);

/// Reads the claim form of one admission or out-patient visit; nothing when the
/// identifier names none. Throws DatabaseError.
std::optional<ClaimFormRecord> loadClaimForm(Connection& connection, const QString& idNum);

} // namespace vantik
