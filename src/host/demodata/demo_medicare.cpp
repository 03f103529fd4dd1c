#include "host/demodata/demo_cf4.h"
#include "host/demodata/demo_plan.h"

#include <algorithm>
#include <cstdio>

namespace vantik::demodata {

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
    writeCf4Tables(db, plan);
    createDemoIndexes(db.handle(), schema);
    db.finish();
}

} // namespace vantik::demodata
