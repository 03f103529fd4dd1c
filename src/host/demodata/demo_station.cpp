#include "host/demodata/demo_cf4.h"
#include "host/demodata/demo_plan.h"
#include "host/demodata/demo_vocabulary.h"

#include <algorithm>
#include <iterator>

namespace vantik::demodata {

namespace voc = demovocabulary;

NurseProfile nurseProfile(const Plan& plan, std::size_t i)
{
    const Admission& a = plan.admissions[i];
    DemoRandom random(plan.seed, i, kStreamProfile);
    NurseProfile p;
    if (!random.chance(a.out() ? 0.65 : 0.9))
        return p;
    p.exists = true;
    // Claims are verified some days after discharge: old admissions mostly are, open ones rarely.
    const Millis done = a.discharged == kNoTime ? kNoTime : a.discharged;
    const double verifiedShare = done == kNoTime ? 0.03 : (kWindowEnd - done > 30 * kDay ? 0.85 : 0.35);
    p.verified = random.chance(verifiedShare);
    const bool opened = p.verified || random.chance(0.55);
    p.assignee = random.chance(0.75) ? random.pick(kWorkUsers) : nullptr;
    p.opener = opened ? random.pick(kWorkUsers) : nullptr;
    const Millis base = done == kNoTime ? a.admitted : done;
    p.openOn = opened ? capped(base + random.between(1, 240) * kHour) : kNoTime;
    p.verifiedOn = p.verified ? capped(p.openOn + random.between(1, 96) * kHour) : kNoTime;
    p.verifier = p.verified ? random.pick(kWorkUsers) : (random.chance(0.5) ? "" : nullptr);
    // Records touched by hand: a verifier without a date, a date without a verifier.
    const std::size_t oddity = random.weighted({985, 10, 5});
    if (oddity == 1 && p.verified)
        p.verifiedOn = kNoTime;
    else if (oddity == 2 && p.verified)
        p.verifier = "";
    static constexpr const char* kOpenStatuses[] = {
        "FOR ENCODING", "ENCODED", "FOR VERIFICATION", "RETURNED: incomplete vital signs",
        "RETURNED: no course in the ward", "ON HOLD - awaiting lab results", "", nullptr,
    };
    p.status = p.verified ? "VERIFIED" : random.pick(kOpenStatuses);
    p.changer = random.chance(0.8) ? random.pick(kWorkUsers) : nullptr;
    p.changedOn = p.changer ? capped(std::max(p.openOn, a.admitted) + random.between(1, 48) * kHour) : kNoTime;
    return p;
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
            const NurseProfile p = nurseProfile(plan, i);
            if (!p.exists)
                continue;
            insert.text(plan.admissions[i].idView()).text(p.status).text(p.assignee).text(p.opener);
            optionalTime(insert, p.openOn, 0);
            optionalTime(insert, p.verifiedOn, 1);
            insert.text(p.verifier).text(p.changer);
            optionalTime(insert, p.changedOn, 2);
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
            int records = random.chance(0.08) ? 0 : int(random.between(1, 2 + std::min<long long>(stayDays(a), 4)));
            // An arranged claim's first record is whole.
            if (a.arranged())
                records = std::max(records, 1);
            for (int r = 0; r < records; ++r) {
                Vitals v = makeVitals(random);
                if (a.arranged() && r == 0)
                    v.nullTemperature = v.nullResp = v.nullBp = v.nullPulse = false;
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
            if (a.cf4 == Cf4Intent::NoCourseNote)
                continue;
            if (a.out()) {
                // A visit has no stay to note; an arranged one gets its one note.
                if (a.arranged()) {
                    insert.text(a.idView()).text(time(capped(a.admitted + 30 * kMinute), 0));
                    insert.text(visitCourseNote(a)).text(kNurses[i % std::size(kNurses)]).run();
                    ++counts.courseNotes;
                }
                continue;
            }
            DemoRandom random(plan.seed, i, kStreamCourse);
            if (!random.chance(0.85) && !a.arranged())
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

} // namespace vantik::demodata
