#pragma once

// The CF4 items of the demo: signs and symptoms and the seven physical-exam
// systems in the HIS's words, the items the program keeps in MEDICARE..tbCF4Entry,
// and the code tables that map the HIS's words to PhilHealth's IDs (most words
// mapped, a few deliberately not). A claim whose intent is arranged gets all of
// them, less the one thing its intent leaves out. Internal to the generator.

#include "host/demodata/demo_plan.h"

#include <string>
#include <vector>

namespace vantik::demodata {

/// Chooses each admission's intent, and gives every patient of an arranged claim a
/// PhilHealth number. Verified PhilHealth claims are mostly complete.
void assignCf4Intents(Plan& plan);

/// A record of Patient_Data..tbPatientConditions.
struct ConditionRow {
    const char* area;
    const char* subArea;
    const char* description;
    std::string remarks;
};

/// What an arranged admission holds of its CF4, drawn from its own streams, so
/// that the writers of the different files agree.
struct Cf4Items {
    std::vector<ConditionRow> conditions;
    // MEDICARE..tbCF4Entry
    const char* genSurveyId = nullptr;
    const char* genSurveyRemarks = nullptr;
    const char* pastHistory = nullptr;
    const char* mensApplicable = nullptr; ///< women only; nullptr for men
    Millis lastPeriod = kNoTime;
    int counts[6] = {-1, -1, -1, -1, -1, -1}; ///< pregnancies ... living children; -1 NULL
    const char* painSite = nullptr;
    const char* otherComplaint = nullptr;
};
Cf4Items cf4Items(const Plan& plan, std::size_t admission);

/// The ward note of an arranged out-patient visit, which has no stay to note.
const char* visitCourseNote(const Admission& a);

/// The facility's values and the code tables, and the entries of the arranged
/// claims, into MEDICARE.
void writeCf4Tables(SqliteWriter& db, const Plan& plan);

} // namespace vantik::demodata
