#include "host/demodata/demo_schema.h"

#include <sqlite3.h>

#include <stdexcept>

namespace vantik {

namespace {

// Default of datetime columns the program leaves out when it inserts: the local
// time in the storage form, as GETDATE() would fill it on the server.
#define VANTIK_NOW_DEFAULT "DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))"

DemoDatabaseSchema patientData()
{
    return {
        "Patient_Data",
        {
            R"(CREATE TABLE tbMaster (
    HospNum VARCHAR(10) COLLATE TSQL NOT NULL PRIMARY KEY,
    LastName VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    FirstName VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    MiddleName VARCHAR(50) COLLATE TSQL,
    Sex VARCHAR(6) COLLATE TSQL,
    BirthDate DATETIME,
    CivilStatus VARCHAR(10) COLLATE TSQL,
    Address VARCHAR(120) COLLATE TSQL,
    PhilHealthNum VARCHAR(14) COLLATE TSQL))",
            R"(CREATE TABLE tbPatient (
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL PRIMARY KEY,
    HospNum VARCHAR(10) COLLATE TSQL NOT NULL,
    ADMDATE DATETIME NOT NULL,
    DCRDATE DATETIME,
    ServiceID VARCHAR(6) COLLATE TSQL,
    AttendingDr1 VARCHAR(6) COLLATE TSQL,
    AdmittingDr VARCHAR(6) COLLATE TSQL,
    AccountNum VARCHAR(12) COLLATE TSQL,
    MedicareType VARCHAR(2) COLLATE TSQL,
    BriefHistory VARCHAR(500) COLLATE TSQL,
    isHemoDialysis BIT NOT NULL DEFAULT 0,
    IsChemo BIT NOT NULL DEFAULT 0,
    OPDIDNum VARCHAR(12) COLLATE TSQL,
    RoomID VARCHAR(8) COLLATE TSQL,
    Diagnosis VARCHAR(200) COLLATE TSQL))",
            R"(CREATE TABLE tbOutPatient (
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL PRIMARY KEY,
    HospNum VARCHAR(10) COLLATE TSQL NOT NULL,
    ADMDATE DATETIME NOT NULL,
    DCRDATE DATETIME,
    ServiceID1 VARCHAR(6) COLLATE TSQL,
    DoctorID1 VARCHAR(6) COLLATE TSQL,
    AccountNum VARCHAR(12) COLLATE TSQL,
    MedicareType VARCHAR(2) COLLATE TSQL,
    BriefHistory VARCHAR(500) COLLATE TSQL,
    isHemoDialysis BIT NOT NULL DEFAULT 0,
    IsChemo BIT NOT NULL DEFAULT 0,
    HemoNum VARCHAR(12) COLLATE TSQL,
    Diagnosis VARCHAR(200) COLLATE TSQL))",
            R"(CREATE TABLE tbPatientHistory (
    ID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    HistoryDate DATETIME )" VANTIK_NOW_DEFAULT R"(,
    ChiefComplaint VARCHAR(200) COLLATE TSQL,
    Height VARCHAR(10) COLLATE TSQL,
    Weight VARCHAR(10) COLLATE TSQL))",
            R"(CREATE TABLE tbOutPatientHistory (
    ID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    HistoryDate DATETIME )" VANTIK_NOW_DEFAULT R"(,
    ChiefComplaint VARCHAR(200) COLLATE TSQL,
    Temperature VARCHAR(10) COLLATE TSQL,
    RespiratoryRate VARCHAR(10) COLLATE TSQL,
    BloodPressure VARCHAR(15) COLLATE TSQL,
    PulseRate VARCHAR(10) COLLATE TSQL,
    Height VARCHAR(10) COLLATE TSQL,
    Weight VARCHAR(10) COLLATE TSQL))",
            R"(CREATE TABLE tbPatientConditions (
    ID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    AreaCat VARCHAR(30) COLLATE TSQL NOT NULL DEFAULT '',
    AreaSubCat VARCHAR(30) COLLATE TSQL NOT NULL DEFAULT '',
    Description VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Code VARCHAR(5) COLLATE TSQL NOT NULL DEFAULT '',
    Result VARCHAR(10) COLLATE TSQL NOT NULL DEFAULT '',
    Remarks VARCHAR(200) COLLATE TSQL NOT NULL DEFAULT '',
    EncodedBy VARCHAR(30) COLLATE TSQL NOT NULL DEFAULT '',
    EncodedOn DATETIME NOT NULL )" VANTIK_NOW_DEFAULT R"())",
            R"(CREATE TABLE tbPatientMedicine (
    ID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    OrderDate DATETIME )" VANTIK_NOW_DEFAULT R"(,
    GenericName VARCHAR(100) COLLATE TSQL,
    BrandName VARCHAR(100) COLLATE TSQL,
    Quantity DECIMAL(18,2),
    Dosage VARCHAR(30) COLLATE TSQL,
    Route VARCHAR(20) COLLATE TSQL,
    UnitCode VARCHAR(10) COLLATE TSQL,
    UnitPrice MONEY,
    TotalAmount MONEY))",
        },
        {
            "CREATE INDEX ixPatient_HospNum ON tbPatient (HospNum)",
            "CREATE INDEX ixPatient_ADMDATE ON tbPatient (ADMDATE)",
            "CREATE INDEX ixPatient_DCRDATE ON tbPatient (DCRDATE)",
            "CREATE INDEX ixPatient_AttendingDr1 ON tbPatient (AttendingDr1)",
            "CREATE INDEX ixOutPatient_HospNum ON tbOutPatient (HospNum)",
            "CREATE INDEX ixOutPatient_ADMDATE ON tbOutPatient (ADMDATE)",
            "CREATE INDEX ixOutPatient_DCRDATE ON tbOutPatient (DCRDATE)",
            "CREATE INDEX ixOutPatient_DoctorID1 ON tbOutPatient (DoctorID1)",
            "CREATE INDEX ixPatientHistory_IDNum ON tbPatientHistory (IDNum)",
            "CREATE INDEX ixOutPatientHistory_IDNum ON tbOutPatientHistory (IDNum)",
            "CREATE INDEX ixPatientConditions_IDNum ON tbPatientConditions (IDNum)",
            "CREATE INDEX ixPatientMedicine_IDNum ON tbPatientMedicine (IDNum)",
        },
    };
}

DemoDatabaseSchema buildFile()
{
    return {
        "Build_File",
        {
            R"(CREATE TABLE tbCoSpecialization (
    SpecializationID INTEGER PRIMARY KEY,
    Specialization VARCHAR(60) COLLATE TSQL NOT NULL))",
            R"(CREATE TABLE tbcoDoctor (
    DoctorID VARCHAR(6) COLLATE TSQL NOT NULL PRIMARY KEY,
    LastName VARCHAR(50) COLLATE TSQL NOT NULL,
    FirstName VARCHAR(50) COLLATE TSQL NOT NULL,
    MiddleInitial VARCHAR(5) COLLATE TSQL,
    SpecializationID INTEGER,
    PHICAccreditation VARCHAR(20) COLLATE TSQL,
    IsActive BIT NOT NULL DEFAULT 1))",
            R"(CREATE TABLE tbcoService (
    ServiceID VARCHAR(6) COLLATE TSQL NOT NULL PRIMARY KEY,
    Service VARCHAR(50) COLLATE TSQL NOT NULL))",
            R"(CREATE TABLE tbCoCompany (
    AccountNum VARCHAR(12) COLLATE TSQL NOT NULL PRIMARY KEY,
    Company VARCHAR(80) COLLATE TSQL NOT NULL,
    CompanyType VARCHAR(10) COLLATE TSQL))",
            R"(CREATE TABLE tbcoUsers (
    UserName VARCHAR(30) COLLATE TSQL NOT NULL PRIMARY KEY,
    DisplayName VARCHAR(80) COLLATE TSQL NOT NULL,
    DeptCode VARCHAR(4) COLLATE TSQL NOT NULL,
    PasswordSalt VARCHAR(64) COLLATE TSQL NOT NULL,
    PasswordHash VARCHAR(64) COLLATE TSQL NOT NULL,
    Iterations INTEGER NOT NULL))",
        },
        {
            "CREATE INDEX ixDoctor_SpecializationID ON tbcoDoctor (SpecializationID)",
        },
    };
}

DemoDatabaseSchema station()
{
    return {
        "Station",
        {
            R"(CREATE TABLE tbNurseProfile (
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL PRIMARY KEY,
    CF4Status VARCHAR(100) COLLATE TSQL,
    CF4AssignedTo VARCHAR(30) COLLATE TSQL,
    CF4OpenBy VARCHAR(30) COLLATE TSQL,
    CF4OpenON DATETIME,
    CF4VerifiedOn DATETIME,
    CF4VerifiedBy VARCHAR(30) COLLATE TSQL,
    ChangeBy VARCHAR(30) COLLATE TSQL,
    ChangeDate DATETIME))",
            R"(CREATE TABLE tbNurseVitalSigns (
    ID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    VitalDate DATETIME )" VANTIK_NOW_DEFAULT R"(,
    Temperature VARCHAR(10) COLLATE TSQL,
    RespRate VARCHAR(10) COLLATE TSQL,
    BP VARCHAR(15) COLLATE TSQL,
    PulseRate VARCHAR(10) COLLATE TSQL,
    O2Sat VARCHAR(10) COLLATE TSQL,
    TakenBy VARCHAR(30) COLLATE TSQL))",
            R"(CREATE TABLE tbCourseWard (
    ID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    CourseDate DATETIME )" VANTIK_NOW_DEFAULT R"(,
    CourseNotes VARCHAR(1000) COLLATE TSQL,
    EncodedBy VARCHAR(30) COLLATE TSQL))",
            R"(CREATE TABLE tbDoctorOrders (
    OrderID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    OrderDate DATETIME )" VANTIK_NOW_DEFAULT R"(,
    OrderText VARCHAR(500) COLLATE TSQL,
    DoctorID VARCHAR(6) COLLATE TSQL))",
        },
        {
            "CREATE INDEX ixNurseVitalSigns_IDNum ON tbNurseVitalSigns (IDNum)",
            "CREATE INDEX ixCourseWard_IDNum ON tbCourseWard (IDNum)",
            "CREATE INDEX ixDoctorOrders_IDNum ON tbDoctorOrders (IDNum)",
            "CREATE INDEX ixDoctorOrders_DoctorID ON tbDoctorOrders (DoctorID)",
        },
    };
}

DemoDatabaseSchema medicare()
{
    return {
        "MEDICARE",
        {
            R"(CREATE TABLE tbMedElectronicClaimStatus (
    ClaimID INTEGER PRIMARY KEY,
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL,
    HospNum VARCHAR(10) COLLATE TSQL,
    ClaimSeriesLhio VARCHAR(15) COLLATE TSQL,
    ClaimDateReceived DATETIME NOT NULL,
    status VARCHAR(30) COLLATE TSQL NOT NULL,
    StatusDate DATETIME,
    ClaimAmount MONEY))",
            // The program's own tables for the eCF4 (docs/ecf4.md): the hospital's
            // values, the codes of the HIS's words and drugs, and the CF4 items the
            // HIS does not hold, by admission.
            R"(CREATE TABLE tbCF4Facility (
    FacilityID INTEGER NOT NULL PRIMARY KEY CHECK (FacilityID = 1),
    HciAccreNo VARCHAR(9) COLLATE TSQL,
    CertificationID VARCHAR(21) COLLATE TSQL,
    UserName VARCHAR(30) COLLATE TSQL,
    ChangedBy VARCHAR(30) COLLATE TSQL,
    ChangedOn DATETIME))",
            R"(CREATE TABLE tbCF4FindingCode (
    AreaCat VARCHAR(30) COLLATE TSQL NOT NULL,
    AreaSubCat VARCHAR(30) COLLATE TSQL NOT NULL,
    Description VARCHAR(100) COLLATE TSQL NOT NULL,
    Library VARCHAR(20) COLLATE TSQL NOT NULL,
    LibraryID VARCHAR(3) COLLATE TSQL NOT NULL,
    ChangedBy VARCHAR(30) COLLATE TSQL,
    ChangedOn DATETIME,
    PRIMARY KEY (AreaCat, AreaSubCat, Description)))",
            R"(CREATE TABLE tbCF4DrugCode (
    HisGenericName VARCHAR(100) COLLATE TSQL NOT NULL,
    HisDosage VARCHAR(30) COLLATE TSQL NOT NULL,
    HisUnitCode VARCHAR(10) COLLATE TSQL NOT NULL,
    DrugCode VARCHAR(30) COLLATE TSQL NOT NULL,
    GenericCode VARCHAR(5) COLLATE TSQL NOT NULL,
    SaltCode VARCHAR(5) COLLATE TSQL NOT NULL,
    StrengthCode VARCHAR(5) COLLATE TSQL NOT NULL,
    FormCode VARCHAR(5) COLLATE TSQL NOT NULL,
    UnitCode VARCHAR(5) COLLATE TSQL NOT NULL,
    PackageCode VARCHAR(5) COLLATE TSQL NOT NULL,
    ChangedBy VARCHAR(30) COLLATE TSQL,
    ChangedOn DATETIME,
    PRIMARY KEY (HisGenericName, HisDosage, HisUnitCode)))",
            R"(CREATE TABLE tbCF4Entry (
    IDNum VARCHAR(12) COLLATE TSQL NOT NULL PRIMARY KEY,
    GenSurveyID VARCHAR(1) COLLATE TSQL,
    GenSurveyRemarks VARCHAR(2000) COLLATE TSQL,
    PastMedicalHistory VARCHAR(2000) COLLATE TSQL,
    MensApplicable VARCHAR(1) COLLATE TSQL,
    LastMensPeriod DATETIME,
    PregnancyCount INT,
    DeliveryCount INT,
    FullTermCount INT,
    PrematureCount INT,
    AbortionCount INT,
    LivingChildrenCount INT,
    PainSite VARCHAR(500) COLLATE TSQL,
    OtherComplaint VARCHAR(2000) COLLATE TSQL,
    ChangedBy VARCHAR(30) COLLATE TSQL,
    ChangedOn DATETIME))",
        },
        {
            "CREATE INDEX ixMedElectronicClaimStatus_IDNum ON tbMedElectronicClaimStatus (IDNum)",
            "CREATE INDEX ixMedElectronicClaimStatus_HospNum ON tbMedElectronicClaimStatus (HospNum)",
            "CREATE INDEX ixMedElectronicClaimStatus_ClaimDateReceived ON tbMedElectronicClaimStatus "
            "(ClaimDateReceived)",
        },
    };
}

#undef VANTIK_NOW_DEFAULT

void runAll(sqlite3* db, const std::string& file, const std::vector<std::string>& statements)
{
    for (const std::string& sql : statements) {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = file + ": " + (error ? error : "unknown SQLite error");
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }
}

} // namespace

const std::vector<DemoDatabaseSchema>& demoSchema()
{
    static const std::vector<DemoDatabaseSchema> schema = {patientData(), buildFile(), station(), medicare()};
    return schema;
}

void createDemoTables(sqlite3* db, const DemoDatabaseSchema& schema)
{
    runAll(db, schema.name, schema.tables);
}

void createDemoIndexes(sqlite3* db, const DemoDatabaseSchema& schema)
{
    runAll(db, schema.name, schema.indexes);
}

} // namespace vantik
