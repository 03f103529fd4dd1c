#include "demo_db_support.h"

#include "host/demodata/demo_generator.h"
#include "host/demodata/password_hash.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace vantik;
using vantik::test::DemoDbReader;

namespace {

// The variety the operations need, in a database small enough to make quickly.
class DemoData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new test::TempDir;
        s_summary = new DemoDbSummary(generateDemoDatabases({s_dir->stdPath(), 3000, 11}));
        s_db = new DemoDbReader(s_dir->stdPath());
    }
    static void TearDownTestSuite()
    {
        delete s_db;
        delete s_summary;
        delete s_dir;
    }
    static std::int64_t count(const std::string& sql) { return s_db->count(sql); }

    static inline test::TempDir* s_dir = nullptr;
    static inline DemoDbSummary* s_summary = nullptr;
    static inline DemoDbReader* s_db = nullptr;
};

} // namespace

TEST_F(DemoData, SummaryMatchesTheFiles)
{
    EXPECT_EQ(s_summary->inPatients + s_summary->outPatients, 3000);
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbPatient"), s_summary->inPatients);
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbOutPatient"), s_summary->outPatients);
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbMaster"), s_summary->patients);
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbPatientMedicine"), s_summary->medicines);
    EXPECT_EQ(count("SELECT count(*) FROM MEDICARE.tbMedElectronicClaimStatus"), s_summary->claims);
    EXPECT_EQ(count("SELECT count(*) FROM Build_File.tbcoDoctor"), s_summary->doctors);
    EXPECT_GE(s_summary->doctors, 55);
    EXPECT_LE(s_summary->doctors, 65);
    ASSERT_EQ(s_summary->files.size(), 4u);
    for (const auto& [path, size] : s_summary->files)
        EXPECT_GT(size, 0u) << path;
}

TEST_F(DemoData, AdmissionIdsFollowTheOutPatientRule)
{
    // GLOB is case-sensitive: an upper-case B marks an out-patient, a lower-case b does not.
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbOutPatient WHERE IDNum NOT GLOB '*B*'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE IDNum GLOB '*B*'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE IDNum GLOB '*b*'"), 0);
    // A newborn's ID is its mother's admission ID with b; no ID is used twice.
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbPatient N WHERE N.IDNum GLOB '*b' AND NOT EXISTS "
                    "(SELECT 1 FROM Patient_Data.tbPatient P WHERE P.IDNum = substr(N.IDNum, 1, length(N.IDNum) - 1))"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbPatient P JOIN Patient_Data.tbOutPatient O "
                    "ON upper(P.IDNum) = upper(O.IDNum)"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM (SELECT IDNum FROM Patient_Data.tbPatient UNION ALL "
                    "SELECT IDNum FROM Patient_Data.tbOutPatient) WHERE IDNum GLOB '*[^0-9A-Za-z]*'"),
              0);
    // Every admission has its patient.
    EXPECT_EQ(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE NOT EXISTS "
                    "(SELECT 1 FROM Patient_Data.tbMaster M WHERE M.HospNum = P.HospNum)"),
              0);
}

TEST_F(DemoData, AdmissionsCoverTheTwoYearsWithABusyLastMonth)
{
    for (const char* table : {"tbPatient", "tbOutPatient"}) {
        const std::string from = std::string(" FROM Patient_Data.") + table;
        EXPECT_EQ(count("SELECT count(*)" + from + " WHERE ADMDATE < '2024-12-01' OR ADMDATE >= '2026-12-01'"), 0);
        EXPECT_EQ(count("SELECT count(*)" + from + " WHERE DCRDATE < ADMDATE OR DCRDATE >= '2026-12-01'"), 0);
        EXPECT_GT(count("SELECT count(*)" + from + " WHERE DCRDATE IS NULL"), 0) << table;
        EXPECT_GT(count("SELECT count(*)" + from + " WHERE ADMDATE < '2025-01-01'"), 0) << table;
        EXPECT_GT(count("SELECT count(*)" + from + " WHERE substr(ADMDATE, 12) > '12:00'"), 0) << table;
    }
    // A one-month refresh lists hundreds.
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE ADMDATE >= '2026-11-01'"), 150);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbOutPatient WHERE ADMDATE >= '2026-11-01'"), 150);
}

TEST_F(DemoData, AdmissionColumnsHoldEveryKindOfValue)
{
    for (const char* value : {"'M'", "'D'", "'S'", "'nn'", "''"})
        EXPECT_GT(count(std::string("SELECT count(*) FROM Patient_Data.tbPatient WHERE MedicareType = ") + value), 0)
            << value;
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE MedicareType IS NULL"), 0);
    for (const char* table : {"tbPatient", "tbOutPatient"}) {
        const std::string from = std::string(" FROM Patient_Data.") + table + " WHERE ";
        EXPECT_GT(count("SELECT count(*)" + from + "isHemoDialysis = 1"), 0) << table;
        EXPECT_GT(count("SELECT count(*)" + from + "IsChemo = 1"), 0) << table;
        for (const char* history : {"''", "'NA'", "'none'"})
            EXPECT_GT(count("SELECT count(*)" + from + "BriefHistory = " + history), 0) << table << history;
    }
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbOutPatient WHERE HemoNum GLOB 'HD-*'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbOutPatient WHERE HemoNum = ''"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbOutPatient WHERE HemoNum IS NULL"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE OPDIDNum GLOB 'B*'"), 0);
    // Personal accounts, accounts of known companies and one the company table lacks.
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE AccountNum = HospNum"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE AccountNum <> HospNum AND EXISTS "
                    "(SELECT 1 FROM Build_File.tbCoCompany C WHERE C.AccountNum = P.AccountNum)"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbOutPatient P WHERE AccountNum <> HospNum AND NOT EXISTS "
                    "(SELECT 1 FROM Build_File.tbCoCompany C WHERE C.AccountNum = P.AccountNum)"),
              0);
    // Sex as the GU marking meets it: M and F, and texts that must not qualify.
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbMaster WHERE Sex = 'M' COLLATE BINARY"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbMaster WHERE Sex = 'F' COLLATE BINARY"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbMaster WHERE Sex IS NULL OR Sex COLLATE BINARY "
                    "NOT IN ('M', 'F')"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbMaster WHERE LastName GLOB '*''*' OR FirstName GLOB '*''*'"),
              0);
}

TEST_F(DemoData, DoctorsServicesAndUsers)
{
    EXPECT_GT(count("SELECT count(*) FROM Build_File.tbcoDoctor WHERE SpecializationID IS NULL"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Build_File.tbcoDoctor D WHERE NOT EXISTS "
                    "(SELECT 1 FROM Build_File.tbCoSpecialization S WHERE S.SpecializationID = D.SpecializationID)"),
              0);
    for (const char* service : {"Medicine", "Surgery", "Pediatrics", "OB-Gyne", "Orthopedics", "ENT", "Ophthalmology",
                                "Hemodialysis", "Oncology"})
        EXPECT_EQ(count(std::string("SELECT count(*) FROM Build_File.tbcoService WHERE Service = '") + service + "'"),
                  1)
            << service;
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient WHERE AttendingDr1 IS NULL OR AttendingDr1 = ''"), 0);

    // The demo clerk logs in with clerk123; user names ignore case as on the server.
    const auto salt = s_db->column("SELECT PasswordSalt FROM Build_File.tbcoUsers WHERE UserName = 'CLERK'");
    const auto hash = s_db->column("SELECT PasswordHash FROM Build_File.tbcoUsers WHERE UserName = 'clerk'");
    const auto iterations = count("SELECT Iterations FROM Build_File.tbcoUsers WHERE UserName = 'clerk'");
    ASSERT_EQ(salt.size(), 1u);
    ASSERT_EQ(hash.size(), 1u);
    EXPECT_EQ(hash[0].value_or(""), pbkdf2Sha256Hex("clerk123", salt[0].value_or(""), int(iterations)));
    EXPECT_NE(hash[0].value_or(""), pbkdf2Sha256Hex("Clerk123", salt[0].value_or(""), int(iterations)));
    EXPECT_EQ(count("SELECT count(*) FROM Build_File.tbcoUsers WHERE UserName = 'clerk' AND DeptCode = '21'"), 1);
    EXPECT_GE(count("SELECT count(*) FROM Build_File.tbcoUsers"), 4);
    EXPECT_EQ(count("SELECT count(DISTINCT PasswordSalt) FROM Build_File.tbcoUsers"),
              count("SELECT count(*) FROM Build_File.tbcoUsers"));
}

TEST_F(DemoData, NurseProfilesVerifiedAndNot)
{
    EXPECT_GT(count("SELECT count(*) FROM Station.tbNurseProfile WHERE CF4VerifiedOn IS NOT NULL"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Station.tbNurseProfile WHERE CF4VerifiedOn IS NULL"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Station.tbNurseProfile WHERE CF4VerifiedOn IS NULL AND CF4VerifiedBy <> ''"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE NOT EXISTS "
                    "(SELECT 1 FROM Station.tbNurseProfile NP WHERE NP.IDNum = P.IDNum)"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbOutPatient P WHERE NOT EXISTS "
                    "(SELECT 1 FROM Station.tbNurseProfile NP WHERE NP.IDNum = P.IDNum)"),
              0);
    // Verification waits for the discharge.
    EXPECT_EQ(count("SELECT count(*) FROM Station.tbNurseProfile NP JOIN Patient_Data.tbPatient P "
                    "ON P.IDNum = NP.IDNum WHERE NP.CF4VerifiedOn < P.ADMDATE"),
              0);
    for (const char* column : {"CF4AssignedTo", "CF4OpenBy", "ChangeBy"})
        EXPECT_GT(count(std::string("SELECT count(*) FROM Station.tbNurseProfile WHERE ") + column + " LIKE '%reyes%'"),
                  0)
            << column;
}

TEST_F(DemoData, VitalsHeightsAndWeightsHaveGaps)
{
    for (const char* column : {"Temperature", "RespRate", "BP", "PulseRate"})
        EXPECT_GT(count(std::string("SELECT count(*) FROM Station.tbNurseVitalSigns WHERE ") + column + " IS NULL"), 0)
            << column;
    for (const char* column : {"Temperature", "RespiratoryRate", "BloodPressure", "PulseRate"})
        EXPECT_GT(count(std::string("SELECT count(*) FROM Patient_Data.tbOutPatientHistory WHERE ") + column
                        + " IS NULL"),
                  0)
            << column;
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE NOT EXISTS "
                    "(SELECT 1 FROM Station.tbNurseVitalSigns V WHERE V.IDNum = P.IDNum)"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE (SELECT count(*) FROM "
                    "Station.tbNurseVitalSigns V WHERE V.IDNum = P.IDNum) > 1"),
              0);
    for (const char* table : {"tbPatientHistory", "tbOutPatientHistory"}) {
        for (const char* column : {"Height", "Weight"}) {
            const std::string from = std::string("SELECT count(*) FROM Patient_Data.") + table + " WHERE ";
            const std::string what = std::string(table) + "." + column;
            EXPECT_GT(count(from + column + " IS NULL"), 0) << what;
            EXPECT_GT(count(from + column + " = '' COLLATE BINARY"), 0) << what;
            EXPECT_GT(count(from + "length(" + column + ") > 0 AND trim(" + column + ") = ''"), 0) << what;
            EXPECT_GT(count(from + "trim(" + column + ") <> ''"), 0) << what;
        }
    }
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE NOT EXISTS "
                    "(SELECT 1 FROM Patient_Data.tbPatientHistory H WHERE H.IDNum = P.IDNum)"),
              0);
}

TEST_F(DemoData, CourseNotesOrdersAndGuEntries)
{
    const auto inPatients = count("SELECT count(*) FROM Patient_Data.tbPatient");
    const auto withCourse = count("SELECT count(DISTINCT C.IDNum) FROM Station.tbCourseWard C "
                                  "JOIN Patient_Data.tbPatient P ON P.IDNum = C.IDNum");
    EXPECT_GT(withCourse * 10, inPatients * 7);
    EXPECT_LT(withCourse, inPatients);
    EXPECT_GT(count("SELECT count(DISTINCT IDNum) FROM Station.tbDoctorOrders"), inPatients / 2);

    const std::string gu = "FROM Patient_Data.tbPatientConditions WHERE AreaCat = 'PhysicalExam' "
                           "AND AreaSubCat = 'GU(IE)' AND Description = 'OTHERS'";
    EXPECT_GT(count("SELECT count(DISTINCT IDNum) " + gu), 0);
    EXPECT_GT(count("SELECT count(*) FROM (SELECT IDNum " + gu + " GROUP BY IDNum HAVING count(*) > 1)"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatientConditions WHERE AreaSubCat = 'GU(IE)' "
                    "AND Description <> 'OTHERS'"),
              0);
    EXPECT_GT(count("SELECT count(DISTINCT IDNum) FROM Patient_Data.tbPatientConditions WHERE "
                    "AreaCat = 'PhysicalExam' AND AreaSubCat <> 'GU(IE)'"),
              inPatients / 2);
}

TEST_F(DemoData, DrugNamesComeInSeveralSpellings)
{
    const std::string from = "SELECT count(*) FROM Patient_Data.tbPatientMedicine WHERE ";
    EXPECT_GT(count(from + "GenericName = 'Paracetamol' COLLATE BINARY"), 0);
    EXPECT_GT(count(from + "GenericName = 'PARACETAMOL' COLLATE BINARY"), 0);
    EXPECT_GT(count(from + "GenericName = 'paracetamol' COLLATE BINARY"), 0);
    EXPECT_GT(count(from + "GenericName = 'Paracetamol ' COLLATE BINARY"), 0);
    EXPECT_GT(count(from + "GenericName GLOB '*''*'"), 0);
    for (const char* common : {"Amoxicillin", "Cefuroxime", "Omeprazole", "Losartan", "Metformin", "Salbutamol"})
        EXPECT_GT(count(from + "GenericName = '" + common + "'"), 0) << common;
    for (const char* column : {"Quantity", "Route", "UnitCode", "TotalAmount"})
        EXPECT_GT(count(from + column + " IS NULL"), 0) << column;
    EXPECT_GT(count(from + "Route = '' COLLATE BINARY"), 0);
    EXPECT_EQ(count(from + "typeof(Quantity) NOT IN ('integer', 'null')"), 0);
    EXPECT_EQ(count(from + "abs(TotalAmount - Quantity * UnitPrice) > 0.005"), 0);
    // Some patients take several drugs, some none.
    EXPECT_GT(count("SELECT count(*) FROM (SELECT IDNum FROM Patient_Data.tbPatientMedicine GROUP BY IDNum "
                    "HAVING count(*) >= 3)"),
              0);
    EXPECT_GT(count("SELECT count(*) FROM Patient_Data.tbPatient P WHERE NOT EXISTS "
                    "(SELECT 1 FROM Patient_Data.tbPatientMedicine D WHERE D.IDNum = P.IDNum)"),
              0);
}

TEST_F(DemoData, ClaimsOverTheTwoYearsInEveryStatus)
{
    for (const char* status : {"IN PROCESS", "RETURN", "DENIED", "WITH CHEQUE", "VOUCHERING"})
        EXPECT_GT(count(std::string("SELECT count(*) FROM MEDICARE.tbMedElectronicClaimStatus WHERE status = '")
                        + status + "'"),
                  0)
            << status;
    EXPECT_EQ(count("SELECT count(*) FROM MEDICARE.tbMedElectronicClaimStatus WHERE ClaimDateReceived < '2024-12-01' "
                    "OR ClaimDateReceived >= '2026-12-01'"),
              0);
    EXPECT_GE(count("SELECT count(DISTINCT substr(ClaimDateReceived, 1, 7)) FROM MEDICARE.tbMedElectronicClaimStatus"),
              23);
    // A claim belongs to a discharged PhilHealth admission or visit.
    EXPECT_EQ(count("SELECT count(*) FROM MEDICARE.tbMedElectronicClaimStatus C WHERE NOT EXISTS (SELECT 1 FROM "
                    "(SELECT IDNum, DCRDATE, MedicareType FROM Patient_Data.tbPatient UNION ALL SELECT IDNum, "
                    "DCRDATE, MedicareType FROM Patient_Data.tbOutPatient) A WHERE A.IDNum = C.IDNum "
                    "AND A.DCRDATE < C.ClaimDateReceived AND A.MedicareType IN ('M', 'D', 'S', 'I'))"),
              0);
}
