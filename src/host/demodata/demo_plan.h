#pragma once

// What the writers of the four demo files share: the plan of doctors, patients and
// admissions, drawn once from the seed, the time helpers and the per-admission
// random streams. Internal to the generator.

#include "host/demodata/demo_generator.h"
#include "host/demodata/demo_random.h"
#include "host/demodata/demo_schema.h"
#include "host/demodata/sqlite_writer.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::demodata {

// ---------------------------------------------------------------------------
// Time: milliseconds since 1970-01-01 00:00 of the hospital's local time.

using Millis = std::int64_t;
inline constexpr Millis kSecond = 1000;
inline constexpr Millis kMinute = 60 * kSecond;
inline constexpr Millis kHour = 60 * kMinute;
inline constexpr Millis kDay = 24 * kHour;
inline constexpr Millis kNoTime = -1;

constexpr long long civilToDays(int year, int month, int day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = unsigned(year - era * 400);
    const unsigned doy = (153 * unsigned(month + (month > 2 ? -3 : 9)) + 2) / 5 + unsigned(day) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

constexpr Millis dateToMillis(int year, int month, int day)
{
    return civilToDays(year, month, day) * kDay;
}

void daysToCivil(long long days, int& year, int& month, int& day);
int yearOf(Millis t);

inline constexpr Millis kWindowStart =
    dateToMillis(kDemoReferenceYear - 2, kDemoReferenceMonth, kDemoReferenceDay) + kDay;
inline constexpr Millis kWindowEnd = dateToMillis(kDemoReferenceYear, kDemoReferenceMonth, kDemoReferenceDay) + kDay;
inline constexpr int kLastMonthDays = 30;

/// Binds datetimes in the storage form, or NULL for kNoTime; each slot's text
/// lives until the next use of the slot, so one row can bind several.
class TimeBinder {
public:
    std::string_view operator()(Millis t, std::size_t slot);

private:
    std::array<std::string, 4> m_slots;
};

/// SQL Server's datetime keeps 1/300 s: milliseconds end in 0, 3 or 7.
Millis sqlServerMillis(DemoRandom& random);
Millis clockTime(DemoRandom& random, int firstHour, int lastHour);
/// Never after the end of the demo's window.
Millis capped(Millis t);

// ---------------------------------------------------------------------------
// The plan

struct Doctor {
    std::string id;
    std::string lastName;
    std::string firstName;
    std::string middleInitial;
    int specializationId;   ///< 0: none (NULL); 99: a code the table lacks
    int service;
};

struct Patient {
    std::string hospNum;
    std::string lastName;
    std::string firstName;
    std::string middleName;
    const char* sex;
    Millis birthDate;
    bool hemodialysis = false;  ///< chronic: maintenance hemodialysis
    bool oncology = false;      ///< on chemotherapy
    std::string hemoNum;
    std::string philHealthNum;
};

// In-patient ID: two-digit year and a serial; out-patient: an upper-case B in front.
inline constexpr std::size_t kIdSize = 13;

enum AdmissionFlag : std::uint8_t {
    kOutPatient = 1,
    kHemodialysis = 2,
    kChemotherapy = 4,
    kNewborn = 8,
};

inline constexpr std::uint8_t kNone = 255;

/// What a claim's CF4 is meant to be in the demo: complete, so that the eCF4
/// takes it, or lacking one thing a clerk can name.
enum class Cf4Intent : std::uint8_t {
    AsItComes,          ///< the HIS's everyday gaps, nothing arranged
    Complete,
    NoPastHistory,
    NoGeneralSurvey,
    GuNotApplicable,    ///< the GU marking's remark, which PhilHealth refuses
    UncodedFinding,     ///< a finding in words the code tables lack
    NormalWithFinding,  ///< "Essentially normal" beside another finding
    OthersWithoutRemark,
    PainWithoutSite,
    NoCourseNote,
    ChiefComplaintNone, ///< "none" as the chief complaint
};

struct Admission {
    Millis admitted = 0;
    Millis discharged = kNoTime;
    std::uint32_t patient = 0;
    std::int32_t link = -1;       ///< before IDs: mother (newborn) or ER visit (in-patient); index into the plan
    std::uint8_t service = kNone;
    std::uint8_t serviceQuirk = 0; ///< 0 the service's code, 1 NULL, 2 a code the services table lacks
    std::uint8_t attending = kNone;
    std::uint8_t admitting = kNone;
    std::uint8_t doctorQuirk = 0;  ///< 0 doctor, 1 NULL, 2 empty text
    std::uint8_t medicare = 0;
    std::uint8_t account = 0;      ///< 0 personal, 1..companies, kNone NULL, 254 unknown company
    std::uint8_t flags = 0;
    Cf4Intent cf4 = Cf4Intent::AsItComes;
    char id[kIdSize] = {};
    char opdId[kIdSize] = {};

    bool out() const { return flags & kOutPatient; }
    bool is(AdmissionFlag flag) const { return flags & flag; }
    std::string_view idView() const { return std::string_view(id); }
    /// The CF4 is arranged: everything there except what the intent leaves out.
    bool arranged() const { return cf4 != Cf4Intent::AsItComes; }
};

// Order matters: the first four are PhilHealth members and dependants.
inline constexpr const char* kMedicareTypes[] = {"M", "D", "S", "I", "nn", "", nullptr};

inline bool philHealthMember(const Admission& a)
{
    return a.medicare <= 3;
}

// Users of the HIS as they appear in the CF4 columns; RDELACRUZ left the hospital.
inline constexpr const char* kWorkUsers[] = {"CLERK", "MREYES", "JSANTOS", "LBAUTISTA", "AGARCIA", "RDELACRUZ"};
inline constexpr const char* kNurses[] = {"AGARCIA", "NVILLANUEVA", "JMENDOZA", "RCASTILLO", "EAQUINO"};

// Streams of the per-admission generators: one per table, so that each table
// can be written on its own, in any order, with the same result.
enum Stream : std::uint64_t {
    kStreamHistory = 1,
    kStreamConditions,
    kStreamMedicine,
    kStreamProfile,
    kStreamVitals,
    kStreamCourse,
    kStreamOrders,
    kStreamClaims,
    kStreamPatientRow,
    kStreamMaster,
    // The CF4 items: added later, so that the tables above came out as before.
    kStreamCf4Intent,
    kStreamCf4Exam,
    kStreamCf4Entry,
    kStreamCf4Fixes,
    kStreamCf4Pin, ///< per patient
};

struct Plan {
    std::uint64_t seed = 0;
    std::vector<Doctor> doctors;
    std::vector<std::vector<int>> doctorsByService;
    std::vector<Patient> patients;
    std::vector<Admission> admissions;
};

Plan makePlan(const DemoDbOptions& options);

bool isFemale(const Patient& p);
long long stayDays(const Admission& a);
std::string upper(std::string_view text);
std::string lower(std::string_view text);

template <typename T>
const T& pickFrom(DemoRandom& random, std::span<const T> items)
{
    return items[random.below(items.size())];
}

const char* pickFromList(DemoRandom& random, const char* const* list);

// ---------------------------------------------------------------------------
// The writers, one per file

struct Counts {
    long long medicines = 0;
    long long vitalSigns = 0;
    long long courseNotes = 0;
    long long conditions = 0;
    long long doctorOrders = 0;
    long long claims = 0;
};

void writePatientData(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path, Counts& counts);
void writeBuildFile(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path);
void writeStation(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path, Counts& counts);
void writeMedicare(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path, Counts& counts);

// Values more than one file holds.

const char* doctorId(const Plan& plan, const Admission& a, std::uint8_t doctor);

struct Vitals {
    char temperature[16];
    char respRate[16];
    char bp[32];
    char pulse[16];
    char o2[16];
    bool nullTemperature, nullResp, nullBp, nullPulse;
};
Vitals makeVitals(DemoRandom& random);
SqliteInsert& bindVitals(SqliteInsert& insert, const Vitals& v);

/// The nurse profile of an admission; nothing when it has none.
struct NurseProfile {
    bool exists = false;
    bool verified = false;
    const char* status = nullptr;
    const char* assignee = nullptr;
    const char* opener = nullptr;
    const char* verifier = nullptr;
    const char* changer = nullptr;
    Millis openOn = kNoTime;
    Millis verifiedOn = kNoTime;
    Millis changedOn = kNoTime;
};
NurseProfile nurseProfile(const Plan& plan, std::size_t admission);

} // namespace vantik::demodata
