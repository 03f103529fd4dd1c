#pragma once

#include "ecf4/cf4_libraries.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>

namespace vantik::ecf4 {

/// A library ID as the document carries it, with the HIS's own words it came
/// from, so that a finding about it can say which record is meant.
struct CodedItem {
    QString id;
    QString hisWords; ///< "HEENT: Pale conjunctivae"
};

/// One physical-exam system: the IDs the PEMISC elements carry, distinct and in
/// ascending order, and the remark PESPECIFIC carries (the remarks of its
/// "Others" records).
struct ExamSystem {
    QList<CodedItem> findings;
    QString remark;
};

/// A record of the HIS that the code tables do not code (yet).
struct UncodedRecord {
    QString area, subArea, description;
    /// The exam system the other records of its sub-area are coded in; -1 when
    /// they name none or several.
    int system = -1;
};

struct CourseNote {
    QDate date;      ///< invalid when the HIS has none (or none readable)
    QString action;  ///< the doctor's action: the note's text
};

/// One drug record of the admission.
struct Medicine {
    QString hisName;      ///< the HIS's description: generic name, dosage and unit
    QString drugCode;     ///< the library's 30 characters; empty when the drug has no code
    std::array<QString, 6> parts; ///< generic, salt, strength, form, unit, package codes
    QString genericName;  ///< the description sent for a drug without a code
    QString route, quantity, totalPrice, frequency;
    QDate added;
};

/// The CF4 of one admission or out-patient visit: every item the document carries
/// that is not fixed, as the document will carry it, composed from the HIS and the
/// program's own tables (see cf4_source.h). The check (cf4_rules.h) tells whether
/// PhilHealth takes it; the writer (cf4_document.h) lays it out.
struct Cf4Form {
    // The facility, set once for the hospital.
    QString accreditationNo, certificationId, userName;

    QString idNum;   ///< pHciCaseNo, pHciTransNo and pEClaimId
    QDate exportDate; ///< pTransDate, pEffYear and the NOMED record's date
    QDate admitted;

    // The patient.
    QString pin;            ///< the PhilHealth number, its dashes and blanks left out
    QString patientType;    ///< MM or DD; empty when the HIS's type is neither
    QString hisPatientType; ///< the HIS's type as read, for the finding
    QString sex;            ///< M or F; empty when the HIS's sex is neither
    QString hisSex;
    QString firstName, middleName, lastName;
    QDate birthDate;

    // Subjective.
    QString chiefComplaint, illnessHistory, pastHistory;
    QList<CodedItem> signs; ///< distinct, in library order ("X" last)
    QString painSite, otherComplaint;

    QString genSurveyId, genSurveyRemark;

    // Vital signs of one record, height and weight of one record.
    bool vitalsRecorded = false; ///< a record with the values it needs was found
    QString bloodPressure;       ///< as read, for the finding when it cannot be split
    QString systolic, diastolic, heartRate, respiratoryRate, temperature;
    bool measured = false;
    QString height, weight;
    int ageYears = -1; ///< on the admission date; -1 unknown

    std::array<ExamSystem, kExamSystems> exam;
    QList<UncodedRecord> uncoded;

    // Menstrual and pregnancy history.
    QString mensApplicable; ///< Y or N; empty when nobody said
    QDate lastPeriod;
    /// Pregnancies, deliveries, full-term, premature, abortions, living children.
    std::array<QString, 6> pregnancyCounts;

    QList<CourseNote> courseNotes;
    QList<Medicine> medicines; ///< none: the NOMED record is sent
};

} // namespace vantik::ecf4
