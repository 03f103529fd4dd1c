#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/embedded_connection.h"
#include "host/data/small_database.h"
#include "host/data/statement_shape.h"
#include "host/sqlcompat/tsql_lexer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace vantik;

TEST(StatementShape, SplitsTheLiteralsOutsideNamesAndComments)
{
    const StatementShape shape = statementShape(
        "SELECT [it's], \"a'b\" FROM t -- don't\n WHERE x = 'O''Brien' /* 'no' */ AND y=N'kept' AND z = ''");
    ASSERT_TRUE(shape.complete);
    ASSERT_EQ(shape.literals.size(), 2u);
    EXPECT_EQ(shape.literals[0], "'O''Brien'");
    EXPECT_EQ(shape.literals[1], "''");
    EXPECT_EQ(literalValue(shape.literals[0]), "O'Brien");
    EXPECT_EQ(literalValue(shape.literals[1]), "");
    EXPECT_NE(shape.key.find("N'kept'"), std::string::npos);

    // Statements that differ only in their literals share a shape; others do not.
    EXPECT_EQ(statementShape("SELECT a FROM t WHERE id = '1'").key, statementShape("SELECT a FROM t WHERE id = '22'").key);
    EXPECT_NE(statementShape("SELECT a FROM t WHERE id = '1'").key, statementShape("SELECT b FROM t WHERE id = '1'").key);

    // An unclosed literal must not pass for the closed one.
    EXPECT_FALSE(statementShape("SELECT a FROM t WHERE id = '1").complete);
    EXPECT_FALSE(statementShape("SELECT [a FROM t").complete);

    // Comments nest, as the translator reads them: the literal after "*/ */" is a literal.
    const StatementShape nested = statementShape("SELECT a /* x /* 'y' */ 'z' */ FROM t WHERE id = '1'");
    ASSERT_EQ(nested.literals.size(), 1u);
    EXPECT_EQ(nested.literals[0], "'1'");
    EXPECT_FALSE(statementShape("SELECT a /* x /* y */ FROM t").complete);
    // A text holding the key's own marks, or a NUL, is no shape: it could pass for another.
    EXPECT_FALSE(statementShape(std::string("SELECT [a\x01] FROM t WHERE id = ''")).complete);
    static const char withNul[] = "SELECT a FROM t WHERE id = 'x\0y'";
    EXPECT_FALSE(statementShape(std::string(withNul, sizeof withNul - 1)).complete);
}

TEST(StatementShape, ParametersOnlyWhereTheLiteralPassesAsWritten)
{
    test::TempDir dir;
    test::writeSmallDatabase(dir.path());
    const EmbeddedConnection connection(dir.path());
    auto parameterized = [&](const std::string& tsql) {
        const sqlcompat::Translation translation = sqlcompat::translateTsql(tsql, connection.catalog());
        const auto result = parameterizedTranslation(statementShape(tsql), translation, connection.catalog());
        return result ? result->sql : std::string("(none)");
    };

    const std::string perRow = parameterized("SELECT LastName FROM Patient_Data..tbPatient WHERE IDNum = '2400001'");
    EXPECT_NE(perRow.find("?1"), std::string::npos) << perRow;
    EXPECT_EQ(perRow.find("2400001"), std::string::npos) << perRow;
    // A date read into the storage form, and a name written as a literal, depend on the text.
    EXPECT_EQ(parameterized("SELECT IDNum FROM Patient_Data..tbPatient WHERE ADMDATE >= '1/6/2024'"), "(none)");
    EXPECT_EQ(parameterized("SELECT IDNum AS 'Admission' FROM Patient_Data..tbPatient WHERE IDNum = '2400001'"),
              "(none)");
}

// The connection keeps statements prepared between calls: each call must see its
// own literals and nothing of the call before.
TEST(StatementShape, RepeatedStatementsReadTheirOwnRows)
{
    test::TempDir dir;
    test::writeSmallDatabase(dir.path());
    const auto connection = Connection::openEmbedded(dir.path());
    auto lastName = [&](const QString& id) {
        const ResultSet rows = connection->execute(
            QStringLiteral("SELECT LastName FROM Patient_Data..tbPatient WHERE IDNum = '%1'").arg(id));
        return rows.rowCount() == 0 ? QStringLiteral("(no row)") : rows.text(0, 0);
    };
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(lastName("2400001"), "Dela Cruz");
        EXPECT_EQ(lastName("2400002"), "D'Souza");
        EXPECT_EQ(lastName("nobody"), "(no row)");
        EXPECT_EQ(lastName("2400001  "), "Dela Cruz"); // trailing blanks do not count, as on SQL Server
    }
    const RawResult byName =
        connection->fetch(QStringLiteral("SELECT IDNum FROM Patient_Data..tbPatient WHERE LastName = 'D''Souza'"));
    ASSERT_EQ(byName.rows.size(), 1u);
    EXPECT_EQ(byName.rows[0][0].toString(), "2400002");
    // Dates stay literals: each date gives its own rows.
    auto admittedFrom = [&](const QString& date) {
        return connection
            ->execute(QStringLiteral("SELECT count(*) FROM Patient_Data..tbPatient WHERE ADMDATE >= '%1'").arg(date))
            .text(0, 0);
    };
    EXPECT_EQ(admittedFrom("1/6/2024"), "2");
    EXPECT_EQ(admittedFrom("1/31/2024"), "1");
    EXPECT_THROW(admittedFrom("2/30/2024"), DatabaseError);
    EXPECT_EQ(admittedFrom("1/1/2024"), "3");

    // Saves with the same text and other values, and one that fails between them.
    const QString update = QStringLiteral("UPDATE \"Patient_Data\".\"tbPatient\" SET \"LastName\" = ? WHERE \"IDNum\" = ?");
    EXPECT_EQ(connection->executeNative(update, {QStringLiteral("Reyes"), QStringLiteral("2400001")}), 1);
    EXPECT_THROW(connection->executeNative(QStringLiteral("INSERT INTO \"Patient_Data\".\"tbPatient\" (\"IDNum\") VALUES (?)"),
                                           {QStringLiteral("2400002")}),
                 DatabaseError);
    EXPECT_EQ(connection->executeNative(update, {QStringLiteral("Santos"), QStringLiteral("2400002")}), 1);
    EXPECT_EQ(lastName("2400001"), "Reyes");
    EXPECT_EQ(lastName("2400002"), "Santos");
}

// Substituting the literals back once took the square of their number: a pasted list of
// 100,000 identifiers hung the connection for minutes.
TEST(StatementShape, LongInListsAreKeptAndRunWithTheirOwnValues)
{
    test::TempDir dir;
    test::writeSmallDatabase(dir.path());
    const auto connection = Connection::openEmbedded(dir.path());
    auto statement = [](int count, const QString& last) {
        QString list;
        list.reserve(count * 12);
        for (int i = 0; i < count; ++i)
            list += QStringLiteral("'x%1', ").arg(i);
        return QStringLiteral("SELECT LastName FROM Patient_Data..tbPatient WHERE IDNum IN (%1'%2')").arg(list, last);
    };
    for (const char* id : {"2400001", "2400002", "2400001"}) {
        const ResultSet rows = connection->execute(statement(100000, QString::fromLatin1(id)));
        ASSERT_EQ(rows.rowCount(), 1);
        EXPECT_EQ(rows.text(0, 0), QString::fromLatin1(id) == "2400001" ? "Dela Cruz" : "D'Souza");
    }
}

// SQLite's own parser gives up at a depth SQL Server takes; the clerk then reads the
// server's message, not SQLite's.
TEST(StatementShape, EngineDepthLimitsReadAsTheServersMessage)
{
    test::TempDir dir;
    test::writeSmallDatabase(dir.path());
    const auto connection = Connection::openEmbedded(dir.path());
    QString nested = QStringLiteral("1");
    for (int i = 0; i < 25; ++i)
        nested = QStringLiteral("(SELECT %1)").arg(nested);
    try {
        connection->execute(QStringLiteral("SELECT %1 AS x").arg(nested));
        ADD_FAILURE() << "a statement nested 25 subqueries deep ran";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.message(), QString::fromLatin1(sqlcompat::kNestedTooDeeplyMessage));
    }
}
