#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "support/temp_dir.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vantik;

namespace {

// The SQLite ODBC driver lets the QODBC path run without a SQL Server.
bool sqliteOdbcDriverInstalled()
{
    QFile ini(QStringLiteral("/etc/odbcinst.ini"));
    return ini.open(QIODevice::ReadOnly) && ini.readAll().contains("[SQLite3]");
}

} // namespace

TEST(OdbcConnection, RunsStatementsAndConvertsValues)
{
    if (!sqliteOdbcDriverInstalled())
        GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    test::TempDir dir;
    const QString file = dir.file("odbc.sqlite");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE t (ID INTEGER PRIMARY KEY, Name VARCHAR(20), Flag BIT, Amount DOUBLE);"
                           "INSERT INTO t VALUES (1, 'Santos', 1, 150.5), (2, NULL, 0, 12);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    const auto connection = Connection::openOdbc(QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(file));
    const ResultSet result = connection->execute("SELECT ID, Name, Flag, Amount FROM t ORDER BY ID");
    EXPECT_EQ(result.columnNames(), QStringList({"ID", "Name", "Flag", "Amount"}));
    ASSERT_EQ(result.rowCount(), 2);
    EXPECT_EQ(result.text(0, 1), "Santos");
    EXPECT_EQ(result.text(0, 3), "150.5");
    EXPECT_EQ(result.text(1, 1), "");
    EXPECT_EQ(result.text(1, 3), "12");

    EXPECT_EQ(connection->executeNative("UPDATE t SET Name = ? WHERE ID = ? AND Name IS NULL", {"Reyes", 2}), 1);
    EXPECT_EQ(connection->execute("SELECT Name FROM t WHERE ID = 2").text(0, 0), "Reyes");
    // SQLite through ODBC: its own spelling of a table of an attached database.
    EXPECT_EQ(connection->nativeTableName({"Patient_Data", "tbPatient"}), "[Patient_Data].[tbPatient]");
    EXPECT_EQ(connection->description(), "SQLite (ODBC)");
    EXPECT_EQ(connection->nativeColumnName("Length]Stay"), "[Length]]Stay]");

    try {
        connection->execute("SELECT nope FROM t");
        FAIL() << "a bad statement ran";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.message().contains("nope")) << error.message().toStdString();
    }
}

TEST(OdbcConnection, UnknownDriverFailsWithTheDriverManagersMessage)
{
    try {
        Connection::openOdbc(QStringLiteral("DRIVER={No Such Driver};SERVER=127.0.0.1;"));
        FAIL() << "connected through a driver that does not exist";
    } catch (const DatabaseError& error) {
        EXPECT_FALSE(error.message().isEmpty());
    }
}
