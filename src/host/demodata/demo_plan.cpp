#include "host/demodata/demo_cf4.h"
#include "host/demodata/demo_plan.h"
#include "host/demodata/demo_vocabulary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <stdexcept>

namespace vantik::demodata {

namespace voc = demovocabulary;

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

const char* pickFromList(DemoRandom& random, const char* const* list)
{
    std::size_t count = 0;
    while (list[count])
        ++count;
    return list[random.below(count)];
}

bool isFemale(const Patient& p)
{
    return p.sex && (p.sex[0] == 'F' || p.sex[0] == 'f');
}

namespace {

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


} // namespace

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
    assignCf4Intents(plan);
    return plan;
}

} // namespace vantik::demodata
