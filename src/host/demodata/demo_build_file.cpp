#include "host/demodata/demo_plan.h"
#include "host/demodata/demo_vocabulary.h"
#include "host/demodata/password_hash.h"

#include <cstdio>
#include <thread>

namespace vantik::demodata {

namespace voc = demovocabulary;

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

} // namespace vantik::demodata
