#pragma once

#include <span>

namespace vantik::demovocabulary {

// Word lists the demo HIS data is drawn from. Names are Filipino, with a few
// that carry an apostrophe or an enye so that quoting and UTF-8 are exercised.

std::span<const char* const> surnames();
std::span<const char* const> maleFirstNames();
std::span<const char* const> femaleFirstNames();
std::span<const char* const> streets();
std::span<const char* const> towns();

struct Specialization {
    int id;
    const char* name;
};
std::span<const Specialization> specializations();

struct Service {
    const char* id;
    const char* name;
    int specializationId;        ///< the specialization of most of its doctors
    int inPatientWeight;         ///< share among admissions
    int outPatientWeight;        ///< share among out-patient visits
    const char* const* histories; ///< brief histories typical of the service, nullptr-terminated
    const char* const* diagnoses; ///< nullptr-terminated
};
std::span<const Service> services();

struct Company {
    const char* accountNum;
    const char* name;
    const char* type;
};
std::span<const Company> companies();

struct Drug {
    const char* genericName;
    const char* brandName;
    const char* dosage;
    const char* route;
    const char* unitCode;
    double unitPrice;
    int maxQuantity;
};
/// Index 0..commonDrugCount()-1 are the everyday drugs given to anyone.
std::span<const Drug> drugs();
int commonDrugCount();
/// Drugs given in hemodialysis and chemotherapy sessions.
std::span<const Drug> hemodialysisDrugs();
std::span<const Drug> chemotherapyDrugs();

std::span<const char* const> courseNotes();
std::span<const char* const> doctorOrders();
std::span<const char* const> chiefComplaints();

struct ExamEntry {
    const char* areaCat;
    const char* areaSubCat;
    const char* description;
};
/// Physical-exam and sign entries of tbPatientConditions other than the GU "OTHERS" entry.
std::span<const ExamEntry> examEntries();
std::span<const char* const> guRemarks();

} // namespace vantik::demovocabulary
