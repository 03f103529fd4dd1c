#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/data/small_database.h"
#include "host/data/sql_quote.h"
#include "host/sqlcompat/compat_functions.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QScopeGuard>
#include <QSqlDatabase>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace vantik;

namespace {

class EmbeddedConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::writeSmallDatabase(m_dir.path());
        m_connection = Connection::openEmbedded(m_dir.path());
    }

    test::TempDir m_dir;
    std::unique_ptr<Connection> m_connection;
};

QString errorOf(Connection& connection, const QString& statement)
{
    try {
        connection.execute(statement);
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST(EmbeddedConnectionOpen, NamesWhatIsMissing)
{
    test::TempDir dir;
    try {
        Connection::openEmbedded(dir.file("nowhere"));
        FAIL() << "opened a folder that does not exist";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.message().contains("does not exist")) << error.message().toStdString();
    }
    test::writeSmallDatabase(dir.path());
    QFile::remove(dir.file("Station.sqlite"));
    try {
        Connection::openEmbedded(dir.path());
        FAIL() << "opened a folder without Station.sqlite";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.message().contains("Station.sqlite")) << error.message().toStdString();
    }
    // Nothing was created behind the clerk's back.
    EXPECT_FALSE(QFile::exists(dir.file("Station.sqlite")));
}

TEST_F(EmbeddedConnectionTest, OpensWithTheLinkedSqliteNotQtsPlugin)
{
    // Qt's SQLite plugin carries its own SQLite on Windows: a handle it made must
    // never meet the functions and collation our SQLite registers.
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty()) << QSqlDatabase::connectionNames().join(", ").toStdString();
    EXPECT_EQ(m_connection->execute("SELECT DATEDIFF(day, '20240101', '20240301')").text(0, 0), "60");
}

// One clerk's listing, still reading, does not hold off another clerk's save;
// under a rollback journal the save would wait out the busy timeout and fail.
TEST_F(EmbeddedConnectionTest, ASaveGoesThroughWhileAnotherClerkIsReading)
{
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(qPrintable(m_dir.file("Patient_Data.sqlite")), &reader), SQLITE_OK);
    const auto closeReader = qScopeGuard([&] { sqlite3_close(reader); });
    ASSERT_TRUE(sqlcompat::registerSqlServerCompat(reader));
    const auto lastName = [&] {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(reader, "SELECT LastName FROM tbPatient WHERE IDNum = '2400001'", -1, &statement, nullptr);
        QString name;
        if (sqlite3_step(statement) == SQLITE_ROW)
            name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return name;
    };
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);
    const QString before = lastName();
    ASSERT_FALSE(before.isEmpty());

    Recordset patient;
    patient.open("SELECT IDNum, LastName FROM Patient_Data..tbPatient WHERE IDNum = '2400001'", *m_connection,
                 CursorType::Dynamic, LockType::Optimistic);
    patient.setField("LastName", "Reyes");
    patient.update();

    EXPECT_EQ(lastName(), before); // the listing reads on from where it began
    ASSERT_EQ(sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(lastName(), "Reyes");
}

TEST_F(EmbeddedConnectionTest, ColumnNamesAreThoseSqlServerGives)
{
    const ResultSet result = m_connection->execute(
        "SELECT TOP 1 P.IDNum, LastName, '' , '' AS OPDIDNum, [HospNum] AS [Hosp Num], 'x' 'Quoted' "
        "FROM Patient_Data..tbPatient AS P WITH (NOLOCK)");
    EXPECT_EQ(result.columnNames(),
              QStringList({"IDNum", "LastName", "", "OPDIDNum", "Hosp Num", "Quoted"}));
    EXPECT_EQ(result.rowCount(), 1);
}

TEST_F(EmbeddedConnectionTest, ValuesArriveAsTheProgramsText)
{
    const ResultSet result = m_connection->execute(
        "SELECT IDNum, ADMDATE, DCRDATE, IsChemo, Amount, LastName, convert(varchar, ADMDATE, 0) AS Reg "
        "FROM PATIENT_DATA..tbPatient ORDER BY IDNum");
    ASSERT_EQ(result.rowCount(), 3);
    EXPECT_EQ(result.text(0, 0), "2400001");
    EXPECT_EQ(result.text(0, 1), "1/5/2024 9:07:00 AM");
    EXPECT_EQ(result.text(0, 2), "1/8/2024"); // midnight: the date alone
    EXPECT_EQ(result.text(0, 3), "True");
    EXPECT_EQ(result.text(0, 4), "150.5");
    EXPECT_EQ(result.text(0, 6), "Jan  5 2024  9:07AM");
    EXPECT_EQ(result.text(1, 2), ""); // NULL
    EXPECT_EQ(result.text(1, 3), "False");
    EXPECT_EQ(result.text(1, 4), "12");
    EXPECT_EQ(result.text(2, 3), "");
    EXPECT_EQ(result.text(2, 6), "Jan 31 2024 11:59PM");
}

TEST_F(EmbeddedConnectionTest, QuotedApostropheFindsItsRecord)
{
    const QString name = QStringLiteral("D'Souza");
    const ResultSet found = m_connection->execute(
        QStringLiteral("SELECT IDNum FROM Patient_Data..tbPatient WHERE LastName like  '%1%'").arg(sqlQuote(name)));
    ASSERT_EQ(found.rowCount(), 1);
    EXPECT_EQ(found.text(0, 0), "2400002");
    // Unquoted, the same text breaks the statement instead.
    EXPECT_NE(errorOf(*m_connection,
                      QStringLiteral("SELECT IDNum FROM Patient_Data..tbPatient WHERE LastName = '%1'").arg(name)),
              "(no error)");
}

TEST_F(EmbeddedConnectionTest, TextComparisonFollowsSqlServer)
{
    // '=' ignores case and trailing blanks; LIKE ignores case.
    EXPECT_EQ(m_connection->execute("SELECT IDNum FROM Patient_Data..tbPatient WHERE LastName = 'DELA CRUZ  '").rowCount(), 1);
    EXPECT_EQ(m_connection->execute("SELECT IDNum FROM Patient_Data..tbPatient WHERE LastName like 'dela%'").rowCount(), 1);
    EXPECT_EQ(m_connection->execute("SELECT GenericName FROM Patient_Data..tbPatientMedicine WHERE GenericName = 'paracetamol'").rowCount(), 2);
}

TEST_F(EmbeddedConnectionTest, DateBoundsReadLiteralsAsSqlServerDoes)
{
    // The upper bound of a one-month search is the first instant of the next day.
    const ResultSet january = m_connection->execute(
        "SELECT IDNum FROM Patient_Data..tbPatient WHERE ADMDATE >= '01/06/2024' AND ADMDATE <= '2/1/2024'");
    EXPECT_EQ(january.rowCount(), 2);
    // The forms the program writes, which SQL Server reads alike under every language.
    const ResultSet iso = m_connection->execute("SELECT IDNum FROM Patient_Data..tbPatient WHERE ADMDATE >= "
                                                "'2024-01-06T12:00:00.000' AND ADMDATE < '20240131'");
    ASSERT_EQ(iso.rowCount(), 1);
    EXPECT_EQ(iso.text(0, 0), "2400002");
    EXPECT_EQ(errorOf(*m_connection, "SELECT IDNum FROM Patient_Data..tbPatient WHERE ADMDATE >= 'yesterday'"),
              "Conversion failed when converting date and/or time from character string.");
    EXPECT_EQ(errorOf(*m_connection, "SELECT IDNum FROM Patient_Data..tbPatient WHERE ADMDATE <= '02/30/2024'"),
              "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.");
}

TEST_F(EmbeddedConnectionTest, FailuresCarryTheDatabasesMessage)
{
    EXPECT_TRUE(errorOf(*m_connection, "SELECT Nope FROM Patient_Data..tbPatient").contains("Nope"));
    EXPECT_TRUE(errorOf(*m_connection, "SELECT 1 FROM Patient_Data..tbMissing").contains("tbMissing"));
    EXPECT_TRUE(errorOf(*m_connection, "DELETE FROM Patient_Data..tbPatient").size() > 0);
    // Nothing was deleted.
    EXPECT_EQ(m_connection->execute("SELECT count(1) FROM Patient_Data..tbPatient").text(0, 0), "3");
}

TEST_F(EmbeddedConnectionTest, TopInsideScalarSubqueryLimitsOnlyTheSubquery)
{
    const ResultSet result = m_connection->execute(
        "SELECT P.IDNum, (SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH (NOLOCK) "
        "WHERE SER.ServiceID = 'SUR') AS Service FROM Patient_Data..tbPatient AS P WITH (NOLOCK)");
    ASSERT_EQ(result.rowCount(), 3);
    EXPECT_EQ(result.text(2, 1), "Surgery");
}
