#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/compat_internal.h"
#include "host/sqlcompat/datetime.h"
#include "host/sqlcompat/sqltype.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace vantik::sqlcompat;

namespace {

// One in-memory connection with the functions registered.
class CompatDb : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        ASSERT_TRUE(registerSqlServerCompat(m_db));
    }
    void TearDown() override { sqlite3_close(m_db); }

    void exec(const std::string& sql)
    {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    }

    // Every row's first column as text; "NULL" for a null. Statement failure -> "ERROR: message".
    std::vector<std::string> column(const std::string& sql)
    {
        std::vector<std::string> rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return {"ERROR: " + std::string(sqlite3_errmsg(m_db))};
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            rows.push_back(sqlite3_column_type(stmt, 0) == SQLITE_NULL ? "NULL" : std::string(text));
        }
        if (rc != SQLITE_DONE)
            rows = {"ERROR: " + std::string(sqlite3_errmsg(m_db))};
        sqlite3_finalize(stmt);
        return rows;
    }

    std::string value(const std::string& expression)
    {
        const std::vector<std::string> rows = column("SELECT " + expression);
        return rows.size() == 1 ? rows[0] : "(" + std::to_string(rows.size()) + " rows)";
    }

    int typeOf(const std::string& expression)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, ("SELECT " + expression).c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return -1;
        const int type = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_type(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return type;
    }

    std::string error(const std::string& msg) { return "ERROR: " + msg; }

    sqlite3* m_db = nullptr;
};

} // namespace

// --- Collation ---------------------------------------------------------------

TEST_F(CompatDb, CollationIgnoresCaseAndTrailingBlanks)
{
    EXPECT_EQ(value("'abc' = 'ABC' COLLATE TSQL"), "1");
    EXPECT_EQ(value("'abc' = 'abc  ' COLLATE TSQL"), "1");
    EXPECT_EQ(value("'  abc' = 'abc' COLLATE TSQL"), "0");
    EXPECT_EQ(value("'é' = 'É' COLLATE TSQL"), "1");
    EXPECT_EQ(value("'Ñandú' = 'ñANDÚ' COLLATE TSQL"), "1");
    EXPECT_EQ(value("'e' = 'é' COLLATE TSQL"), "0");
    EXPECT_EQ(value("'abc' < 'ABD' COLLATE TSQL"), "1");
    EXPECT_EQ(value("'' = '   ' COLLATE TSQL"), "1");
    // The shorter string compares as if padded with blanks.
    EXPECT_EQ(value("'abc' > ('abc' || char(9)) COLLATE TSQL"), "1");
    EXPECT_EQ(value("'abc' < 'abc!' COLLATE TSQL"), "1");
}

TEST_F(CompatDb, CollationOrdersAndKeepsUniqueIndexesCaseInsensitive)
{
    exec("CREATE TABLE t (name TEXT COLLATE TSQL)");
    exec("INSERT INTO t VALUES ('banana'), ('Apple'), ('cherry'), ('apricot'), ('Banana2')");
    EXPECT_EQ(column("SELECT name FROM t ORDER BY name"),
              (std::vector<std::string>{"Apple", "apricot", "banana", "Banana2", "cherry"}));
    EXPECT_EQ(column("SELECT count(*) FROM t WHERE name = 'APPLE '"), std::vector<std::string>{"1"});

    exec("CREATE TABLE u (code TEXT COLLATE TSQL)");
    exec("CREATE UNIQUE INDEX u_code ON u (code)");
    exec("INSERT INTO u VALUES ('José')");
    EXPECT_NE(sqlite3_exec(m_db, "INSERT INTO u VALUES ('JOSÉ ')", nullptr, nullptr, nullptr), SQLITE_OK);
    exec("INSERT INTO u VALUES ('Jose')"); // accents count
    EXPECT_EQ(column("SELECT code FROM u WHERE code = 'josé'"), std::vector<std::string>{"José"});
}

// --- LIKE ------------------------------------------------------------------------

TEST_F(CompatDb, LikeWildcardsAndSets)
{
    EXPECT_EQ(value("'Dela Cruz' LIKE 'dela%'"), "1");
    EXPECT_EQ(value("'Dela Cruz' LIKE '%CRUZ'"), "1");
    EXPECT_EQ(value("'Dela Cruz' LIKE '%a c%'"), "1");
    EXPECT_EQ(value("'Dean' LIKE '_ean'"), "1");
    EXPECT_EQ(value("'Dean' LIKE '__ean'"), "0");
    EXPECT_EQ(value("'Larsen' LIKE '[C-P]arsen'"), "1");
    EXPECT_EQ(value("'larsen' LIKE '[C-P]arsen'"), "1");
    EXPECT_EQ(value("'Sarsen' LIKE '[C-P]arsen'"), "0");
    EXPECT_EQ(value("'Carsen' LIKE '[bcd]arsen'"), "1");
    EXPECT_EQ(value("'dell' LIKE 'de[^l]%'"), "0");
    EXPECT_EQ(value("'dean' LIKE 'de[^l]%'"), "1");
    EXPECT_EQ(value("'50%' LIKE '50[%]'"), "1");
    EXPECT_EQ(value("'500' LIKE '50[%]'"), "0");
    EXPECT_EQ(value("'a_b' LIKE 'a!_b' ESCAPE '!'"), "1");
    EXPECT_EQ(value("'axb' LIKE 'a!_b' ESCAPE '!'"), "0");
    EXPECT_EQ(value("'José' LIKE 'JOS_'"), "1");
    EXPECT_EQ(value("'JOSÉ' LIKE '%é'"), "1");
    EXPECT_EQ(value("'[x' LIKE '[x'"), "1"); // an unclosed bracket is literal
    EXPECT_EQ(value("'aXbXc' LIKE '%x%x%'"), "1");
    EXPECT_EQ(value("'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab' LIKE '%a%a%a%a%a%a%a%a%a%a%c'"), "0");
    EXPECT_EQ(value("'' LIKE '%'"), "1");
    EXPECT_EQ(value("'' LIKE '_'"), "0");
}

TEST_F(CompatDb, LikeIgnoresTrailingBlanksOfTheTextOnly)
{
    EXPECT_EQ(value("'abc   ' LIKE 'abc'"), "1");
    EXPECT_EQ(value("'abc ' LIKE 'abc '"), "1");
    EXPECT_EQ(value("'abc' LIKE 'abc '"), "0");
    EXPECT_EQ(value("'abc  ' LIKE '%c'"), "1");
    EXPECT_EQ(value("'abc  ' LIKE '%c _'"), "1");
    EXPECT_EQ(value("' abc' LIKE 'abc'"), "0");
}

TEST_F(CompatDb, LikeNullsAndBadEscape)
{
    EXPECT_EQ(value("NULL LIKE 'a%'"), "NULL");
    EXPECT_EQ(value("'abc' LIKE NULL"), "NULL");
    EXPECT_EQ(value("'abc' LIKE 'a%' ESCAPE NULL"), "NULL");
    EXPECT_EQ(value("'abc' NOT LIKE 'x%'"), "1");
    EXPECT_EQ(value("'abc' LIKE 'a%' ESCAPE '!!'"),
              error("The invalid escape character \"!!\" was specified in a LIKE predicate."));
    EXPECT_EQ(value("'ab!' LIKE 'ab!' ESCAPE '!'"), "0"); // a dangling escape matches nothing

    exec("CREATE TABLE p (name TEXT)");
    exec("INSERT INTO p VALUES ('Santos'), ('SANTIAGO'), ('Reyes'), (NULL)");
    EXPECT_EQ(column("SELECT name FROM p WHERE name LIKE 'san%' ORDER BY name"),
              (std::vector<std::string>{"SANTIAGO", "Santos"}));
}

// --- Dates ----------------------------------------------------------------------

TEST_F(CompatDb, Style0FormatsDatesAndPassesOtherValues)
{
    EXPECT_EQ(value("tsql_style0('2024-01-05 09:07:00.000')"), "Jan  5 2024  9:07AM");
    EXPECT_EQ(value("tsql_style0('2024-01-01 00:00:00.000')"), "Jan  1 2024 12:00AM");
    EXPECT_EQ(value("tsql_style0('2023-12-31T12:00:00')"), "Dec 31 2023 12:00PM");
    EXPECT_EQ(value("tsql_style0('2024-01-05')"), "Jan  5 2024 12:00AM");
    EXPECT_EQ(value("tsql_style0(NULL)"), "NULL");
    EXPECT_EQ(value("tsql_style0('not a date')"), "not a date");
    EXPECT_EQ(value("tsql_style0('01/05/2024')"), "01/05/2024");
    EXPECT_EQ(value("tsql_style0(42)"), "42");
}

TEST_F(CompatDb, DateDiffMonthYear)
{
    EXPECT_EQ(value("tsql_datediff_day('2024-01-05 23:59:00.000', '2024-01-06 00:01:00.000')"), "1");
    EXPECT_EQ(value("tsql_datediff_day('2024-03-01', '2024-02-01')"), "-29");
    EXPECT_EQ(value("tsql_datediff_day('01/01/2024', '2024-12-31 10:00:00.000')"), "365");
    EXPECT_EQ(typeOf("tsql_datediff_day('2024-01-01', '2024-01-02')"), SQLITE_INTEGER);
    EXPECT_EQ(value("tsql_datediff_day(NULL, '2024-01-01')"), "NULL");
    EXPECT_EQ(value("tsql_datediff_day('2024-01-01', NULL)"), "NULL");
    EXPECT_EQ(value("tsql_datediff_day('2024-01-01', 'garbage')"), error(kDateUnreadableMessage));

    EXPECT_EQ(value("tsql_month('2024-07-15 10:00:00.000')"), "7");
    EXPECT_EQ(value("tsql_year('2024-07-15 10:00:00.000')"), "2024");
    EXPECT_EQ(value("tsql_month('Feb 3 2023')"), "2");
    EXPECT_EQ(typeOf("tsql_year('2024-07-15')"), SQLITE_INTEGER);
    EXPECT_EQ(value("tsql_month(NULL)"), "NULL");
    EXPECT_EQ(value("tsql_year(NULL)"), "NULL");
    // A number counts days from 1900-01-01, as the server converts it.
    EXPECT_EQ(value("tsql_year(0)"), "1900");
    EXPECT_EQ(value("tsql_datetime(1.5)"), "1900-01-02 12:00:00.000");
}

TEST_F(CompatDb, DateTimeConvertsOrRaisesTheServerMessages)
{
    EXPECT_EQ(value("tsql_datetime('01/05/2024 9:07 PM')"), "2024-01-05 21:07:00.000");
    EXPECT_EQ(value("tsql_datetime('2024-01-05 09:07:30.123')"), "2024-01-05 09:07:30.123");
    EXPECT_EQ(value("tsql_datetime('2024-01-05')"), "2024-01-05 00:00:00.000");
    EXPECT_EQ(value("tsql_datetime('')"), "1900-01-01 00:00:00.000");
    EXPECT_EQ(value("tsql_datetime(NULL)"), "NULL");
    EXPECT_EQ(value("tsql_datetime('abc')"), error(kDateUnreadableMessage));
    EXPECT_EQ(value("tsql_datetime('02/30/2024')"), error(kDateOutOfRangeMessage));
    EXPECT_EQ(value("tsql_datetime('2024-02-30')"), error(kDateOutOfRangeMessage));

    // The message reaches the caller of a failing statement.
    exec("CREATE TABLE a (admdate TEXT)");
    exec("INSERT INTO a VALUES ('2024-01-05 09:07:00.000')");
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(m_db, "SELECT * FROM a WHERE admdate >= tsql_datetime('13/45/2024')", -1, &stmt,
                                 nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_step(stmt), SQLITE_ERROR);
    EXPECT_STREQ(sqlite3_errmsg(m_db), kDateOutOfRangeMessage);
    sqlite3_finalize(stmt);
    EXPECT_EQ(column("SELECT count(*) FROM a WHERE admdate >= tsql_datetime('1/5/2024') "
                     "AND admdate <= tsql_datetime('1/6/2024')"),
              std::vector<std::string>{"1"});
}

// --- CAST AS VARCHAR and '+' ------------------------------------------------------

TEST_F(CompatDb, VarcharCastsAndCuts)
{
    EXPECT_EQ(value("tsql_varchar(NULL, 10)"), "NULL");
    EXPECT_EQ(value("tsql_varchar(12345, 10)"), "12345");
    EXPECT_EQ(value("tsql_varchar(-7, 10)"), "-7");
    EXPECT_EQ(value("tsql_varchar(12345, 3)"), "*");
    EXPECT_EQ(value("tsql_varchar(12.5, 10)"), "12.5");
    EXPECT_EQ(value("tsql_varchar(12.0, 10)"), "12");
    EXPECT_EQ(value("tsql_varchar(0.1 + 0.2, 10)"), "0.3");
    EXPECT_EQ(value("tsql_varchar(1234.5, 3)"), error("Arithmetic overflow error converting numeric to data type varchar."));
    EXPECT_EQ(value("tsql_varchar('abcdef', 3)"), "abc");
    EXPECT_EQ(value("tsql_varchar('ñéxyz', 2)"), "ñé");
    EXPECT_EQ(value("tsql_varchar('2024-01-05 09:07:00.000', 30)"), "2024-01-05 09:07:00.000");
    EXPECT_EQ(value("tsql_varchar('abc', -1)"), "abc");
    EXPECT_EQ(value("length(tsql_varchar(printf('%.40c', 'x')))"), "30");
    EXPECT_EQ(typeOf("tsql_varchar(5, 10)"), SQLITE_TEXT);
    EXPECT_EQ(value("tsql_varchar('abc', 0)").rfind("ERROR: ", 0), 0u);
}

TEST_F(CompatDb, AddDecidesBetweenConcatenationAndSum)
{
    EXPECT_EQ(value("tsql_add('Dela Cruz', ', ')"), "Dela Cruz, ");
    EXPECT_EQ(value("tsql_add(tsql_add('Dela Cruz', ', '), 'Juan')"), "Dela Cruz, Juan");
    EXPECT_EQ(value("tsql_add(2, 3)"), "5");
    EXPECT_EQ(typeOf("tsql_add(2, 3)"), SQLITE_INTEGER);
    EXPECT_EQ(value("tsql_add(2, 0.5)"), "2.5");
    EXPECT_EQ(value("tsql_add('12', 3)"), "15");
    EXPECT_EQ(value("tsql_add(3, ' 12 ')"), "15");
    EXPECT_EQ(value("tsql_add('1.5', 1.0)"), "2.5");
    EXPECT_EQ(value("tsql_add(NULL, 'x')"), "NULL");
    EXPECT_EQ(value("tsql_add('x', NULL)"), "NULL");
    EXPECT_EQ(value("tsql_add(1, NULL)"), "NULL");
    EXPECT_EQ(value("tsql_add('abc', 1)"), error("Conversion failed when converting the varchar value 'abc' to data type int."));
    EXPECT_EQ(value("tsql_add('1.5', 1)"), error("Conversion failed when converting the varchar value '1.5' to data type int."));
    EXPECT_EQ(value("tsql_add(9223372036854775807, 1)"),
              error("Arithmetic overflow error converting expression to data type bigint."));
}

// Both ends of the range, from either side: a wrong branch for negative numbers
// would let a sum wrap round or refuse one that fits.
TEST(AddWithoutOverflow, RefusesOnlySumsBeyondSixtyFourBits)
{
    constexpr sqlite3_int64 kMax = std::numeric_limits<sqlite3_int64>::max();
    constexpr sqlite3_int64 kMin = std::numeric_limits<sqlite3_int64>::min();
    struct Case {
        sqlite3_int64 a, b;
        bool fits;
    };
    const Case cases[] = {{kMax, 0, true},  {kMax - 1, 1, true}, {kMax, 1, false},  {1, kMax, false},
                          {kMin, 0, true},  {kMin + 1, -1, true}, {kMin, -1, false}, {-1, kMin, false},
                          {kMin, kMax, true}, {kMax, kMin, true},  {kMax, kMax, false}, {kMin, kMin, false}};
    for (const Case& c : cases) {
        sqlite3_int64 sum = 42;
        EXPECT_EQ(detail::addWithoutOverflow(c.a, c.b, sum), c.fits) << c.a << " + " << c.b;
        if (c.fits)
            EXPECT_EQ(sum, c.a + c.b);
        else
            EXPECT_EQ(sum, 42) << "a refused sum leaves the target as it was";
    }
}

TEST_F(CompatDb, VarcharKeepsTheScaleAndTheServersErrorsForNvarchar)
{
    EXPECT_EQ(value("tsql_varchar(12.5, 10, 0, 2)"), "12.50");
    EXPECT_EQ(value("tsql_varchar(5, 10, 0, 2)"), "5.00");
    EXPECT_EQ(value("tsql_varchar(12.5, 4, 0, 2)"), error("Arithmetic overflow error converting numeric to data type varchar."));
    EXPECT_EQ(value("tsql_varchar(123, 2, 1, -3)"), error("Arithmetic overflow error converting expression to data type nvarchar."));
    EXPECT_EQ(value("tsql_varchar(123, 2, 0, -3)"), "*");
    EXPECT_EQ(value("tsql_varchar(123, 3, 1, -3)"), "123");
    EXPECT_EQ(value("tsql_varchar(1234567.0, 30, 0, -2)"), "1.23457e+006");
    EXPECT_EQ(value("tsql_varchar(0.5, 30, 0, -2)"), "0.5");
    EXPECT_EQ(value("tsql_varchar('abcdef', 3, 1, -3)"), "abc");
}

TEST_F(CompatDb, IntConversionsFollowTheServer)
{
    EXPECT_EQ(value("tsql_int(' 42 ')"), "42");
    EXPECT_EQ(value("tsql_int('+')"), "0");
    EXPECT_EQ(value("tsql_int('')"), "0");
    EXPECT_EQ(value("tsql_int(-7.9)"), "-7");
    EXPECT_EQ(value("tsql_int(NULL)"), "NULL");
    EXPECT_EQ(value("tsql_int(2147483648)"), error("Arithmetic overflow error converting expression to data type int."));
    EXPECT_EQ(value("tsql_int(-2147483648)"), "-2147483648");
    EXPECT_EQ(value("tsql_int(3e9)"), error("Arithmetic overflow error converting numeric to data type int."));
    EXPECT_EQ(value("tsql_int('1e3')"), error("Conversion failed when converting the varchar value '1e3' to data type int."));
    EXPECT_EQ(value("tsql_int('99999999999999999999')"),
              error("The conversion of the varchar value '99999999999999999999' overflowed an int column."));
    EXPECT_EQ(value("tsql_numeric(' 12.50 ')"), "12.5");
    EXPECT_EQ(value("tsql_numeric('x')"), error("Error converting data type varchar to numeric."));
    EXPECT_EQ(value("tsql_bit('True') || tsql_bit(' false ') || tsql_bit('2') || tsql_bit(0)"), "1010");
    EXPECT_EQ(value("tsql_bit('yes')"), error("Conversion failed when converting the varchar value 'yes' to data type bit."));
}

TEST_F(CompatDb, AverageOfIntsTruncatesAndOverflowsAsAnInt)
{
    exec("CREATE TABLE n (v INTEGER)");
    EXPECT_EQ(value("tsql_avg_int(v) FROM n"), "NULL");
    exec("INSERT INTO n VALUES (1), (2), (2), (NULL)");
    EXPECT_EQ(value("tsql_avg_int(v) FROM n"), "1");
    EXPECT_EQ(value("tsql_avg_int(-v) FROM n"), "-1");
    EXPECT_EQ(value("tsql_avg_int(DISTINCT v) FROM n"), "1");
    exec("INSERT INTO n VALUES (2147483647)");
    EXPECT_EQ(value("tsql_avg_int(v) FROM n"), error("Arithmetic overflow error converting expression to data type int."));
}

TEST_F(CompatDb, UnicodeLikeCountsTheTextsTrailingBlanks)
{
    EXPECT_EQ(value("tsql_nlike('abc', 'abc ')"), "0");
    EXPECT_EQ(value("tsql_nlike('abc%', 'abc ')"), "1");
    EXPECT_EQ(value("tsql_nlike('ABC', 'abc')"), "1");
    EXPECT_EQ(value("tsql_nlike('a!%', 'a%', '!')"), "1");
    EXPECT_EQ(value("tsql_nlike(NULL, 'a')"), "NULL");
}

TEST_F(CompatDb, DateFunctionsReadTextAsDatetime2)
{
    EXPECT_EQ(value("tsql_datediff_day('2024-01-01 23:59:59.9999999', '2024-01-02')"), "1");
    EXPECT_EQ(value("tsql_datediff_day('0001-01-01 00:00:00.000', '0001-12-31')"), "364");
    EXPECT_EQ(value("tsql_year('0001-01-01 00:00:00.000')"), "1");
    EXPECT_EQ(value("tsql_datediff_day('', '2024-01-01')"), error(kDateUnreadableMessage));
    // CAST AS datetime keeps datetime's rules.
    EXPECT_EQ(value("tsql_datetime('2024-01-01 23:59:59.999')"), "2024-01-02 00:00:00.000");
    EXPECT_EQ(value("tsql_datetime('2024-01-01 23:59:59.9999')"), error(kDateUnreadableMessage));
}

// --- Declared column types ----------------------------------------------------------

TEST(SqlTypeFromDeclared, MapsTheServerTypes)
{
    EXPECT_EQ(sqlTypeFromDeclared("varchar(50)"), SqlType::Text);
    EXPECT_EQ(sqlTypeFromDeclared("NVARCHAR(MAX)"), SqlType::Text);
    EXPECT_EQ(sqlTypeFromDeclared("uniqueidentifier"), SqlType::Text);
    EXPECT_EQ(sqlTypeFromDeclared(" DATETIME "), SqlType::DateTime);
    EXPECT_EQ(sqlTypeFromDeclared("date"), SqlType::DateTime);
    EXPECT_EQ(sqlTypeFromDeclared("smalldatetime"), SqlType::DateTime);
    EXPECT_EQ(sqlTypeFromDeclared("bigint"), SqlType::Integer);
    EXPECT_EQ(sqlTypeFromDeclared("tinyint"), SqlType::Integer);
    EXPECT_EQ(sqlTypeFromDeclared("decimal(18,2)"), SqlType::Decimal);
    EXPECT_EQ(sqlTypeFromDeclared("money"), SqlType::Decimal);
    EXPECT_EQ(sqlTypeFromDeclared("bit"), SqlType::Bit);
    EXPECT_EQ(sqlTypeFromDeclared(""), SqlType::Unknown);
    EXPECT_EQ(sqlTypeFromDeclared("varbinary(16)"), SqlType::Unknown);
}
