// Statements a support engineer can type that once crashed, hung or ran with another
// meaning than on SQL Server.

#include "host/sqlcompat/his_test_db.h"
#include "host/sqlcompat/translator.h"
#include "host/sqlcompat/tsql_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantik::sqlcompat;
using namespace vantik::sqlcompat::test;

namespace {

std::string repeated(const std::string& part, int times)
{
    std::string out;
    out.reserve(part.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

std::string joined(const std::string& part, const std::string& separator, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += (i ? separator : "") + part;
    return out;
}

} // namespace

TEST(TranslatorLimits, DeepNestingIsRefusedWithTheServersMessage)
{
    const Catalog catalog = hisCatalog();
    EXPECT_EQ(translationError("SELECT " + repeated("(", 10300) + "1" + repeated(")", 10300) + " AS x", catalog),
              kNestedTooDeeplyMessage);
    EXPECT_EQ(translationError("SELECT 1 WHERE " + repeated("NOT ", 20000) + "1 = 1", catalog),
              kNestedTooDeeplyMessage);
    EXPECT_EQ(translationError("SELECT " + repeated("- ", 20000) + "1", catalog), kNestedTooDeeplyMessage);
    EXPECT_EQ(translationError(repeated("SELECT (", 300) + "1" + repeated(")", 300), catalog),
              kNestedTooDeeplyMessage);
    std::string cases = "1";
    for (int i = 0; i < 11; ++i)
        cases = "CASE WHEN 1 = 1 THEN " + cases + " END";
    EXPECT_EQ(translationError("SELECT " + cases, catalog), "Case expressions may only be nested to level 10.");

    // Parentheses that change nothing cost nothing in the SQLite text.
    EmbeddedDb db(catalog, {});
    EXPECT_EQ(db.outcome("SELECT " + repeated("(", 120) + "1" + repeated(")", 120) + " AS x"), "1");
}

// Every operator once came out in its own parentheses, and SQLite's parser stack
// overflowed at about a hundred of them.
TEST(TranslatorLimits, LongChainsRunAsOnTheServer)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, kAllHisTables);
    db.exec("INSERT INTO Patient_Data.tbMaster VALUES ('H1','Cruz','Ana','F')");
    const std::string from = " FROM Patient_Data..tbMaster";
    EXPECT_EQ(db.outcome("SELECT count(*)" + from + " WHERE " + joined("LastName = 'cruz'", " AND ", 90)), "1");
    EXPECT_EQ(db.outcome("SELECT count(*)" + from + " WHERE " + joined("LastName = 'x'", " OR ", 100)
                         + " OR Sex = 'f'"),
              "1");
    EXPECT_EQ(db.outcome("SELECT LastName" + repeated(" + 'a'", 95) + from), "Cruz" + repeated("a", 95));
    // Thousands of alternatives, as a pasted list of identifiers makes them.
    EXPECT_EQ(db.outcome("SELECT count(*)" + from + " WHERE " + joined("HospNum = 'H0'", " OR ", 5000)
                         + " OR HospNum = 'h1'"),
              "1");
}

TEST(TranslatorLexing, BlockCommentsNest)
{
    const Catalog catalog = hisCatalog();
    const Translation t = translateTsql("SELECT 1 AS a /* /* */ , 2 AS b --*/", catalog);
    EXPECT_EQ(t.columnNames, std::vector<std::string>{"a"});
    EXPECT_EQ(translateTsql("SELECT /* a /* b */ c */ 1 AS a", catalog).columnNames, std::vector<std::string>{"a"});
    EXPECT_EQ(translationError("SELECT 1 /* /* */", catalog), "Missing end comment mark '*/'.");
}

TEST(TranslatorLexing, NumericConstantsAreTypedAsTheServerTypesThem)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, {});
    EXPECT_EQ(db.outcome("SELECT 1e5, 1.5E-3, .5, 5., 2147483648 + 1"), "100000.0|0.0015|0.5|5.0|2147483649");
    EXPECT_EQ(translateTsql("SELECT 1e5, .5, 2147483648", catalog).columnTypes,
              (std::vector<SqlType>{SqlType::Decimal, SqlType::Decimal, SqlType::Decimal}));
    EXPECT_EQ(db.outcome("SELECT 2147483647 + 1"),
              "ERROR: Arithmetic overflow error converting expression to data type int.");
    // Found by the fuzzer: the translator's own bounds of a checked product overflowed.
    EXPECT_EQ(db.outcome("SELECT 2 * 2147478146 * 2147478146 * 4"),
              "ERROR: Arithmetic overflow error converting expression to data type int.");
    EXPECT_EQ(translationError("SELECT 0x41", catalog),
              "The embedded database cannot translate the T-SQL construct 'binary constant 0x41'.");
    EXPECT_EQ(translationError("SELECT $12.50", catalog),
              "The embedded database cannot translate the T-SQL construct 'money constant'.");
    EXPECT_EQ(translationError("SELECT 99999999999999999999", catalog),
              "The embedded database cannot translate the T-SQL construct 'whole number beyond 9223372036854775807'.");
    EXPECT_EQ(translationError("SELECT " + repeated("9", 39), catalog),
              "The number '" + repeated("9", 39)
                  + "' is out of the range for numeric representation (maximum precision 38).");
    EXPECT_EQ(translationError("SELECT 1e", catalog), "Incorrect syntax near '1e'.");
}

TEST(TranslatorLexing, CountsAndStylesOutOfRangeFailAsOnTheServer)
{
    const Catalog catalog = hisCatalog();
    const std::string from = " FROM Patient_Data..tbPatient";
    EXPECT_EQ(translationError("SELECT TOP 99999999999999999999 IDNum" + from, catalog),
              "Arithmetic overflow error converting expression to data type bigint.");
    EXPECT_EQ(translationError("SELECT TOP (-1) IDNum" + from, catalog),
              "A TOP N or FETCH rows count value may not be negative.");
    EXPECT_EQ(translationError("SELECT TOP 1.5 IDNum" + from, catalog),
              "The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer.");
    EXPECT_NE(translateTsql("SELECT TOP (9223372036854775807) IDNum" + from, catalog).sql.find(
                  "LIMIT 9223372036854775807"),
              std::string::npos);
    EXPECT_EQ(translationError("SELECT CONVERT(varchar, AdmDate, 4294967296)" + from, catalog),
              "Arithmetic overflow error converting expression to data type int.");
    EXPECT_EQ(translationError("SELECT CONVERT(varchar, AdmDate, 99)" + from, catalog),
              "99 is not a valid style number when converting from datetime to a character string.");
    EXPECT_EQ(translationError("SELECT CONVERT(varchar, AdmDate, 101)" + from, catalog),
              "The embedded database cannot translate the T-SQL construct 'CONVERT style 101'.");

    EmbeddedDb db(catalog, {{"Patient_Data", "tbPatient"}});
    db.exec("INSERT INTO Patient_Data.tbPatient (IDNum, AdmDate) VALUES ('1', '2024-01-05 21:07:00.000')");
    EXPECT_EQ(db.outcome("SELECT TOP 0 IDNum" + from), "");
    EXPECT_EQ(db.outcome("SELECT CONVERT(varchar, AdmDate, 100), CONVERT(varchar, AdmDate, NULL)" + from),
              "Jan  5 2024  9:07PM|<null>");
}

TEST(TranslatorSyntax, MessagesNameKeywordsAsTheServerDoes)
{
    const Catalog catalog = hisCatalog();
    EXPECT_EQ(translationError("SELECT FROM Patient_Data..tbPatient", catalog),
              "Incorrect syntax near the keyword 'FROM'.");
    EXPECT_EQ(translationError("SELECT IDNum, from Patient_Data..tbPatient", catalog),
              "Incorrect syntax near the keyword 'from'.");
    EXPECT_EQ(translationError("SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum = )", catalog),
              "Incorrect syntax near ')'.");
    // A reserved word is no alias, as on the server.
    EXPECT_EQ(translationError("SELECT IDNum user FROM Patient_Data..tbPatient", catalog),
              "Incorrect syntax near the keyword 'user'.");
    EXPECT_EQ(translationError("SELECT COALESCE(IDNum, '') FROM Patient_Data..tbPatient", catalog),
              "The embedded database cannot translate the T-SQL construct 'COALESCE()'.");
}

// T-SQL tells conditions from values; SQLite computes a comparison as 0 or 1, so
// "SELECT a = b" once ran there and printed numbers SQL Server would never give.
TEST(TranslatorSyntax, ConditionsAndValuesDoNotMix)
{
    const Catalog catalog = hisCatalog();
    const std::string from = " FROM Patient_Data..tbPatient";
    EXPECT_EQ(translationError("SELECT IDNum = '1'" + from, catalog),
              "The embedded database cannot translate the T-SQL construct 'alias = expression'.");
    EXPECT_EQ(translationError("SELECT 1 = 1" + from, catalog), "Incorrect syntax near '='.");
    EXPECT_EQ(translationError("SELECT (IDNum LIKE 'a%') + 1" + from, catalog),
              "Incorrect syntax near the keyword 'LIKE'.");
    EXPECT_EQ(translationError("SELECT IDNum" + from + " WHERE IDNum", catalog),
              "An expression of non-boolean type specified in a context where a condition is expected, near "
              "'IDNum'.");
    EXPECT_EQ(translationError("SELECT CASE WHEN 1 THEN 2 END", catalog),
              "An expression of non-boolean type specified in a context where a condition is expected, near "
              "'THEN'.");
    EXPECT_EQ(translationError("SELECT IDNum" + from + " WHERE NOT (IDNum)", catalog),
              "An expression of non-boolean type specified in a context where a condition is expected, near "
              "')'.");
}

// Found by the fuzzer: SQLite reads "- -1" in ORDER BY as the first column.
TEST(TranslatorSyntax, ConstantOrderItemsAreRefused)
{
    const Catalog catalog = hisCatalog();
    const std::string select = "SELECT IDNum, HospNum FROM Patient_Data..tbPatient ORDER BY ";
    for (const char* item : {"- -1", "'x'", "(2 + 3) * 4", "1.5", "NULL"})
        EXPECT_EQ(translationError(select + "HospNum, " + item, catalog),
                  "A constant expression was encountered in the ORDER BY list, position 2.")
            << item;
    EXPECT_EQ(translationError(select + "3", catalog),
              "The ORDER BY position number 3 is out of range of the number of items in the select list.");
    EXPECT_EQ(translationError(select + "2 DESC, count(*)", catalog),
              "Column 'tbPatient.IDNum' is invalid in the select list because it is not contained in either an "
              "aggregate function or the GROUP BY clause.");
}

TEST(TranslatorSyntax, NulInTheStatementIsRefused)
{
    const Catalog catalog = hisCatalog();
    std::string withNul = "SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum = 'a";
    withNul += '\0';
    withNul += "' OR 1 = 1";
    EXPECT_EQ(translationError(withNul, catalog),
              "The statement contains a NUL character (code 0); remove it and try again.");
}

TEST(TranslatorEmission, ParenthesesOnlyWherePrecedenceNeedsThem)
{
    const Catalog catalog = hisCatalog();
    EXPECT_EQ(translateTsql("SELECT 10 - (4 - 3), (2 + 3) * 4, - -1, 2 * -3, 2 + 3 * 4", catalog).sql,
              "SELECT 10 - (4 - 3) AS \"\", (2 + 3) * 4 AS \"\", - -1 AS \"\", 2 * -3 AS \"\", 2 + 3 * 4 AS \"\"");
    const std::string where = translateTsql("SELECT IDNum FROM Patient_Data..tbPatient WHERE (IDNum = '1' OR "
                                            "IDNum = '2') AND NOT (HospNum = 'a' OR HospNum = 'b') AND DcrDate "
                                            "IS NULL",
                                            catalog)
                                  .sql;
    EXPECT_NE(where.find("WHERE (`IDNum` = '1' COLLATE TSQL OR `IDNum` = '2' COLLATE TSQL) AND NOT (`HospNum` = "
                         "'a' COLLATE TSQL OR `HospNum` = 'b' COLLATE TSQL) AND `DcrDate` IS NULL"),
              std::string::npos)
        << where;
    EmbeddedDb db(catalog, {});
    EXPECT_EQ(db.outcome("SELECT 10 - (4 - 3), (2 + 3) * 4, - -1, 2 * -3, 2 + 3 * 4, 'a' + ('b' + 'c')"),
              "9|20|1|-6|14|abc");
}
