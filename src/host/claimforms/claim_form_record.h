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
    };
    struct Measurement {
        QString takenOn, height, weight;
        bool complete() const;
    };
    struct Finding {
        QString area, subArea, description, result, remarks;
    };
    struct Note {
        QString writtenOn, text, by;
    };
    struct Medicine {
        QString orderedOn, genericName, quantity, dosage, route;
    };

    QString idNum;
    bool outPatient = false;
    QString hospNum, patientName, sex, birthDate, admitted, discharged, service, doctor, diagnosis;
    QString chiefComplaint; ///< the brief history of the admission
    QString status, verifiedBy, verifiedOn;
    QDateTime admittedAt; ///< when the admission or visit began; invalid when unknown

    std::vector<VitalSigns> vitalSigns;
    std::vector<Measurement> measurements;
    std::vector<Finding> findings;
    std::vector<Note> courseNotes;
    std::vector<Medicine> medicines;

    bool hasGuEntry() const;
};

/// Reads the claim form of one admission or out-patient visit; nothing when the
/// identifier names none. Throws DatabaseError.
std::optional<ClaimFormRecord> loadClaimForm(Connection& connection, const QString& idNum);

} // namespace vantik
