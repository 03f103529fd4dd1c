#pragma once

#include "host/demodata/password_hash.h"

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vantik {

/// What `vantik-demo-db` makes: the four files of the embedded HIS database.
struct DemoDbOptions {
    std::string outDir;
    long long admissions = 5000;  ///< in-patient admissions and out-patient visits together
    std::uint64_t seed = 1;
};

inline constexpr long long kDemoMaxAdmissions = 2000000;

/// The data is dated relative to this fixed day, never to the clock, so that a
/// seed always gives the same files: admissions and claims fall in the 24 months
/// that end with it, with a larger share in its last month.
inline constexpr int kDemoReferenceYear = 2026;
inline constexpr int kDemoReferenceMonth = 11;
inline constexpr int kDemoReferenceDay = 30;

struct DemoDbSummary {
    long long inPatients = 0;
    long long outPatients = 0;
    long long patients = 0;
    long long doctors = 0;
    long long medicines = 0;
    long long vitalSigns = 0;
    long long courseNotes = 0;
    long long conditions = 0;
    long long doctorOrders = 0;
    long long claims = 0;
    /// Final path and size in bytes of each file, in attach order.
    std::vector<std::pair<std::string, std::uint64_t>> files;
};

/// Writes DIR/Patient_Data.sqlite, Build_File.sqlite, Station.sqlite and
/// MEDICARE.sqlite, replacing existing files. The files are written under
/// temporary names and renamed only when all four are complete, so a failed run
/// leaves the previous files (or none) and never half a database. The same
/// options give byte-identical files. Throws std::runtime_error (bad options,
/// I/O or SQLite errors).
DemoDbSummary generateDemoDatabases(const DemoDbOptions& options);

/// "Patient_Data" -> "Patient_Data.sqlite".
std::string demoDatabaseFileName(const std::string& schemaName);

/// The users of tbcoUsers; the log-in screen of the demo accepts these.
struct DemoUser {
    const char* userName;
    const char* password;
    const char* displayName;
    const char* deptCode;
};
std::span<const DemoUser> demoUsers();

/// PBKDF2 iterations stored with every demo user.
inline constexpr int kDemoPasswordIterations = kPasswordIterations;

} // namespace vantik
