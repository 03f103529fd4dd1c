#include "host/demodata/demo_cf4.h"
#include "host/demodata/demo_plan.h"
#include "host/demodata/demo_vocabulary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vantik::demodata {

namespace voc = demovocabulary;

const char* doctorId(const Plan& plan, const Admission& a, std::uint8_t doctor)
{
    if (doctor == kNone)
        return nullptr;
    if (doctor == a.attending && a.doctorQuirk != 0)
        return a.doctorQuirk == 1 ? nullptr : "";
    return plan.doctors[doctor].id.c_str();
}

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

namespace {

const char* serviceCode(const Admission& a)
{
    if (a.serviceQuirk == 1)
        return nullptr;
    if (a.serviceQuirk == 2)
        return "XRAY";
    return voc::services()[a.service].id;
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

} // namespace

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
            if (a.arranged() && (!history || !*history || std::strlen(history) <= 4)) {
                // An arranged claim has a history of the present illness, not a blank or "NA".
                DemoRandom fix(plan.seed, i, kStreamCf4Fixes);
                history = a.is(kNewborn) ? "Newborn, term, via NSD" : pickFromList(fix, voc::services()[a.service].histories);
            }
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
            DemoRandom fix(plan.seed, i, kStreamCf4Fixes);
            // An arranged claim's first record holds what the CF4 needs, in the form it needs.
            const int records = std::max(int(random.weighted({10, 86, 4})), a.arranged() ? 1 : 0);
            for (int r = 0; r < records; ++r) {
                const Millis when = capped(a.admitted + random.between(5, 90) * kMinute + r * kHour);
                std::string height = heightText(random, a.is(kNewborn));
                std::string weight = weightText(random, a.is(kNewborn));
                const char* complaint = pickFrom(random, voc::chiefComplaints());
                const bool fixed = a.arranged() && r == 0;
                if (fixed) {
                    height = std::to_string(a.is(kNewborn) ? fix.between(46, 54) : fix.between(148, 182));
                    weight = a.is(kNewborn) ? "3." + std::to_string(fix.between(0, 9))
                                            : std::to_string(fix.between(38, 98));
                    if (a.cf4 == Cf4Intent::ChiefComplaintNone)
                        complaint = "none";
                }
                if (a.out()) {
                    Vitals v = makeVitals(random);
                    if (fixed)
                        v.nullTemperature = v.nullResp = v.nullBp = v.nullPulse = false;
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
            if (a.arranged()) {
                // The CF4's own records instead of the everyday ones; the draws above
                // are made all the same, so that the other admissions' records stay.
                for (const ConditionRow& row : cf4Items(plan, i).conditions) {
                    insert.text(a.idView()).text(row.area).text(row.subArea).text(row.description).text("X").text("1");
                    insert.text(row.remarks).text(encoder).text(time(when, 0)).run();
                    ++counts.conditions;
                }
                continue;
            }
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
                // An arranged claim's records are whole: route, quantity and total price.
                std::size_t routeForm = random.weighted({94, 3, 3});
                if (a.arranged())
                    routeForm = 0;
                const char* route = routeForm == 0 ? drug->route
                    : routeForm == 1 ? (std::strcmp(drug->route, "PO") == 0 ? "Oral" : "")
                                     : nullptr;
                const std::size_t unitForm = random.weighted({96, 3, 1});
                const std::string unit = unitForm == 0 ? drug->unitCode : unitForm == 1 ? lower(drug->unitCode) : "\0";
                const long long quantity = random.between(1, drug->maxQuantity);
                const bool noQuantity = random.chance(0.02) && !a.arranged();
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
                if ((noQuantity || random.chance(0.01)) && !a.arranged())
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

} // namespace vantik::demodata
