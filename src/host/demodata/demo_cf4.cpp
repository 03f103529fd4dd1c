#include "host/demodata/demo_cf4.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace vantik::demodata {

namespace {

/// A finding or symptom in the HIS's words, with the library ID the demo's code
/// table gives it (nullptr: the table has no row for it).
struct Word {
    const char* description;
    const char* id;
};

// Signs and symptoms, AreaSubCat "SIGNS": the four the HIS's older records use
// first (voc::examEntries), then more.
constexpr Word kSymptoms[] = {
    {"Fever", "37"},         {"Cough", "9"},         {"Abdominal pain", "2"},        {"Dyspnea", "13"},
    {"Headache", "18"},      {"Vomiting", "35"},     {"Body weakness", "5"},         {"Dizziness", "11"},
    {"Chest pain", "8"},     {"Loose bowel movement", "10"}, {"Loss of appetite", "3"}, {"Pain", "38"},
    {"Hiccups", "X"},
};
constexpr std::size_t kPain = 11;
constexpr std::size_t kHiccups = 12;

struct ExamSystem {
    const char* subArea; ///< as the HIS's records name it
    const char* library;
    const char* normalId;
    std::vector<Word> abnormal;
    Word uncoded; ///< words the code table deliberately lacks: a deactivated entry
};

const ExamSystem& examSystem(std::size_t s)
{
    static const ExamSystem kSystems[] = {
        {"SKIN/EXTREMITIES", "lib_skin", "1",
         {{"Edema/swelling", "5"}, {"Pale nailbeds", "7"}, {"Rashes/petechiae", "9"}, {"Poor skin turgor", "8"}},
         {nullptr, nullptr}},
        {"HEENT", "lib_heent", "11",
         {{"Pale conjunctivae", "16"}, {"Dry mucous membranes", "14"}, {"Icteric sclerae", "15"},
          {"Cervical lymphadenopathy", "13"}},
         {"Anicteric sclerae", nullptr}},
        {"CHEST/LUNGS", "lib_chest", "6",
         {{"Rales/crackles/rhonchi", "4"}, {"Wheezes", "5"}, {"Decreased breath sounds", "8"}, {"Retractions", "3"}},
         {"Clear breath sounds", nullptr}},
        {"CVS", "lib_heart", "5", {{"Irregular rhythm", "7"}, {"Murmur", "4"}, {"Muffled heart sounds", "8"}},
         {"Normal rate regular rhythm", nullptr}},
        {"ABDOMEN", "lib_abdomen", "7",
         {{"Direct and rebound tenderness", "9"}, {"Hyperactive bowel sounds", "10"}, {"Abdominal rigidity", "8"}},
         {nullptr, nullptr}},
        {"NEURO-EXAM", "lib_neuro", "6",
         {{"Poor muscle tone/strength", "12"}, {"Abnormal reflexes", "10"}, {"Abnormal gait", "7"}},
         {nullptr, nullptr}},
        {"GU(IE)", "lib_genitourinary", "1", {{"Blood stained in exam finger", "2"}, {"Abnormal discharge", "4"}},
         {nullptr, nullptr}},
    };
    return kSystems[s];
}
constexpr std::size_t kSystems = 7;
constexpr std::size_t kGu = 6;
constexpr const char* kNormal = "Essentially normal";
constexpr const char* kOthers = "OTHERS"; // what the HIS writes for a finding in its own words

constexpr const char* kOtherFindings[] = {
    "Healed surgical scar", "Tattoo over the left arm", "Old fracture deformity, healed", "Pierced ears",
};
constexpr const char* kPastHistories[] = {
    "Hypertension, maintained on losartan",
    "Type 2 diabetes mellitus x 5 years, on metformin",
    "Bronchial asthma since childhood, last attack 2024",
    "No previous hospitalization; no known illness",
    "Appendectomy in 2015",
    "Pulmonary tuberculosis, completed treatment in 2019",
    "Dengue fever in 2022, recovered",
};
constexpr const char* kPainSites[] = {
    "Right lower quadrant", "Lower back", "Left knee", "Epigastric area", "Right flank", "Both ankles",
};

int yearsOld(Millis born, Millis on)
{
    int y1, m1, d1, y2, m2, d2;
    daysToCivil(born / kDay, y1, m1, d1);
    daysToCivil(on / kDay, y2, m2, d2);
    return y2 - y1 - ((m2 < m1 || (m2 == m1 && d2 < d1)) ? 1 : 0);
}

void addExam(Cf4Items& items, std::size_t s, const char* description, std::string remarks = {})
{
    items.conditions.push_back({"PhysicalExam", examSystem(s).subArea, description, std::move(remarks)});
}

} // namespace

void assignCf4Intents(Plan& plan)
{
    constexpr int kDefects = int(Cf4Intent::ChiefComplaintNone) - int(Cf4Intent::Complete);
    for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
        Admission& a = plan.admissions[i];
        if (!philHealthMember(a) || a.discharged == kNoTime)
            continue;
        DemoRandom random(plan.seed, i, kStreamCf4Intent);
        // The clerk has verified most claims that are complete; some verified ones
        // still lack something, as the eCF4's check will show.
        const bool verified = nurseProfile(plan, i).verified;
        const double draw = random.unit();
        const double complete = verified ? 0.8 : 0.35;
        const double defect = verified ? 0.2 : 0.15;
        if (draw < complete)
            a.cf4 = Cf4Intent::Complete;
        else if (draw < complete + defect)
            a.cf4 = Cf4Intent(int(Cf4Intent::Complete) + 1 + int(random.below(kDefects)));
    }
    for (const Admission& a : plan.admissions) {
        Patient& p = plan.patients[a.patient];
        if (!a.arranged() || !p.philHealthNum.empty())
            continue;
        DemoRandom random(plan.seed, a.patient, kStreamCf4Pin);
        char number[20];
        std::snprintf(number, sizeof number, "%02d-%09llu-%d", int(random.between(1, 19)),
                      (unsigned long long)random.below(1000000000ULL), int(random.below(10)));
        p.philHealthNum = number;
    }
}

Cf4Items cf4Items(const Plan& plan, std::size_t i)
{
    const Admission& a = plan.admissions[i];
    const Patient& patient = plan.patients[a.patient];
    Cf4Items items;
    DemoRandom random(plan.seed, i, kStreamCf4Exam);

    std::vector<std::size_t> symptoms;
    const int symptomCount = int(random.between(1, 3));
    for (int k = 0; k < symptomCount; ++k) {
        const std::size_t s = random.below(std::size(kSymptoms));
        if (std::find(symptoms.begin(), symptoms.end(), s) == symptoms.end())
            symptoms.push_back(s);
    }
    if (a.cf4 == Cf4Intent::PainWithoutSite && std::find(symptoms.begin(), symptoms.end(), kPain) == symptoms.end())
        symptoms.push_back(kPain);
    for (const std::size_t s : symptoms)
        items.conditions.push_back({"SignsSymptoms", "SIGNS", kSymptoms[s].description, {}});

    // One system may carry the intent's flaw.
    const std::size_t flawed = 1 + random.below(3);
    for (std::size_t s = 0; s < kSystems; ++s) {
        const ExamSystem& system = examSystem(s);
        if (s == kGu && a.cf4 == Cf4Intent::GuNotApplicable) {
            addExam(items, s, kOthers, "Not Applicable");
            continue;
        }
        if (s == flawed && a.cf4 == Cf4Intent::UncodedFinding) {
            addExam(items, s, system.uncoded.description);
            continue;
        }
        if (s == flawed && a.cf4 == Cf4Intent::OthersWithoutRemark) {
            addExam(items, s, kOthers);
            continue;
        }
        const bool normal = random.chance(0.7);
        if (normal || (s == flawed && a.cf4 == Cf4Intent::NormalWithFinding))
            addExam(items, s, kNormal);
        if (!normal || (s == flawed && a.cf4 == Cf4Intent::NormalWithFinding)) {
            const std::size_t first = random.below(system.abnormal.size());
            addExam(items, s, system.abnormal[first].description);
            if (random.chance(0.3) && system.abnormal.size() > 1)
                addExam(items, s, system.abnormal[(first + 1) % system.abnormal.size()].description);
        }
        if (!normal && random.chance(0.1))
            addExam(items, s, kOthers, random.pick(kOtherFindings));
    }

    DemoRandom entry(plan.seed, i, kStreamCf4Entry);
    if (a.cf4 != Cf4Intent::NoGeneralSurvey) {
        const bool alert = entry.chance(0.93);
        items.genSurveyId = alert ? "1" : "2";
        items.genSurveyRemarks = alert ? nullptr : "Drowsy, arousable to voice";
    }
    if (a.cf4 != Cf4Intent::NoPastHistory)
        items.pastHistory = entry.pick(kPastHistories);
    if (isFemale(patient)) {
        const int age = yearsOld(patient.birthDate, a.admitted);
        const bool applies = age >= 12 && age <= 50;
        items.mensApplicable = applies ? "Y" : "N";
        if (applies) {
            items.lastPeriod = a.admitted - a.admitted % kDay - entry.between(5, 40) * kDay;
            const int pregnancies = int(entry.between(0, 5));
            const int abortions = pregnancies > 0 ? int(entry.between(0, 1)) : 0;
            const int deliveries = pregnancies - abortions;
            const int premature = deliveries > 0 && entry.chance(0.15) ? 1 : 0;
            const int living = std::max(0, deliveries - (entry.chance(0.05) ? 1 : 0));
            const int counts[] = {pregnancies, deliveries, deliveries - premature, premature, abortions, living};
            std::copy(std::begin(counts), std::end(counts), items.counts);
        }
    }
    const bool pain = std::find(symptoms.begin(), symptoms.end(), kPain) != symptoms.end();
    if (pain && a.cf4 != Cf4Intent::PainWithoutSite)
        items.painSite = entry.pick(kPainSites);
    if (std::find(symptoms.begin(), symptoms.end(), kHiccups) != symptoms.end())
        items.otherComplaint = "Hiccups for two days, not relieved by drinking water";
    return items;
}

const char* visitCourseNote(const Admission& a)
{
    if (a.is(kHemodialysis))
        return "Hemodialysis done for 4 hours, tolerated well. For the next session as scheduled.";
    if (a.is(kChemotherapy))
        return "Chemotherapy given as ordered, no adverse reaction. Sent home stable.";
    return "Seen and examined, given medications as ordered. Sent home improved.";
}

void writeCf4Tables(SqliteWriter& db, const Plan& plan)
{
    TimeBinder time;
    const Millis setUp = dateToMillis(kDemoReferenceYear - 2, kDemoReferenceMonth, 15) + 10 * kHour;
    {
        SqliteInsert insert(db, "INSERT INTO tbCF4Facility (FacilityID, HciAccreNo, CertificationID, UserName, "
                                "ChangedBy, ChangedOn) VALUES (?,?,?,?,?,?)");
        insert.integer(1).text("H91001234").text("ECL-VANTIK-2026-00017").text("DEMOHOSP-ECLAIMS");
        insert.text("LBAUTISTA").text(time(setUp, 0)).run();
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbCF4FindingCode (AreaCat, AreaSubCat, Description, Library, LibraryID, "
                                "ChangedBy, ChangedOn) VALUES (?,?,?,?,?,?,?)");
        auto row = [&](const char* area, const char* subArea, const char* description, const char* library,
                       const char* id) {
            insert.text(area).text(subArea).text(description).text(library).text(id);
            insert.text("LBAUTISTA").text(time(setUp, 0)).run();
        };
        for (const Word& word : kSymptoms)
            row("SignsSymptoms", "SIGNS", word.description, "lib_chief_complaint", word.id);
        for (std::size_t s = 0; s < kSystems; ++s) {
            const ExamSystem& system = examSystem(s);
            row("PhysicalExam", system.subArea, kNormal, system.library, system.normalId);
            for (const Word& word : system.abnormal)
                row("PhysicalExam", system.subArea, word.description, system.library, word.id);
            row("PhysicalExam", system.subArea, kOthers, system.library, "99");
        }
    }
    {
        // The one drug of the demo whose PhilHealth code is published with its parts;
        // every other drug goes with its description.
        SqliteInsert insert(db, "INSERT INTO tbCF4DrugCode (HisGenericName, HisDosage, HisUnitCode, DrugCode, "
                                "GenericCode, SaltCode, StrengthCode, FormCode, UnitCode, PackageCode, ChangedBy, "
                                "ChangedOn) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
        insert.text("Ceftriaxone").text("1 g").text("VIAL").text("CEFTR0002000644SOL3200000VIALX");
        insert.text("CEFTR").text("00020").text("00644").text("SOL32").text("00000").text("VIALX");
        insert.text("LBAUTISTA").text(time(setUp, 0)).run();
    }
    SqliteInsert insert(db, "INSERT INTO tbCF4Entry (IDNum, GenSurveyID, GenSurveyRemarks, PastMedicalHistory, "
                            "MensApplicable, LastMensPeriod, PregnancyCount, DeliveryCount, FullTermCount, "
                            "PrematureCount, AbortionCount, LivingChildrenCount, PainSite, OtherComplaint, "
                            "ChangedBy, ChangedOn) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
        const Admission& a = plan.admissions[i];
        if (!a.arranged())
            continue;
        const Cf4Items items = cf4Items(plan, i);
        insert.text(a.idView()).text(items.genSurveyId).text(items.genSurveyRemarks).text(items.pastHistory);
        insert.text(items.mensApplicable);
        if (items.lastPeriod == kNoTime)
            insert.null();
        else
            insert.text(time(items.lastPeriod, 0));
        for (const int count : items.counts) {
            if (count < 0)
                insert.null();
            else
                insert.integer(count);
        }
        insert.text(items.painSite).text(items.otherComplaint);
        insert.text(kWorkUsers[i % 5]).text(time(capped(a.admitted + 26 * kHour), 1)).run();
    }
}

} // namespace vantik::demodata
