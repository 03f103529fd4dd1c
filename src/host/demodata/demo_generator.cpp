#include "host/demodata/demo_generator.h"

#include "host/demodata/demo_random.h"
#include "host/demodata/demo_schema.h"
#include "host/demodata/demo_vocabulary.h"
#include "host/demodata/password_hash.h"
#include "host/demodata/sqlite_writer.h"
#include "host/sqlcompat/datetime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <numeric>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace vantik {

namespace fs = std::filesystem;
namespace voc = demovocabulary;

namespace {

// ---------------------------------------------------------------------------
// Time: milliseconds since 1970-01-01 00:00 of the hospital's local time.

using Millis = std::int64_t;
constexpr Millis kSecond = 1000;
constexpr Millis kMinute = 60 * kSecond;
constexpr Millis kHour = 60 * kMinute;
constexpr Millis kDay = 24 * kHour;
constexpr Millis kNoTime = -1;

long long civilToDays(int year, int month, int day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = unsigned(year - era * 400);
    const unsigned doy = (153 * unsigned(month + (month > 2 ? -3 : 9)) + 2) / 5 + unsigned(day) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void daysToCivil(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = unsigned(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe) + int(era * 400) + (month <= 2);
}

Millis dateToMillis(int year, int month, int day)
{
    return civilToDays(year, month, day) * kDay;
}

int yearOf(Millis t)
{
    int y, m, d;
    daysToCivil(t / kDay, y, m, d);
    return y;
}

/// Binds datetimes in the storage form, or NULL for kNoTime; each slot's text
/// lives until the next use of the slot, so one row can bind several.
class TimeBinder {
public:
    std::string_view operator()(Millis t, std::size_t slot)
    {
        int y, mo, d;
        daysToCivil(t / kDay, y, mo, d);
        const Millis rest = t % kDay;
        sqlcompat::DateTimeValue value;
        value.year = y;
        value.month = mo;
        value.day = d;
        value.hour = int(rest / kHour);
        value.minute = int(rest / kMinute % 60);
        value.second = int(rest / kSecond % 60);
        value.millisecond = int(rest % kSecond);
        m_slots[slot] = sqlcompat::toStorageText(value);
        return m_slots[slot];
    }

private:
    std::array<std::string, 4> m_slots;
};

const Millis kWindowStart = dateToMillis(kDemoReferenceYear - 2, kDemoReferenceMonth, kDemoReferenceDay) + kDay;
const Millis kWindowEnd = dateToMillis(kDemoReferenceYear, kDemoReferenceMonth, kDemoReferenceDay) + kDay;
constexpr int kLastMonthDays = 30;

/// SQL Server's datetime keeps 1/300 s: milliseconds end in 0, 3 or 7.
Millis sqlServerMillis(DemoRandom& random)
{
    static constexpr int kEndings[] = {0, 3, 7};
    return Millis(random.below(100)) * 10 + random.pick(kEndings);
}

Millis clockTime(DemoRandom& random, int firstHour, int lastHour)
{
    return random.between(firstHour, lastHour) * kHour + random.between(0, 59) * kMinute
        + random.between(0, 59) * kSecond + sqlServerMillis(random);
}

// ---------------------------------------------------------------------------
// Reference data

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
constexpr std::size_t kIdSize = 13;

enum AdmissionFlag : std::uint8_t {
    kOutPatient = 1,
    kHemodialysis = 2,
    kChemotherapy = 4,
    kNewborn = 8,
};

constexpr std::uint8_t kNone = 255;

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
    char id[kIdSize] = {};
    char opdId[kIdSize] = {};

    bool out() const { return flags & kOutPatient; }
    bool is(AdmissionFlag flag) const { return flags & flag; }
    std::string_view idView() const { return std::string_view(id); }
};

// Order matters: the first four are PhilHealth members and dependants.
constexpr const char* kMedicareTypes[] = {"M", "D", "S", "I", "nn", "", nullptr};

bool philHealthMember(const Admission& a)
{
    return a.medicare <= 3;
}

// Users of the HIS as they appear in the CF4 columns; RDELACRUZ left the hospital.
constexpr const char* kWorkUsers[] = {"CLERK", "MREYES", "JSANTOS", "LBAUTISTA", "AGARCIA", "RDELACRUZ"};
constexpr const char* kNurses[] = {"AGARCIA", "NVILLANUEVA", "JMENDOZA", "RCASTILLO", "EAQUINO"};

constexpr DemoUser kDemoUsers[] = {
    {"clerk", "clerk123", "Demo Claims Clerk", "21"},
    {"mreyes", "reyes2026", "Maricel Reyes", "21"},
    {"jsantos", "santos2026", "Jonathan Santos", "21"},
    {"lbautista", "bautista2026", "Liza Bautista (Claims Supervisor)", "21"},
    {"agarcia", "garcia2026", "Arlene Garcia, RN", "05"},
    {"admin", "admin2026", "HIS Administrator", "99"},
};

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
};

struct Plan {
    std::uint64_t seed = 0;
    std::vector<Doctor> doctors;
    std::vector<std::vector<int>> doctorsByService;
    std::vector<Patient> patients;
    std::vector<Admission> admissions;
};

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

template <typename T>
const T& pickFrom(DemoRandom& random, std::span<const T> items)
{
    return items[random.below(items.size())];
}

const char* pickFromList(DemoRandom& random, const char* const* list)
{
    std::size_t count = 0;
    while (list[count])
        ++count;
    return list[random.below(count)];
}

void makeDoctors(Plan& plan, DemoRandom& random)
{
    const auto services = voc::services();
    plan.doctorsByService.assign(services.size(), {});
    // Doctors per service by its share of the work, at least two each; 60 in all.
    static constexpr int kPerService[] = {12, 7, 7, 7, 4, 3, 3, 3, 3, 4, 3, 4};
    static_assert(std::size(kPerService) == 12);
    int number = 101;
    for (std::size_t s = 0; s < services.size(); ++s) {
        for (int k = 0; k < kPerService[s]; ++k) {
            Doctor doctor;
            doctor.id = std::to_string(number++);
            doctor.id.insert(0, 4 - std::min<std::size_t>(4, doctor.id.size()), '0');
            doctor.lastName = pickFrom(random, voc::surnames());
            const bool male = random.chance(0.55);
            doctor.firstName =
                male ? pickFrom(random, voc::maleFirstNames()) : pickFrom(random, voc::femaleFirstNames());
            doctor.middleInitial = std::string(1, char('A' + random.below(26))) + ".";
            const std::size_t kind = random.weighted({88, 10, 2});
            doctor.specializationId = kind == 0 ? services[s].specializationId : kind == 1 ? 0 : 99;
            doctor.service = int(s);
            plan.doctorsByService[s].push_back(int(plan.doctors.size()));
            plan.doctors.push_back(std::move(doctor));
        }
    }
}

Patient makePatient(DemoRandom& random, std::size_t index)
{
    Patient p;
    p.hospNum = std::to_string(1000001 + index);
    p.lastName = pickFrom(random, voc::surnames());
    p.middleName = pickFrom(random, voc::surnames());
    const bool male = random.chance(0.47);
    p.firstName = male ? pickFrom(random, voc::maleFirstNames()) : pickFrom(random, voc::femaleFirstNames());
    // The master file is old: a few records carry the sex the way another program
    // wrote it, or none at all; only "M" and "F" count as male and female.
    switch (random.weighted({994, 2, 2, 2})) {
    case 0: p.sex = male ? "M" : "F"; break;
    case 1: p.sex = male ? "m" : "f"; break;
    case 2: p.sex = male ? "Male" : "Female"; break;
    default: p.sex = nullptr; break;
    }
    p.birthDate = dateToMillis(int(random.between(1935, 2023)), int(random.between(1, 12)), int(random.between(1, 28)));
    const std::size_t chronic = random.weighted({970, 15, 15});
    p.hemodialysis = chronic == 1;
    p.oncology = chronic == 2;
    if (p.hemodialysis) {
        char number[16];
        std::snprintf(number, sizeof number, "HD-%05zu", index % 100000);
        p.hemoNum = number;
    }
    if (random.chance(0.75)) {
        char number[20];
        std::snprintf(number, sizeof number, "%02d-%09llu-%d", int(random.between(1, 19)),
                      (unsigned long long)random.below(1000000000ULL), int(random.below(10)));
        p.philHealthNum = number;
    }
    return p;
}

bool isFemale(const Patient& p)
{
    return p.sex && (p.sex[0] == 'F' || p.sex[0] == 'f');
}

Millis admissionDay(DemoRandom& random)
{
    const long long windowDays = (kWindowEnd - kWindowStart) / kDay;
    const long long day = random.chance(0.12) ? windowDays - kLastMonthDays + random.between(0, kLastMonthDays - 1)
                                              : random.between(0, windowDays - 1);
    return kWindowStart + day * kDay;
}

std::uint8_t pickDoctor(const Plan& plan, DemoRandom& random, int service)
{
    const bool otherService = random.chance(0.03);
    const int s = otherService ? int(random.below(plan.doctorsByService.size())) : service;
    const auto& pool = plan.doctorsByService[std::size_t(s)];
    return std::uint8_t(pool[random.below(pool.size())]);
}

void fillCommon(const Plan& plan, DemoRandom& random, Admission& a)
{
    a.medicare = std::uint8_t(random.weighted({35, 30, 8, 5, 12, 6, 4}));
    const std::size_t account = random.weighted({7600, 2300, 60, 40});
    a.account = account == 0 ? 0
        : account == 1      ? std::uint8_t(1 + random.below(voc::companies().size()))
        : account == 2      ? 254
                            : kNone;
    a.serviceQuirk = std::uint8_t(random.weighted({990, 5, 5}));
    a.attending = pickDoctor(plan, random, a.service);
    a.doctorQuirk = std::uint8_t(random.weighted({980, 10, 10}));
}

int serviceIndex(const char* id)
{
    const auto services = voc::services();
    for (std::size_t i = 0; i < services.size(); ++i)
        if (std::strcmp(services[i].id, id) == 0)
            return int(i);
    throw std::logic_error("unknown service");
}

std::uint8_t weightedService(DemoRandom& random, bool outPatient)
{
    const auto services = voc::services();
    long long total = 0;
    for (const auto& s : services)
        total += outPatient ? s.outPatientWeight : s.inPatientWeight;
    long long draw = (long long)random.below(std::uint64_t(total));
    for (std::size_t i = 0; i < services.size(); ++i) {
        draw -= outPatient ? services[i].outPatientWeight : services[i].inPatientWeight;
        if (draw < 0)
            return std::uint8_t(i);
    }
    return 0;
}

std::uint32_t pickPatient(const Plan& plan, DemoRandom& random, std::size_t regularCount, bool female,
                          bool (*wanted)(const Patient&))
{
    // A few tries are enough: the pools are a few percent of the patients.
    for (int attempt = 0; attempt < 400; ++attempt) {
        const auto index = std::uint32_t(random.below(regularCount));
        const Patient& p = plan.patients[index];
        if ((!female || isFemale(p)) && (!wanted || wanted(p)))
            return index;
    }
    return std::uint32_t(random.below(regularCount));
}

Millis inPatientStay(DemoRandom& random)
{
    static constexpr int kDays[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 14, 21};
    const std::size_t k = random.weighted({5, 15, 20, 18, 12, 9, 6, 5, 6, 3, 1});
    return Millis(kDays[k] + (k >= 8 ? random.between(-2, 2) : 0));
}

void planAdmissions(Plan& plan, DemoRandom& random, long long total)
{
    const int hd = serviceIndex("HD");
    const int onco = serviceIndex("ONCO");
    const int ob = serviceIndex("OB");
    const int pedia = serviceIndex("PEDIA");
    const int med = serviceIndex("MED");
    const std::size_t regularPatients = plan.patients.size();

    auto& list = plan.admissions;
    list.reserve(std::size_t(total));
    while ((long long)list.size() < total) {
        Admission a;
        const bool outPatient = random.chance(0.55);
        const Millis day = admissionDay(random);
        if (outPatient) {
            a.flags = kOutPatient;
            const std::size_t kind = random.weighted({84, 11, 5});
            if (kind == 1) {
                a.flags |= kHemodialysis;
                a.service = std::uint8_t(hd);
                a.patient =
                    pickPatient(plan, random, regularPatients, false, [](const Patient& p) { return p.hemodialysis; });
                static constexpr int kShifts[] = {6, 10, 14};
                a.admitted = day + random.pick(kShifts) * kHour + random.between(0, 40) * kMinute
                    + random.between(0, 59) * kSecond + sqlServerMillis(random);
                a.discharged = a.admitted + 4 * kHour + random.between(0, 30) * kMinute;
            } else if (kind == 2) {
                a.flags |= kChemotherapy;
                a.service = std::uint8_t(onco);
                a.patient =
                    pickPatient(plan, random, regularPatients, false, [](const Patient& p) { return p.oncology; });
                a.admitted = day + clockTime(random, 7, 13);
                a.discharged = a.admitted + random.between(3, 8) * kHour + random.between(0, 59) * kMinute;
            } else {
                a.service = weightedService(random, true);
                a.patient = pickPatient(plan, random, regularPatients, int(a.service) == ob, nullptr);
                a.admitted = day + clockTime(random, 7, 17);
                a.discharged = a.admitted + random.between(20, 300) * kMinute + sqlServerMillis(random);
            }
            // Visits left open by the clerk at the desk.
            if (random.chance(0.06))
                a.discharged = kNoTime;
            fillCommon(plan, random, a);
        } else {
            const std::size_t kind = random.weighted({95, 2, 3});
            if (kind == 1) {
                a.flags |= kHemodialysis;
                a.service = std::uint8_t(random.chance(0.5) ? hd : med);
                a.patient =
                    pickPatient(plan, random, regularPatients, false, [](const Patient& p) { return p.hemodialysis; });
            } else if (kind == 2) {
                a.flags |= kChemotherapy;
                a.service = std::uint8_t(onco);
                a.patient =
                    pickPatient(plan, random, regularPatients, false, [](const Patient& p) { return p.oncology; });
            } else {
                a.service = weightedService(random, false);
                a.patient = pickPatient(plan, random, regularPatients, int(a.service) == ob, nullptr);
            }
            // Admissions come round the clock, most in the afternoon and evening.
            const int shift = int(random.weighted({2, 3, 4})) * 8;
            a.admitted = day + clockTime(random, shift, shift + 7);
            const Millis stay = inPatientStay(random);
            a.discharged = stay == 0 ? a.admitted + random.between(4, 12) * kHour + random.between(0, 59) * kMinute
                                     : a.admitted - a.admitted % kDay + stay * kDay + clockTime(random, 9, 18);
            if (random.chance(0.003))
                a.discharged = kNoTime;
            fillCommon(plan, random, a);
            a.admitting = random.chance(0.7) ? a.attending
                : random.chance(0.95)        ? pickDoctor(plan, random, random.chance(0.5) ? med : int(a.service))
                                             : kNone;
        }
        if (a.discharged != kNoTime && a.discharged >= kWindowEnd)
            a.discharged = kNoTime;
        list.push_back(a);
        const std::size_t index = list.size() - 1;

        if (!outPatient && (long long)list.size() < total && random.chance(0.25)) {
            // Came in through the emergency room: the ER visit is an out-patient record.
            Admission er = list[index];
            er.flags = kOutPatient;
            er.admitted = list[index].admitted - random.between(40, 240) * kMinute;
            er.discharged = list[index].admitted;
            er.link = -1;
            if (er.admitted >= kWindowStart) {
                list.push_back(er);
                list[index].link = std::int32_t(list.size() - 1);
            }
        }
        if (!outPatient && int(list[index].service) == ob && (long long)list.size() < total && random.chance(0.35)) {
            // A delivery: the newborn gets its own admission, the mother's ID with a lower-case b.
            Admission baby;
            baby.flags = kNewborn;
            baby.service = std::uint8_t(pedia);
            baby.admitted = list[index].admitted + random.between(1, 10) * kHour + random.between(0, 59) * kMinute;
            // Goes home with the mother, or a day later; never before it was born.
            baby.discharged = list[index].discharged == kNoTime
                ? kNoTime
                : std::max<Millis>(list[index].discharged + random.between(0, 1) * kDay, baby.admitted + 6 * kHour);
            if (baby.discharged != kNoTime && baby.discharged >= kWindowEnd)
                baby.discharged = kNoTime;
            fillCommon(plan, random, baby);
            baby.admitting = baby.attending;
            baby.medicare = 1;  // a dependent of the mother
            Patient newborn = makePatient(random, plan.patients.size());
            newborn.lastName = plan.patients[list[index].patient].lastName;
            newborn.middleName = plan.patients[list[index].patient].middleName;
            const bool boy = random.chance(0.5);
            newborn.firstName = boy ? "Baby Boy" : "Baby Girl";
            newborn.sex = boy ? "M" : "F";
            newborn.birthDate = baby.admitted - baby.admitted % kDay;
            newborn.hemodialysis = newborn.oncology = false;
            newborn.hemoNum.clear();
            baby.patient = std::uint32_t(plan.patients.size());
            baby.link = std::int32_t(index);
            plan.patients.push_back(std::move(newborn));
            list.push_back(baby);
        }
    }

    // IDs are handed out in time order, one serial per year and kind, as the
    // registration desks do; then newborns and ER links take their IDs over.
    std::vector<std::uint32_t> order(list.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t x, std::uint32_t y) { return list[x].admitted < list[y].admitted; });
    std::vector<std::pair<int, int>> serials;  // (year * 2 + out, last serial)
    auto nextSerial = [&](int key) {
        for (auto& [k, value] : serials)
            if (k == key)
                return ++value;
        serials.emplace_back(key, 1);
        return 1;
    };
    for (const std::uint32_t i : order) {
        Admission& a = list[i];
        if (a.is(kNewborn))
            continue;
        const int year = yearOf(a.admitted);
        const int serial = nextSerial(year * 2 + (a.out() ? 1 : 0));
        std::snprintf(a.id, kIdSize, a.out() ? "B%02d%06d" : "%02d%06d", year % 100, serial % 1000000);
    }
    for (Admission& a : list) {
        if (a.is(kNewborn)) {
            const char* mother = list[std::size_t(a.link)].id;
            const std::size_t length = std::strlen(mother);
            std::memcpy(a.id, mother, length);
            a.id[length] = 'b';
            a.id[length + 1] = '\0';
        } else if (a.link >= 0) {
            std::memcpy(a.opdId, list[std::size_t(a.link)].id, kIdSize);
        }
    }
    std::vector<Admission> sorted;
    sorted.reserve(list.size());
    for (const std::uint32_t i : order)
        sorted.push_back(list[i]);
    list = std::move(sorted);
}

Plan makePlan(const DemoDbOptions& options)
{
    Plan plan;
    plan.seed = options.seed;
    DemoRandom random(options.seed);
    makeDoctors(plan, random);
    const std::size_t patientCount = std::size_t(std::max<long long>(40, options.admissions * 55 / 100));
    plan.patients.reserve(patientCount + std::size_t(options.admissions / 20));
    for (std::size_t i = 0; i < patientCount; ++i)
        plan.patients.push_back(makePatient(random, i));
    // Every pool needs members even in a tiny database.
    plan.patients[0].hemodialysis = true;
    plan.patients[0].oncology = false;
    plan.patients[0].hemoNum = "HD-00000";
    plan.patients[1].oncology = true;
    plan.patients[1].hemodialysis = false;
    plan.patients[1].hemoNum.clear();
    planAdmissions(plan, random, options.admissions);
    return plan;
}

// ---------------------------------------------------------------------------
// Writers, one per file

struct Counts {
    long long medicines = 0;
    long long vitalSigns = 0;
    long long courseNotes = 0;
    long long conditions = 0;
    long long doctorOrders = 0;
    long long claims = 0;
};

const char* serviceCode(const Admission& a)
{
    if (a.serviceQuirk == 1)
        return nullptr;
    if (a.serviceQuirk == 2)
        return "XRAY";
    return voc::services()[a.service].id;
}

const char* doctorId(const Plan& plan, const Admission& a, std::uint8_t doctor)
{
    if (doctor == kNone)
        return nullptr;
    if (doctor == a.attending && a.doctorQuirk != 0)
        return a.doctorQuirk == 1 ? nullptr : "";
    return plan.doctors[doctor].id.c_str();
}

const char* accountNum(const Plan& plan, const Admission& a)
{
    if (a.account == 0)
        return plan.patients[a.patient].hospNum.c_str();
    if (a.account == kNone)
        return nullptr;
    if (a.account == 254)
        return "CMP0999";
    return voc::companies()[a.account - 1].accountNum;
}

const char* briefHistory(DemoRandom& random, const Admission& a)
{
    static constexpr const char* kBlank[] = {"", "NA", "none", "N/A", nullptr};
    const std::size_t kind = random.weighted({88, 4, 2, 2, 1, 3});
    if (kind > 0)
        return kBlank[kind - 1];
    if (a.is(kNewborn))
        return "Newborn, term, via NSD";
    return pickFromList(random, voc::services()[a.service].histories);
}

std::string heightText(DemoRandom& random, bool newborn)
{
    switch (random.weighted({80, newborn ? 0 : 5, 5, 4, 6})) {
    case 0: return std::to_string(newborn ? random.between(46, 54) : random.between(148, 182));
    case 1: return std::to_string(random.between(4, 5)) + "'" + std::to_string(random.between(0, 11)) + "\"";
    case 2: return "";
    case 3: return std::string(std::size_t(random.between(1, 4)), ' ');
    default: return std::string(1, '\0');  // NULL
    }
}

std::string weightText(DemoRandom& random, bool newborn)
{
    switch (random.weighted({70, 10, 5, 4, 6})) {
    case 0:
        return newborn ? std::to_string(random.between(25, 40) / 10.0).substr(0, 3)
                       : std::to_string(random.between(38, 98));
    case 1: return std::to_string(random.between(38, 98)) + "." + std::to_string(random.below(10)) + " kg";
    case 2: return "";
    case 3: return std::string(std::size_t(random.between(1, 3)), ' ');
    default: return std::string(1, '\0');
    }
}

/// "\0" stands for NULL in the texts above.
SqliteInsert& bindMaybe(SqliteInsert& insert, const std::string& text)
{
    if (text.size() == 1 && text[0] == '\0')
        return insert.null();
    return insert.text(text);
}

struct Vitals {
    char temperature[16];
    char respRate[16];
    char bp[32];
    char pulse[16];
    char o2[16];
    bool nullTemperature, nullResp, nullBp, nullPulse;
};

Vitals makeVitals(DemoRandom& random)
{
    Vitals v {};
    const int tenths = int(random.between(358, 394));
    std::snprintf(v.temperature, sizeof v.temperature, "%d.%d", tenths / 10, tenths % 10);
    std::snprintf(v.respRate, sizeof v.respRate, "%d", int(random.between(14, 30)));
    std::snprintf(v.bp, sizeof v.bp, "%d/%d", int(random.between(9, 17) * 10), int(random.between(6, 10) * 10));
    std::snprintf(v.pulse, sizeof v.pulse, "%d", int(random.between(58, 128)));
    std::snprintf(v.o2, sizeof v.o2, "%d", int(random.between(92, 100)));
    const bool allMissing = random.chance(0.005);
    v.nullTemperature = allMissing || random.chance(0.04);
    v.nullResp = allMissing || random.chance(0.04);
    v.nullBp = allMissing || random.chance(0.04);
    v.nullPulse = allMissing || random.chance(0.04);
    return v;
}

SqliteInsert& bindVitals(SqliteInsert& insert, const Vitals& v)
{
    insert.text(v.nullTemperature ? nullptr : v.temperature);
    insert.text(v.nullResp ? nullptr : v.respRate);
    insert.text(v.nullBp ? nullptr : v.bp);
    insert.text(v.nullPulse ? nullptr : v.pulse);
    return insert;
}

long long stayDays(const Admission& a)
{
    if (a.discharged == kNoTime)
        return (kWindowEnd - a.admitted) / kDay;
    return (a.discharged - a.admitted) / kDay;
}

Millis capped(Millis t)
{
    return std::min(t, kWindowEnd - kMinute);
}

void writePatientData(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path, Counts& counts)
{
    SqliteWriter db(path);
    createDemoTables(db.handle(), schema);
    TimeBinder time;

    {
        SqliteInsert insert(db, "INSERT INTO tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, BirthDate, "
                                "CivilStatus, Address, PhilHealthNum) VALUES (?,?,?,?,?,?,?,?,?)");
        static constexpr const char* kCivil[] = {"Single", "Married", "Widowed", "Separated"};
        for (std::size_t i = 0; i < plan.patients.size(); ++i) {
            const Patient& p = plan.patients[i];
            DemoRandom random(plan.seed, i, kStreamMaster);
            char address[160];
            std::snprintf(address, sizeof address, "%d %s, %s", int(random.between(1, 999)),
                          pickFrom(random, voc::streets()), pickFrom(random, voc::towns()));
            insert.text(p.hospNum).text(p.lastName).text(p.firstName).text(p.middleName).text(p.sex);
            insert.text(time(p.birthDate, 0)).text(random.pick(kCivil)).text(address);
            insert.text(p.philHealthNum.empty() ? nullptr : p.philHealthNum.c_str());
            insert.run();
        }
    }
    {
        SqliteInsert in(db, "INSERT INTO tbPatient (IDNum, HospNum, ADMDATE, DCRDATE, ServiceID, AttendingDr1, "
                            "AdmittingDr, AccountNum, MedicareType, BriefHistory, isHemoDialysis, IsChemo, OPDIDNum, "
                            "RoomID, Diagnosis) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        SqliteInsert out(db, "INSERT INTO tbOutPatient (IDNum, HospNum, ADMDATE, DCRDATE, ServiceID1, DoctorID1, "
                             "AccountNum, MedicareType, BriefHistory, isHemoDialysis, IsChemo, HemoNum, Diagnosis) "
                             "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            const Patient& p = plan.patients[a.patient];
            DemoRandom random(plan.seed, i, kStreamPatientRow);
            const char* history = briefHistory(random, a);
            const char* diagnosis = !random.chance(0.9) ? nullptr
                : a.is(kNewborn)                         ? "Live term newborn"
                                                         : pickFromList(random, voc::services()[a.service].diagnoses);
            SqliteInsert& row = a.out() ? out : in;
            row.text(a.idView()).text(p.hospNum).text(time(a.admitted, 0));
            if (a.discharged == kNoTime)
                row.null();
            else
                row.text(time(a.discharged, 1));
            row.text(serviceCode(a)).text(doctorId(plan, a, a.attending));
            if (!a.out())
                row.text(doctorId(plan, a, a.admitting));
            row.text(accountNum(plan, a)).text(kMedicareTypes[a.medicare]).text(history);
            row.integer(a.is(kHemodialysis) ? 1 : 0).integer(a.is(kChemotherapy) ? 1 : 0);
            if (a.out()) {
                if (a.is(kHemodialysis))
                    row.text(random.chance(0.98) ? p.hemoNum.c_str() : "");
                else
                    row.text(random.chance(0.5) ? "" : nullptr);
            } else {
                row.text(a.opdId[0] ? a.opdId : (random.chance(0.5) ? "" : nullptr));
                char room[12];
                std::snprintf(room, sizeof room, "%d%02d", int(random.between(2, 6)), int(random.between(1, 40)));
                row.text(room);
            }
            row.text(diagnosis);
            row.run();
        }
    }
    {
        SqliteInsert inHistory(db, "INSERT INTO tbPatientHistory (IDNum, HistoryDate, ChiefComplaint, Height, Weight) "
                                   "VALUES (?,?,?,?,?)");
        SqliteInsert outHistory(db, "INSERT INTO tbOutPatientHistory (IDNum, HistoryDate, ChiefComplaint, "
                                    "Temperature, RespiratoryRate, BloodPressure, PulseRate, Height, Weight) "
                                    "VALUES (?,?,?,?,?,?,?,?,?)");
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            DemoRandom random(plan.seed, i, kStreamHistory);
            const int records = int(random.weighted({10, 86, 4}));
            for (int r = 0; r < records; ++r) {
                const Millis when = capped(a.admitted + random.between(5, 90) * kMinute + r * kHour);
                const std::string height = heightText(random, a.is(kNewborn));
                const std::string weight = weightText(random, a.is(kNewborn));
                const char* complaint = pickFrom(random, voc::chiefComplaints());
                if (a.out()) {
                    const Vitals v = makeVitals(random);
                    outHistory.text(a.idView()).text(time(when, 0)).text(complaint);
                    bindVitals(outHistory, v);
                    bindMaybe(outHistory, height);
                    bindMaybe(outHistory, weight).run();
                    ++counts.vitalSigns;
                } else {
                    inHistory.text(a.idView()).text(time(when, 0)).text(complaint);
                    bindMaybe(inHistory, height);
                    bindMaybe(inHistory, weight).run();
                }
            }
        }
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, Code, "
                                "Result, Remarks, EncodedBy, EncodedOn) VALUES (?,?,?,?,?,?,?,?,?)");
        const auto entries = voc::examEntries();
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            DemoRandom random(plan.seed, i, kStreamConditions);
            const bool hasExam = random.chance(a.out() ? 0.3 : 0.7);
            const int examCount = hasExam ? int(random.between(a.out() ? 1 : 2, a.out() ? 3 : 6)) : 0;
            const std::size_t first = random.below(entries.size());
            const char* encoder = random.pick(kWorkUsers);
            const Millis when = capped(a.admitted + random.between(1, 48) * kHour);
            for (int k = 0; k < examCount; ++k) {
                const auto& e = entries[(first + std::size_t(k) * 3) % entries.size()];
                insert.text(a.idView()).text(e.areaCat).text(e.areaSubCat).text(e.description).text("X").text("1");
                insert.text(random.chance(0.8) ? "" : "see chart").text(encoder).text(time(when, 0)).run();
                ++counts.conditions;
            }
            if (random.chance(a.out() ? 0.05 : 0.25)) {
                // Now and then the entry was saved twice.
                const int copies = random.chance(0.02) ? 2 : 1;
                const char* remarks = pickFrom(random, voc::guRemarks());
                for (int k = 0; k < copies; ++k) {
                    insert.text(a.idView()).text("PhysicalExam").text("GU(IE)").text("OTHERS").text("X").text("1");
                    insert.text(remarks).text(encoder).text(time(when, 0)).run();
                    ++counts.conditions;
                }
            }
        }
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbPatientMedicine (IDNum, OrderDate, GenericName, BrandName, Quantity, "
                                "Dosage, Route, UnitCode, UnitPrice, TotalAmount) VALUES (?,?,?,?,?,?,?,?,?,?)");
        const auto drugs = voc::drugs();
        const auto common = drugs.first(std::size_t(voc::commonDrugCount()));
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            DemoRandom random(plan.seed, i, kStreamMedicine);
            int count = 0;
            if (a.is(kHemodialysis) || a.is(kChemotherapy))
                count = int(random.between(2, 4));
            else if (a.out())
                count = random.chance(0.4) ? int(random.between(1, 2)) : 0;
            else
                count = random.chance(0.92) ? int(random.between(1, 2 + std::min<long long>(stayDays(a), 6))) : 0;
            for (int k = 0; k < count; ++k) {
                const voc::Drug* drug;
                if (k < 2 && a.is(kHemodialysis))
                    drug = &pickFrom(random, voc::hemodialysisDrugs());
                else if (k < 3 && a.is(kChemotherapy))
                    drug = &pickFrom(random, voc::chemotherapyDrugs());
                else
                    drug = random.chance(0.6) ? &pickFrom(random, common) : &pickFrom(random, drugs);
                // Names as typed over the years: capitals, lower case, a trailing blank.
                std::string name = drug->genericName;
                const std::size_t spelling = random.weighted({92, 4, 2, 2});
                if (spelling == 1)
                    name = upper(name);
                else if (spelling == 2)
                    name = lower(name);
                else if (spelling == 3)
                    name += ' ';
                std::string dosage = drug->dosage;
                if (random.chance(0.03))
                    dosage.erase(std::remove(dosage.begin(), dosage.end(), ' '), dosage.end());
                const std::size_t routeForm = random.weighted({94, 3, 3});
                const char* route = routeForm == 0 ? drug->route
                    : routeForm == 1 ? (std::strcmp(drug->route, "PO") == 0 ? "Oral" : "")
                                     : nullptr;
                const std::size_t unitForm = random.weighted({96, 3, 1});
                const std::string unit = unitForm == 0 ? drug->unitCode : unitForm == 1 ? lower(drug->unitCode) : "\0";
                const long long quantity = random.between(1, drug->maxQuantity);
                const bool noQuantity = random.chance(0.02);
                insert.text(a.idView()).text(time(capped(a.admitted + random.between(10, 600) * kMinute), 0));
                insert.text(name).text(drug->brandName);
                if (noQuantity)
                    insert.null();
                else
                    insert.integer(quantity);
                insert.text(dosage).text(route);
                if (unitForm == 2)
                    insert.null();
                else
                    insert.text(unit);
                insert.real(drug->unitPrice);
                if (noQuantity || random.chance(0.01))
                    insert.null();
                else
                    insert.real(double(std::llround(drug->unitPrice * double(quantity) * 100.0)) / 100.0);
                insert.run();
                ++counts.medicines;
            }
        }
    }
    createDemoIndexes(db.handle(), schema);
    db.finish();
}

void writeBuildFile(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path)
{
    // The password hashes are the slow part of this small file: work them out first, two at a time.
    const auto users = demoUsers();
    std::vector<std::string> salts(users.size());
    std::vector<std::string> hashes(users.size());
    DemoRandom saltRandom(plan.seed, 0, 0x5a17);
    for (auto& salt : salts) {
        std::string bytes(16, '\0');
        for (char& c : bytes)
            c = char(saltRandom.below(256));
        salt = toHex(bytes);
    }
    {
        std::vector<std::thread> workers;
        for (std::size_t i = 0; i < users.size(); ++i)
            workers.emplace_back(
                [&, i] { hashes[i] = pbkdf2Sha256Hex(users[i].password, salts[i], kDemoPasswordIterations); });
        for (auto& worker : workers)
            worker.join();
    }

    SqliteWriter db(path);
    createDemoTables(db.handle(), schema);
    {
        SqliteInsert insert(db, "INSERT INTO tbCoSpecialization (SpecializationID, Specialization) VALUES (?,?)");
        for (const auto& s : voc::specializations())
            insert.integer(s.id).text(s.name).run();
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbcoDoctor (DoctorID, LastName, FirstName, MiddleInitial, "
                                "SpecializationID, PHICAccreditation, IsActive) VALUES (?,?,?,?,?,?,?)");
        for (std::size_t i = 0; i < plan.doctors.size(); ++i) {
            const Doctor& d = plan.doctors[i];
            char accreditation[24];
            std::snprintf(accreditation, sizeof accreditation, "1503-%07zu-%zu", 1000000 + i * 7919 % 9000000, i % 10);
            insert.text(d.id).text(d.lastName).text(d.firstName).text(d.middleInitial);
            if (d.specializationId == 0)
                insert.null();
            else
                insert.integer(d.specializationId);
            insert.text(accreditation).integer(i % 17 == 16 ? 0 : 1).run();
        }
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbcoService (ServiceID, Service) VALUES (?,?)");
        for (const auto& s : voc::services())
            insert.text(s.id).text(s.name).run();
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbCoCompany (AccountNum, Company, CompanyType) VALUES (?,?,?)");
        for (const auto& c : voc::companies())
            insert.text(c.accountNum).text(c.name).text(c.type).run();
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbcoUsers (UserName, DisplayName, DeptCode, PasswordSalt, PasswordHash, "
                                "Iterations) VALUES (?,?,?,?,?,?)");
        for (std::size_t i = 0; i < users.size(); ++i) {
            insert.text(users[i].userName).text(users[i].displayName).text(users[i].deptCode);
            insert.text(salts[i]).text(hashes[i]).integer(kDemoPasswordIterations).run();
        }
    }
    createDemoIndexes(db.handle(), schema);
    db.finish();
}

void writeStation(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path, Counts& counts)
{
    SqliteWriter db(path);
    createDemoTables(db.handle(), schema);
    TimeBinder time;
    auto optionalTime = [&](SqliteInsert& insert, Millis t, std::size_t slot) -> SqliteInsert& {
        return t == kNoTime ? insert.null() : insert.text(time(t, slot));
    };
    {
        SqliteInsert insert(db, "INSERT INTO tbNurseProfile (IDNum, CF4Status, CF4AssignedTo, CF4OpenBy, CF4OpenON, "
                                "CF4VerifiedOn, CF4VerifiedBy, ChangeBy, ChangeDate) VALUES (?,?,?,?,?,?,?,?,?)");
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            DemoRandom random(plan.seed, i, kStreamProfile);
            if (!random.chance(a.out() ? 0.65 : 0.9))
                continue;
            // Claims are verified some days after discharge: old admissions mostly are, open ones rarely.
            const Millis done = a.discharged == kNoTime ? kNoTime : a.discharged;
            const double verifiedShare = done == kNoTime ? 0.03 : (kWindowEnd - done > 30 * kDay ? 0.85 : 0.35);
            const bool verified = random.chance(verifiedShare);
            const bool opened = verified || random.chance(0.55);
            const char* assignee = random.chance(0.75) ? random.pick(kWorkUsers) : nullptr;
            const char* opener = opened ? random.pick(kWorkUsers) : nullptr;
            const Millis base = done == kNoTime ? a.admitted : done;
            const Millis openOn = opened ? capped(base + random.between(1, 240) * kHour) : kNoTime;
            Millis verifiedOn = verified ? capped(openOn + random.between(1, 96) * kHour) : kNoTime;
            const char* verifier = verified ? random.pick(kWorkUsers) : (random.chance(0.5) ? "" : nullptr);
            // Records touched by hand: a verifier without a date, a date without a verifier.
            const std::size_t oddity = random.weighted({985, 10, 5});
            if (oddity == 1 && verified)
                verifiedOn = kNoTime;
            else if (oddity == 2 && verified)
                verifier = "";
            static constexpr const char* kOpenStatuses[] = {
                "FOR ENCODING", "ENCODED", "FOR VERIFICATION", "RETURNED: incomplete vital signs",
                "RETURNED: no course in the ward", "ON HOLD - awaiting lab results", "", nullptr,
            };
            const char* status = verified ? "VERIFIED" : random.pick(kOpenStatuses);
            const char* changer = random.chance(0.8) ? random.pick(kWorkUsers) : nullptr;
            insert.text(a.idView()).text(status).text(assignee).text(opener);
            optionalTime(insert, openOn, 0);
            optionalTime(insert, verifiedOn, 1);
            insert.text(verifier).text(changer);
            optionalTime(
                insert, changer ? capped(std::max(openOn, a.admitted) + random.between(1, 48) * kHour) : kNoTime, 2);
            insert.run();
        }
    }
    {
        SqliteInsert insert(db,
            "INSERT INTO tbNurseVitalSigns (IDNum, VitalDate, Temperature, RespRate, BP, PulseRate, "
            "O2Sat, TakenBy) VALUES (?,?,?,?,?,?,?,?)");
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            if (a.out())
                continue;
            DemoRandom random(plan.seed, i, kStreamVitals);
            const int records =
                random.chance(0.08) ? 0 : int(random.between(1, 2 + std::min<long long>(stayDays(a), 4)));
            for (int r = 0; r < records; ++r) {
                const Vitals v = makeVitals(random);
                insert.text(a.idView())
                    .text(time(capped(a.admitted + r * 4 * kHour + random.between(0, 59) * kMinute), 0));
                bindVitals(insert, v).text(random.chance(0.9) ? v.o2 : nullptr).text(random.pick(kNurses)).run();
                ++counts.vitalSigns;
            }
        }
    }
    {
        SqliteInsert insert(
            db, "INSERT INTO tbCourseWard (IDNum, CourseDate, CourseNotes, EncodedBy) VALUES (?,?,?,?)");
        const auto notes = voc::courseNotes();
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            if (a.out())
                continue;
            DemoRandom random(plan.seed, i, kStreamCourse);
            if (!random.chance(0.85))
                continue;
            const int records = int(std::min<long long>(10, random.between(1, stayDays(a) + 2)));
            for (int r = 0; r < records; ++r) {
                const std::size_t note = r == 0                     ? 0
                    : (r == records - 1 && a.discharged != kNoTime) ? notes.size() - 1
                                                                    : 1 + random.below(notes.size() - 2);
                insert.text(a.idView())
                    .text(time(capped(a.admitted + r * kDay + random.between(30, 600) * kMinute), 0));
                insert.text(notes[note]).text(random.pick(kNurses)).run();
                ++counts.courseNotes;
            }
        }
    }
    {
        SqliteInsert insert(db, "INSERT INTO tbDoctorOrders (IDNum, OrderDate, OrderText, DoctorID) VALUES (?,?,?,?)");
        const auto orders = voc::doctorOrders();
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            DemoRandom random(plan.seed, i, kStreamOrders);
            const int records = a.out() ? (random.chance(0.3) ? int(random.between(1, 2)) : 0)
                                        : (random.chance(0.9) ? int(random.between(1, 5)) : 0);
            const std::size_t first = random.below(orders.size());
            for (int r = 0; r < records; ++r) {
                insert.text(a.idView())
                    .text(time(capped(a.admitted + r * 6 * kHour + random.between(5, 300) * kMinute), 0));
                insert.text(orders[(first + std::size_t(r)) % orders.size()]);
                insert.text(doctorId(plan, a, a.attending)).run();
                ++counts.doctorOrders;
            }
        }
    }
    createDemoIndexes(db.handle(), schema);
    db.finish();
}

void writeMedicare(const Plan& plan, const DemoDatabaseSchema& schema, const std::string& path, Counts& counts)
{
    SqliteWriter db(path);
    createDemoTables(db.handle(), schema);
    TimeBinder time;
    {
        SqliteInsert insert(db,
            "INSERT INTO tbMedElectronicClaimStatus (IDNum, HospNum, ClaimSeriesLhio, "
            "ClaimDateReceived, status, StatusDate, ClaimAmount) VALUES (?,?,?,?,?,?,?)");
        for (std::size_t i = 0; i < plan.admissions.size(); ++i) {
            const Admission& a = plan.admissions[i];
            if (a.discharged == kNoTime || !philHealthMember(a))
                continue;
            DemoRandom random(plan.seed, i, kStreamClaims);
            const bool claimed = a.is(kHemodialysis) || a.is(kChemotherapy) ? random.chance(0.9)
                : a.out()                                                   ? random.chance(0.15)
                                                                            : random.chance(0.88);
            if (!claimed)
                continue;
            const Millis received =
                a.discharged - a.discharged % kDay + random.between(2, 45) * kDay + clockTime(random, 8, 16);
            if (received >= kWindowEnd)
                continue;
            const long long age = (kWindowEnd - received) / kDay;
            static constexpr const char* kStatuses[] = {"IN PROCESS", "RETURN", "DENIED", "VOUCHERING", "WITH CHEQUE"};
            const std::size_t status = age < 30 ? random.weighted({70, 15, 3, 12, 0})
                : age < 90                      ? random.weighted({25, 15, 5, 25, 30})
                                                : random.weighted({5, 8, 7, 5, 75});
            const Millis statusDate = capped(
                received + random.between(0, std::min<long long>(age, 60)) * kDay + random.between(0, 480) * kMinute);
            char series[16];
            std::snprintf(series, sizeof series, "%02d%010llu", yearOf(received) % 100,
                (unsigned long long)random.below(10000000000ULL));
            const double amount = a.is(kHemodialysis) ? 2600.0
                : a.is(kChemotherapy)                 ? double(random.between(30, 120) * 100)
                : a.out()                             ? double(random.between(5, 40) * 100)
                                                      : double(random.between(40, 450) * 100);
            insert.text(a.idView()).text(plan.patients[a.patient].hospNum).text(series);
            insert.text(time(received, 0)).text(kStatuses[status]).text(time(statusDate, 1)).real(amount).run();
            ++counts.claims;
        }
    }
    createDemoIndexes(db.handle(), schema);
    db.finish();
}

void removeQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

} // namespace

std::string demoDatabaseFileName(const std::string& schemaName)
{
    return schemaName + ".sqlite";
}

std::span<const DemoUser> demoUsers()
{
    return std::span<const DemoUser>(kDemoUsers);
}

DemoDbSummary generateDemoDatabases(const DemoDbOptions& options)
{
    if (options.outDir.empty())
        throw std::runtime_error("no output folder given");
    if (options.admissions < 0 || options.admissions > kDemoMaxAdmissions)
        throw std::runtime_error(
            "the number of admissions must be between 0 and " + std::to_string(kDemoMaxAdmissions));

    const fs::path dir(options.outDir);
    std::error_code error;
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir))
        throw std::runtime_error("cannot create the folder " + options.outDir
                                 + (error ? ": " + error.message() : std::string()));

    const Plan plan = makePlan(options);
    const auto& schema = demoSchema();
    std::vector<fs::path> finals;
    std::vector<fs::path> temporaries;
    for (const auto& file : schema) {
        finals.push_back(dir / demoDatabaseFileName(file.name));
        temporaries.push_back(dir / (demoDatabaseFileName(file.name) + ".tmp"));
    }

    Counts patientCounts, stationCounts, medicareCounts;
    std::exception_ptr failures[4];
    auto guarded = [&](int slot, auto&& work) {
        return std::thread([&failures, slot, work] {
            try {
                work();
            } catch (...) {
                failures[slot] = std::current_exception();
            }
        });
    };
    {
        std::thread workers[] = {
            guarded(0, [&] { writePatientData(plan, schema[0], temporaries[0].string(), patientCounts); }),
            guarded(1, [&] { writeBuildFile(plan, schema[1], temporaries[1].string()); }),
            guarded(2, [&] { writeStation(plan, schema[2], temporaries[2].string(), stationCounts); }),
            guarded(3, [&] { writeMedicare(plan, schema[3], temporaries[3].string(), medicareCounts); }),
        };
        for (auto& worker : workers)
            worker.join();
    }
    for (const auto& failure : failures) {
        if (failure) {
            for (const auto& path : temporaries)
                removeQuietly(path);
            std::rethrow_exception(failure);
        }
    }
    for (std::size_t i = 0; i < finals.size(); ++i) {
        fs::rename(temporaries[i], finals[i], error);
        if (error) {
            for (const auto& path : temporaries)
                removeQuietly(path);
            throw std::runtime_error("cannot rename " + temporaries[i].string() + ": " + error.message());
        }
    }

    DemoDbSummary summary;
    for (const Admission& a : plan.admissions)
        ++(a.out() ? summary.outPatients : summary.inPatients);
    summary.patients = (long long)plan.patients.size();
    summary.doctors = (long long)plan.doctors.size();
    summary.medicines = patientCounts.medicines;
    summary.vitalSigns = patientCounts.vitalSigns + stationCounts.vitalSigns;
    summary.courseNotes = stationCounts.courseNotes;
    summary.conditions = patientCounts.conditions;
    summary.doctorOrders = stationCounts.doctorOrders;
    summary.claims = medicareCounts.claims;
    for (const auto& path : finals)
        summary.files.emplace_back(path.string(), std::uint64_t(fs::file_size(path)));
    return summary;
}

} // namespace vantik
