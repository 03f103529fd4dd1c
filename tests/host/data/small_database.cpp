#include "host/data/small_database.h"

#include "host/sqlcompat/compat_functions.h"

#include <QDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace vantik::test {

namespace {

// Patient_Data of the small database; the ODBC copy is the same without the collation.
const char* const kPatientData = R"(
CREATE TABLE tbPatient (
  IDNum VARCHAR(20) COLLATE TSQL PRIMARY KEY, HospNum VARCHAR(20) COLLATE TSQL,
  ADMDATE DATETIME, DCRDATE DATETIME, LastName VARCHAR(50) COLLATE TSQL,
  IsChemo BIT, Amount DECIMAL(18,2));
INSERT INTO tbPatient VALUES
  ('2400001', 'H001', '2024-01-05 09:07:00.000', '2024-01-08 00:00:00.000', 'Dela Cruz', 1, 150.50),
  ('2400002', 'H002', '2024-01-06 12:00:00.000', NULL, 'D''Souza', 0, 12),
  ('B2400003', 'H003', '2024-01-31 23:59:59.000', NULL, NULL, NULL, NULL);
CREATE TABLE tbPatientMedicine (
  ID INTEGER PRIMARY KEY, IDNum VARCHAR(20) COLLATE TSQL, GenericName VARCHAR(80) COLLATE TSQL,
  Quantity DECIMAL(18,2), Dosage VARCHAR(40) COLLATE TSQL, Route VARCHAR(20) COLLATE TSQL,
  UnitCode VARCHAR(10) COLLATE TSQL, TotalAmount DECIMAL(18,2));
INSERT INTO tbPatientMedicine VALUES
  (1, '2400001', 'Paracetamol', 10, '500mg', 'Oral', 'TAB', 55.5),
  (2, '2400001', 'PARACETAMOL', 2, '500mg', NULL, 'TAB', 11),
  (3, '2400002', 'Amoxicillin', 21, '500mg', 'Oral', 'CAP', 210);
CREATE TABLE tbPatientConditions (
  ID INTEGER PRIMARY KEY, IDNum VARCHAR(20) COLLATE TSQL, AreaCat VARCHAR(40) COLLATE TSQL,
  AreaSubCat VARCHAR(40) COLLATE TSQL, Description VARCHAR(80) COLLATE TSQL, Code VARCHAR(10) COLLATE TSQL,
  Result VARCHAR(10) COLLATE TSQL, Remarks VARCHAR(200) COLLATE TSQL,
  CreatedBy VARCHAR(20) COLLATE TSQL DEFAULT 'SYSTEM');
INSERT INTO tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, Code, Result, Remarks)
  VALUES ('2400001', 'PhysicalExam', 'GU(IE)', 'OTHERS', 'N', '0', NULL);
CREATE TABLE tbNoKey (Name VARCHAR(20) COLLATE TSQL);
INSERT INTO tbNoKey VALUES ('only');
CREATE TABLE tbConditionsNoKey (
  IDNum VARCHAR(20) COLLATE TSQL, AreaCat VARCHAR(40) COLLATE TSQL, AreaSubCat VARCHAR(40) COLLATE TSQL,
  Description VARCHAR(80) COLLATE TSQL, Code VARCHAR(10) COLLATE TSQL, Result VARCHAR(10) COLLATE TSQL,
  Remarks VARCHAR(200) COLLATE TSQL, CreatedBy VARCHAR(20) COLLATE TSQL DEFAULT 'SYSTEM', Notes TEXT);
INSERT INTO tbConditionsNoKey (IDNum, AreaCat, AreaSubCat, Description, Code, Result, Remarks, Notes) VALUES
  ('2400001', 'PhysicalExam', 'GU(IE)', 'OTHERS', 'N', '0', NULL, 'long text'),
  ('2400003', 'PhysicalExam', 'GU(IE)', 'OTHERS', 'N', '0', 'twice', NULL),
  ('2400003', 'PhysicalExam', 'GU(IE)', 'OTHERS', 'N', '0', 'twice', NULL);
CREATE TABLE tbLongNotes (Body TEXT);
INSERT INTO tbLongNotes VALUES ('one');
)";

void runScript(const QString& file, const char* script)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    sqlcompat::registerSqlServerCompat(db);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, script, nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

} // namespace

void writeSmallDatabase(const QString& folder)
{
    QDir().mkpath(folder);
    const QDir dir(folder);
    runScript(dir.filePath("Patient_Data.sqlite"), kPatientData);
    runScript(dir.filePath("Build_File.sqlite"), R"(
CREATE TABLE tbcoService (ServiceID VARCHAR(10) COLLATE TSQL PRIMARY KEY, Service VARCHAR(50) COLLATE TSQL);
INSERT INTO tbcoService VALUES ('MED', 'Medicine'), ('SUR', 'Surgery');
)");
    runScript(dir.filePath("Station.sqlite"), R"(
CREATE TABLE tbCourseWard (ID INTEGER PRIMARY KEY, IDNum VARCHAR(20) COLLATE TSQL, Note VARCHAR(200) COLLATE TSQL);
INSERT INTO tbCourseWard (IDNum, Note) VALUES ('2400001', 'Admitted'), ('2400001', 'Improved');
)");
    runScript(dir.filePath("MEDICARE.sqlite"), R"(
CREATE TABLE tbMedElectronicClaimStatus (ID INTEGER PRIMARY KEY, ClaimDateReceived DATETIME, status VARCHAR(20) COLLATE TSQL);
)");
}

void writeSmallOdbcDatabase(const QString& folder)
{
    // The SQLite ODBC driver does not know the TSQL collation: plain SQLite
    // tables, compared case-sensitively.
    QDir().mkpath(folder);
    QByteArray script(kPatientData);
    script.replace(" COLLATE TSQL", "");
    runScript(QDir(folder).filePath("Patient_Data.sqlite"), script.constData());
    runScript(QDir(folder).filePath("main.sqlite"), "");
}

std::unique_ptr<Connection> openSmallOdbcDatabase(const QString& folder)
{
    auto connection = Connection::openOdbc(
        QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(QDir(folder).filePath("main.sqlite")));
    connection->executeNative(QStringLiteral("ATTACH DATABASE ? AS Patient_Data"),
                              {QDir(folder).filePath("Patient_Data.sqlite")});
    return connection;
}

} // namespace vantik::test
