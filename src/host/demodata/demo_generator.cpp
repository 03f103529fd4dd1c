#include "host/demodata/demo_generator.h"

#include "host/demodata/demo_plan.h"
#include "host/demodata/demo_schema.h"

#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace vantik {

namespace fs = std::filesystem;
using namespace demodata;

namespace {

constexpr DemoUser kDemoUsers[] = {
    {"clerk", "clerk123", "Demo Claims Clerk", "21"},
    {"mreyes", "reyes2026", "Maricel Reyes", "21"},
    {"jsantos", "santos2026", "Jonathan Santos", "21"},
    {"lbautista", "bautista2026", "Liza Bautista (Claims Supervisor)", "21"},
    {"agarcia", "garcia2026", "Arlene Garcia, RN", "05"},
    {"admin", "admin2026", "HIS Administrator", "99"},
};

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
