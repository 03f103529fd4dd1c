#include "demo_db_support.h"

#include "host/demodata/demo_generator.h"
#include "host/sqlcompat/sqltype.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace vantik;
using vantik::test::DemoDbReader;

namespace {

// One small demo database for the schema checks.
class DemoSchema : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new test::TempDir;
        generateDemoDatabases({s_dir->stdPath(), 300, 5});
        s_db = new DemoDbReader(s_dir->stdPath());
    }
    static void TearDownTestSuite()
    {
        delete s_db;
        delete s_dir;
    }

    static bool hasColumn(const std::string& schema, const std::string& table, const std::string& name)
    {
        const auto columns = s_db->columns(schema, table);
        return std::any_of(columns.begin(), columns.end(), [&](const auto& c) {
            return lowerAscii(c.name) == lowerAscii(name);
        });
    }
    static std::string lowerAscii(std::string text)
    {
        for (char& c : text)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
    /// How many of the tables hold the column (names compared without case, as the server does).
    static int holders(const std::vector<std::pair<std::string, std::string>>& tables, const std::string& name)
    {
        int n = 0;
        for (const auto& [schema, table] : tables)
            n += hasColumn(schema, table, name) ? 1 : 0;
        return n;
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline DemoDbReader* s_db = nullptr;
};

const std::vector<std::pair<std::string, std::string>> kInPatientJoin = {
    {"Patient_Data", "tbPatient"}, {"Patient_Data", "tbMaster"}, {"Station", "tbNurseProfile"}};
const std::vector<std::pair<std::string, std::string>> kOutPatientJoin = {
    {"Patient_Data", "tbOutPatient"}, {"Patient_Data", "tbMaster"}, {"Station", "tbNurseProfile"}};
const std::vector<std::pair<std::string, std::string>> kDoctorSubquery = {
    {"Build_File", "tbcoDoctor"}, {"Build_File", "tbCoSpecialization"}};

// The worklist query names these without a table, in its select list and its filters.
const char* const kUnqualifiedBoth[] = {"BriefHistory", "isHemoDialysis", "MedicareType", "IsChemo",  "Sex",
                                        "admdate",      "dcrdate",        "LastName",     "FirstName", "CF4VerifiedOn",
                                        "CF4VerifiedBy"};
const char* const kUnqualifiedIn[] = {"OPDIDNum", "AttendingDr1", "AdmittingDr"};
const char* const kUnqualifiedOut[] = {"HemoNum", "DoctorID1"};

} // namespace

TEST_F(DemoSchema, UnqualifiedWorklistColumnsBelongToExactlyOneJoinedTable)
{
    for (const char* name : kUnqualifiedBoth) {
        EXPECT_EQ(holders(kInPatientJoin, name), 1) << name << " (in-patient)";
        EXPECT_EQ(holders(kOutPatientJoin, name), 1) << name << " (out-patient)";
    }
    for (const char* name : kUnqualifiedIn)
        EXPECT_EQ(holders(kInPatientJoin, name), 1) << name;
    for (const char* name : kUnqualifiedOut)
        EXPECT_EQ(holders(kOutPatientJoin, name), 1) << name;
}

TEST_F(DemoSchema, SubqueryColumnsBindWhereTheStatementMeansThem)
{
    // Inside the doctor subquery LastName, FirstName and DoctorID are the doctor's ...
    for (const char* name : {"LastName", "FirstName", "DoctorID"})
        EXPECT_EQ(holders(kDoctorSubquery, name), 1) << name;
    // ... while the doctor reference comes from the outer admission row.
    for (const char* name : {"AttendingDr1", "AdmittingDr", "DoctorID1"})
        EXPECT_EQ(holders(kDoctorSubquery, name), 0) << name;
    // ORDER BY Service means the select list's alias, and DoctorID only the doctor's.
    for (const char* name : {"Service", "DoctorID", "Specialization", "Company"}) {
        EXPECT_EQ(holders(kInPatientJoin, name), 0) << name;
        EXPECT_EQ(holders(kOutPatientJoin, name), 0) << name;
    }
    EXPECT_TRUE(hasColumn("Build_File", "tbcoService", "Service"));
    EXPECT_TRUE(hasColumn("Build_File", "tbcoService", "ServiceID"));
    EXPECT_TRUE(hasColumn("Build_File", "tbCoCompany", "Company"));
    EXPECT_TRUE(hasColumn("Build_File", "tbCoCompany", "AccountNum"));
    EXPECT_TRUE(hasColumn("Patient_Data", "tbPatient", "ServiceID"));
    EXPECT_TRUE(hasColumn("Patient_Data", "tbOutPatient", "ServiceID1"));
}

TEST_F(DemoSchema, EveryColumnTheStatementsNameExists)
{
    const std::map<std::string, std::vector<std::string>> named = {
        {"Patient_Data.tbPatient", {"hospnum", "IdNum", "admdate", "dcrdate", "ServiceID", "AccountNum"}},
        {"Patient_Data.tbOutPatient", {"hospnum", "IdNum", "admdate", "dcrdate", "ServiceID1", "AccountNum",
                                       "isHemoDialysis", "IsChemo", "BriefHistory", "MedicareType"}},
        {"Patient_Data.tbMaster", {"HospNum", "LastName", "FirstName", "Sex"}},
        {"Station.tbNurseProfile", {"IDNUM", "CF4Status", "CF4AssignedTo", "CF4OpenBy", "CF4OpenON", "CF4VerifiedOn",
                                    "CF4VerifiedBy", "ChangeBy"}},
        {"Build_File.tbcoDoctor", {"DoctorID", "LastName", "FirstName", "SpecializationID"}},
        {"Build_File.tbCoSpecialization", {"SpecializationID", "Specialization"}},
        {"Patient_Data.tbOutPatientHistory", {"IDNum", "Temperature", "RespiratoryRate", "BloodPressure", "PulseRate",
                                              "Height", "Weight"}},
        {"Station.tbNurseVitalSigns", {"IDNum", "Temperature", "RespRate", "BP", "PulseRate"}},
        {"Patient_Data.tbPatientHistory", {"IDNum", "Height", "Weight"}},
        {"Station.tbCourseWard", {"IDNum"}},
        {"Patient_Data.tbPatientConditions", {"IDNum", "AreaCat", "AreaSubCat", "Description", "Code", "Result",
                                              "Remarks"}},
        {"Patient_Data.tbPatientMedicine", {"IDNum", "GenericName", "Quantity", "Dosage", "Route", "UnitCode",
                                            "TotalAmount"}},
        {"MEDICARE.tbMedElectronicClaimStatus", {"ClaimDateReceived", "status"}},
        {"Build_File.tbcoUsers", {"UserName", "DisplayName", "DeptCode", "PasswordSalt", "PasswordHash",
                                  "Iterations"}},
        {"Station.tbDoctorOrders", {"OrderID", "IDNum", "OrderDate", "OrderText", "DoctorID"}},
    };
    for (const auto& [qualified, columns] : named) {
        const auto dot = qualified.find('.');
        for (const auto& name : columns) {
            EXPECT_TRUE(hasColumn(qualified.substr(0, dot), qualified.substr(dot + 1), name))
                << qualified << "." << name;
        }
    }
}

TEST_F(DemoSchema, DeclaredTypesTellTheKindsApart)
{
    int tables = 0;
    for (const std::string schema : {"Patient_Data", "Build_File", "Station", "MEDICARE"}) {
        for (const auto& table : s_db->tables(schema)) {
            ++tables;
            bool hasKey = false;
            for (const auto& c : s_db->columns(schema, table)) {
                const auto kind = sqlcompat::sqlTypeFromDeclared(c.declaredType);
                EXPECT_NE(kind, sqlcompat::SqlType::Unknown) << table << "." << c.name << " " << c.declaredType;
                if (kind == sqlcompat::SqlType::Text) {
                    EXPECT_EQ(c.declaredType.rfind("VARCHAR(", 0), 0u) << table << "." << c.name;
                    EXPECT_EQ(c.collation, "TSQL") << table << "." << c.name;
                }
                hasKey = hasKey || c.primaryKey;
            }
            EXPECT_TRUE(hasKey) << table << " has no primary key";
        }
    }
    EXPECT_EQ(tables, 21);
    // Values keep to their kinds: datetimes in the 23-character storage form, flags 0 or 1.
    const std::string storageForm =
        "'[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9].[0-9][0-9][0-9]'";
    for (const std::string schema : {"Patient_Data", "Build_File", "Station", "MEDICARE"}) {
        for (const auto& table : s_db->tables(schema)) {
            for (const auto& c : s_db->columns(schema, table)) {
                const auto kind = sqlcompat::sqlTypeFromDeclared(c.declaredType);
                const std::string from = " FROM " + schema + "." + table + " WHERE " + c.name + " IS NOT NULL AND ";
                if (kind == sqlcompat::SqlType::DateTime) {
                    EXPECT_EQ(s_db->count("SELECT count(*)" + from + "(length(" + c.name + ") <> 23 OR " + c.name
                                          + " NOT GLOB " + storageForm + ")"),
                              0)
                        << table << "." << c.name;
                }
                if (kind == sqlcompat::SqlType::Bit) {
                    EXPECT_EQ(s_db->count("SELECT count(*)" + from + c.name + " NOT IN (0, 1)"), 0)
                        << table << "." << c.name;
                }
            }
        }
    }
}

TEST_F(DemoSchema, LookupColumnsAreIndexed)
{
    auto indexed = [](const std::string& schema, const std::string& table, const std::string& name) {
        const auto columns = s_db->indexedColumns(schema, table);
        return std::find(columns.begin(), columns.end(), name) != columns.end();
    };
    for (const char* table : {"tbPatient", "tbOutPatient"}) {
        EXPECT_TRUE(indexed("Patient_Data", table, "IDNum")) << table;
        EXPECT_TRUE(indexed("Patient_Data", table, "HospNum")) << table;
        EXPECT_TRUE(indexed("Patient_Data", table, "ADMDATE")) << table;
        EXPECT_TRUE(indexed("Patient_Data", table, "DCRDATE")) << table;
    }
    EXPECT_TRUE(indexed("Patient_Data", "tbMaster", "HospNum"));
    for (const char* table : {"tbPatientHistory", "tbOutPatientHistory", "tbPatientConditions", "tbPatientMedicine"})
        EXPECT_TRUE(indexed("Patient_Data", table, "IDNum")) << table;
    for (const char* table : {"tbNurseProfile", "tbNurseVitalSigns", "tbCourseWard", "tbDoctorOrders"})
        EXPECT_TRUE(indexed("Station", table, "IDNum")) << table;
    EXPECT_TRUE(indexed("Station", "tbDoctorOrders", "DoctorID"));
    EXPECT_TRUE(indexed("Build_File", "tbcoDoctor", "DoctorID"));
    EXPECT_TRUE(indexed("MEDICARE", "tbMedElectronicClaimStatus", "ClaimDateReceived"));
    EXPECT_TRUE(indexed("MEDICARE", "tbMedElectronicClaimStatus", "IDNum"));
    // The plans use them: a lookup by admission is a search, not a scan.
    const auto plan =
        s_db->column("EXPLAIN QUERY PLAN SELECT * FROM Patient_Data.tbPatientMedicine WHERE IDNUM = 'x'", 3);
    ASSERT_FALSE(plan.empty());
    EXPECT_NE(plan.back().value_or("").find("SEARCH"), std::string::npos);
}

TEST_F(DemoSchema, GuInsertWithTheProgramsSevenColumnsGetsDefaults)
{
    ASSERT_EQ(s_db->exec("BEGIN"), "");
    ASSERT_EQ(s_db->exec("INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, "
                         "Code, Result, Remarks) VALUES ('x1', 'PhysicalExam', 'GU(IE)', 'OTHERS', 'X', '1', "
                         "'Not Applicable')"),
              "");
    EXPECT_EQ(s_db->count("SELECT count(*) FROM Patient_Data.tbPatientConditions WHERE IDNum = 'X1' AND ID > 0 "
                          "AND EncodedBy = '' AND length(EncodedOn) = 23"),
              1);
    EXPECT_EQ(s_db->exec("ROLLBACK"), "");
}

TEST_F(DemoSchema, WorklistJoinRunsWithoutAmbiguity)
{
    // The worklist statement in SQLite's words: SQLite refuses a column name that two
    // joined tables share, and binds subquery names inner-first as the server does.
    const std::string common =
        "SELECT P.hospnum, P.IdNum, P.admdate, P.dcrdate, M.LastName || ', ' || M.FirstName, BriefHistory, "
        "isHemoDialysis, NP.CF4Status, NP.CF4AssignedTo, NP.CF4OpenBy, NP.CF4OpenON, NP.CF4VerifiedOn, "
        "NP.CF4VerifiedBy, MedicareType, ";
    const std::string doctor =
        "(SELECT LastName || ', ' || FirstName || '  [' || SPE.Specialization || ']' FROM Build_File.tbcoDoctor DOC "
        "LEFT OUTER JOIN Build_File.tbCoSpecialization SPE ON DOC.SpecializationID = SPE.SpecializationID WHERE ";
    const std::string tail =
        ", (CASE WHEN P.AccountNum <> P.hospnum THEN (SELECT CC.Company FROM Build_File.tbCoCompany CC WHERE "
        "CC.AccountNum = P.AccountNum LIMIT 1) ELSE 'PERSONAL ' || P.AccountNum END) ACCOUNT, "
        "julianday(date(dcrdate)) - julianday(date(admdate)) AS LengthStay";
    const std::string where =
        " INNER JOIN Patient_Data.tbMaster M ON P.HospNum = M.HospNum LEFT OUTER JOIN Station.tbNurseProfile NP "
        "ON P.IDNUM = NP.IDNUM WHERE 1=1 AND ADMDATE >= '2025-01-01' AND DCRDATE IS NOT NULL AND LastName >= '' "
        "AND FirstName >= '' AND isHemoDialysis IN (0, 1) AND isChemo IN (0, 1) AND CF4VerifiedOn IS NULL "
        "AND MedicareType NOT IN ('', 'nn') ";
    const std::string in = common + "OPDIDNum, '', IsChemo, Sex, " + doctor + "DoctorID = AttendingDr1) AS Doctor1, "
        + "(SELECT Service FROM Build_File.tbcoService AS SER WHERE SER.ServiceID = P.ServiceID LIMIT 1) AS Service, "
        + "AttendingDr1" + tail
        + ", (SELECT LastName || ', ' || FirstName FROM Build_File.tbcoDoctor WHERE DoctorID = AdmittingDr) AS Adm"
        + " FROM Patient_Data.tbPatient AS P" + where + "ORDER BY Service, AttendingDr1, CF4VerifiedBy";
    const std::string out = common + "'' AS OPDIDNum, HemoNum, IsChemo, Sex, " + doctor
        + "DoctorID = DoctorID1) AS Doctor1, "
        + "(SELECT Service FROM Build_File.tbcoService AS SER WHERE SER.ServiceID = P.ServiceID1 LIMIT 1) AS Service, "
        + "DoctorID1" + tail + ", '' FROM Patient_Data.tbOutPatient AS P" + where
        + "AND (HemoNum IS NOT NULL OR HemoNum <> '') ORDER BY Service, DoctorID1, CF4VerifiedBy";
    EXPECT_GT(s_db->column(in).size(), 0u);
    EXPECT_GT(s_db->column(out).size(), 0u);
}
