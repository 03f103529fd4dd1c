// Results as SQL Server documents them, on the embedded engine: aggregates, joins,
// conversions, comparisons of texts with numbers and dates.

#include "host/sqlcompat/his_test_db.h"
#include "host/sqlcompat/translator.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantik::sqlcompat;
using namespace vantik::sqlcompat::test;

namespace {

class Fidelity : public ::testing::Test {
protected:
    Fidelity()
        : db(catalog, kAllHisTables)
    {
        db.exec("INSERT INTO Patient_Data.tbMaster VALUES ('H1','apple','Ana','M'),('H2','Banana',NULL,'m'),"
                "('H3','cherry','Lito','F'),('H4',NULL,'Jo','M ')");
        db.exec("INSERT INTO Patient_Data.tbPatient (HospNum, IDNum, AdmDate, DcrDate, AccountNum, isHemoDialysis) "
                "VALUES ('H1','02400001','2024-01-05 09:00:00.000','2024-01-08 10:00:00.000','H1',1),"
                "('H2','2400002','2024-01-07 00:00:00.000',NULL,'C9',0),"
                "('H3','2400003','2024-02-01 00:00:00.000',NULL,'H3',0)");
        db.exec("INSERT INTO Patient_Data.tbPatientConditions (ID, IDNum, Code) VALUES (1,'02400001','X'),"
                "(2,'2400002','Y'),(2,'2400003',NULL),(NULL,'2400003','Z')");
        db.exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName, Quantity) VALUES "
                "('02400001','Metformin',12.5),('2400002','metformin ',2),('2400002','Losartan',NULL)");
        db.exec("INSERT INTO Station.tbNurseProfile (IDNum, CF4Status) VALUES ('02400001','VERIFIED'),"
                "('2400002',NULL)");
        db.exec("INSERT INTO Build_File.tbcoCompany VALUES ('C9','Acme')");
    }

    const Catalog catalog = hisCatalog();
    EmbeddedDb db;
};

} // namespace

TEST_F(Fidelity, AggregatesFollowTheServersRules)
{
    const std::string conditions = " FROM Patient_Data..tbPatientConditions";
    // NULLs ignored; AVG of an int is an int, the fraction cut towards zero.
    EXPECT_EQ(db.outcome("SELECT SUM(ID), AVG(ID), MIN(ID), MAX(ID), COUNT(ID), COUNT(*), AVG(-ID)" + conditions),
              "5|1|1|2|3|4|-1");
    EXPECT_EQ(db.outcome("SELECT SUM(DISTINCT ID), COUNT(DISTINCT ID), AVG(DISTINCT ID)" + conditions), "3|2|1");
    EXPECT_EQ(db.outcome("SELECT SUM(ID), AVG(ID)" + conditions + " WHERE ID IS NULL"), "<null>|<null>");
    EXPECT_EQ(db.outcome("SELECT SUM(Quantity), AVG(Quantity), MAX(Quantity) FROM Patient_Data..tbPatientMedicine"),
              "14.5|7.25|12.5");
    // Texts under the collation: case and trailing blanks do not count.
    EXPECT_EQ(db.outcome("SELECT MIN(LastName), MAX(LastName), COUNT(DISTINCT Sex) FROM Patient_Data..tbMaster"),
              "apple|cherry|2");
    EXPECT_EQ(db.outcome("SELECT COUNT(DISTINCT GenericName) FROM Patient_Data..tbPatientMedicine"), "2");

    db.exec("INSERT INTO Patient_Data.tbPatientConditions (ID, IDNum) VALUES (2147483647,'x')");
    EXPECT_EQ(db.outcome("SELECT SUM(ID)" + conditions),
              "ERROR: Arithmetic overflow error converting expression to data type int.");
    EXPECT_EQ(db.outcome("SELECT AVG(ID)" + conditions),
              "ERROR: Arithmetic overflow error converting expression to data type int.");
}

TEST_F(Fidelity, AggregatesWhereTheServerRefusesThem)
{
    EXPECT_EQ(db.outcome("SELECT SUM(LastName) FROM Patient_Data..tbMaster"),
              "ERROR: Operand data type varchar is invalid for sum operator.");
    EXPECT_EQ(db.outcome("SELECT AVG(isHemoDialysis) FROM Patient_Data..tbPatient"),
              "ERROR: Operand data type bit is invalid for avg operator.");
    EXPECT_EQ(db.outcome("SELECT MAX(isHemoDialysis) FROM Patient_Data..tbPatient"),
              "ERROR: Operand data type bit is invalid for max operator.");
    EXPECT_EQ(db.outcome("SELECT IDNum FROM Patient_Data..tbPatient WHERE COUNT(*) > 1"),
              "ERROR: An aggregate may not appear in the WHERE clause unless it is in a subquery contained in a "
              "HAVING clause or a select list, and the column being aggregated is an outer reference.");
    EXPECT_EQ(db.outcome("SELECT MAX(COUNT(*)) FROM Patient_Data..tbPatient"),
              "ERROR: Cannot perform an aggregate function on an expression containing an aggregate or a subquery.");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbPatient GROUP BY COUNT(*)"),
              "ERROR: Cannot use an aggregate or a subquery in an expression used for the group by list of a GROUP "
              "BY clause.");
}

// SQLite returns some row's value for a column that is neither grouped nor aggregated;
// SQL Server refuses the statement.
TEST_F(Fidelity, UngroupedColumnsAreRefused)
{
    EXPECT_EQ(db.outcome("SELECT IDNum, COUNT(*) FROM Patient_Data..tbPatient"),
              "ERROR: Column 'tbPatient.IDNum' is invalid in the select list because it is not contained in either "
              "an aggregate function or the GROUP BY clause.");
    EXPECT_EQ(db.outcome("SELECT P.IDNum FROM Patient_Data..tbPatient P GROUP BY HospNum"),
              "ERROR: Column 'P.IDNum' is invalid in the select list because it is not contained in either an "
              "aggregate function or the GROUP BY clause.");
    EXPECT_EQ(db.outcome("SELECT HospNum FROM Patient_Data..tbPatient GROUP BY HospNum ORDER BY IDNum"),
              "ERROR: Column 'tbPatient.IDNum' is invalid in the ORDER BY clause because it is not contained in "
              "either an aggregate function or the GROUP BY clause.");
    EXPECT_EQ(db.outcome("SELECT (SELECT TOP 1 Company FROM Build_File..tbcoCompany C WHERE C.AccountNum = "
                         "P.AccountNum) FROM Patient_Data..tbPatient P GROUP BY P.HospNum"),
              "ERROR: Column 'P.AccountNum' is invalid in the select list because it is not contained in either an "
              "aggregate function or the GROUP BY clause.");
    // A grouped expression may be used whole; its columns are then no longer loose.
    EXPECT_EQ(db.outcome("SELECT CAST(MONTH(AdmDate) AS VARCHAR(2)) + '-' + CAST(YEAR(AdmDate) AS VARCHAR(4)) AS M, "
                         "COUNT(*) FROM Patient_Data..tbPatient GROUP BY CAST(MONTH(AdmDate) AS VARCHAR(2)) + '-' + "
                         "CAST(YEAR(admdate) AS VARCHAR(4)) ORDER BY M"),
              "1-2024|2\n2-2024|1");
    EXPECT_EQ(db.outcome("SELECT TOP 1 (SELECT IDNum FROM Patient_Data..tbPatient ORDER BY IDNum)"),
              "ERROR: The ORDER BY clause is invalid in views, inline functions, derived tables, subqueries, and "
              "common table expressions, unless TOP, OFFSET or FOR XML is also specified.");
}

TEST_F(Fidelity, CommaJoinsAndTheirOnClauses)
{
    EXPECT_EQ(db.outcome("SELECT P.IDNum, M.LastName FROM Patient_Data..tbPatient P, Patient_Data..tbMaster M "
                         "WHERE P.HospNum = M.HospNum ORDER BY P.IDNum"),
              "02400001|apple\n2400002|Banana\n2400003|cherry");
    // "a, b JOIN c ON ..." joins b and c first: the ON cannot see a, and a name in it
    // means the column of b or c even where a has one of that name too.
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbMaster M, Patient_Data..tbPatient P INNER JOIN "
                         "Build_File..tbcoCompany C ON M.HospNum = C.AccountNum"),
              "ERROR: The multi-part identifier \"M.HospNum\" could not be bound.");
    db.exec("INSERT INTO Patient_Data.tbOutPatient (HospNum, IDNum, AccountNum) VALUES ('H2','B1','C9')");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbOutPatient O, Patient_Data..tbPatient P LEFT JOIN "
                         "Station..tbNurseProfile NP ON AccountNum = NP.IDNum WHERE P.HospNum = 'H1'"),
              "1");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbPatient P, Station..tbNurseProfile NP LEFT JOIN "
                         "Build_File..tbcoCompany C ON CF4Status = C.Company"),
              "6");
    EXPECT_EQ(db.outcome("SELECT 1 FROM Patient_Data..tbPatient, Patient_Data..tbPatient"),
              "ERROR: The objects \"Patient_Data..tbPatient\" and \"Patient_Data..tbPatient\" in the FROM clause "
              "have the same exposed names. Use correlation names to distinguish them.");
    EXPECT_EQ(db.outcome("SELECT 1 FROM Patient_Data..tbPatient P, Patient_Data..tbMaster P"),
              "ERROR: The correlation name 'P' is specified multiple times in a FROM clause.");
}

TEST_F(Fidelity, InSubqueries)
{
    EXPECT_EQ(db.outcome("SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum IN (SELECT IDNum FROM "
                         "Station..tbNurseProfile) ORDER BY IDNum"),
              "02400001\n2400002");
    EXPECT_EQ(db.outcome("SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum NOT IN (SELECT IDNum FROM "
                         "Station..tbNurseProfile)"),
              "2400003");
    // A NULL in the list makes NOT IN unknown for every row, as on the server.
    EXPECT_EQ(db.outcome("SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum NOT IN (SELECT CF4Status FROM "
                         "Station..tbNurseProfile)"),
              "");
    EXPECT_EQ(db.outcome("SELECT LastName FROM Patient_Data..tbMaster WHERE LastName IN (SELECT 'BANANA  ')"),
              "Banana");
    EXPECT_EQ(db.outcome("SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum IN (SELECT IDNum, CF4Status FROM "
                         "Station..tbNurseProfile)"),
              "ERROR: Only one expression can be specified in the select list when the subquery is not introduced "
              "with EXISTS.");
}

TEST_F(Fidelity, CastToIntAndToText)
{
    EXPECT_EQ(db.outcome("SELECT CAST(' 12 ' AS int), CAST('-' AS int), CAST('' AS int), CAST(12.9 AS int), "
                         "CAST(-12.9 AS int), CONVERT(int, '7'), CAST(NULL AS int), CAST(isHemoDialysis AS int) "
                         "FROM Patient_Data..tbPatient WHERE HospNum = 'H1'"),
              "12|0|0|12|-12|7|<null>|1");
    EXPECT_EQ(db.outcome("SELECT CAST('12.5' AS int)"),
              "ERROR: Conversion failed when converting the varchar value '12.5' to data type int.");
    EXPECT_EQ(db.outcome("SELECT CAST('99999999999' AS int)"),
              "ERROR: The conversion of the varchar value '99999999999' overflowed an int column.");
    EXPECT_EQ(db.outcome("SELECT CAST(3000000000 AS int)"),
              "ERROR: Arithmetic overflow error converting expression to data type int.");
    EXPECT_EQ(db.outcome("SELECT CAST(IDNum AS int) + 1 FROM Patient_Data..tbPatient ORDER BY 1"),
              "2400002\n2400003\n2400004");

    // A decimal keeps its scale as text; an int too long is "*" for varchar, an error for nvarchar.
    EXPECT_EQ(db.outcome("SELECT CAST(12.50 AS VARCHAR(10)), CAST(1.5 * 2 AS VARCHAR), CAST(0.5 + 0.25 AS "
                         "VARCHAR), CAST(-12.50 AS NVARCHAR(10)), CAST(123 AS VARCHAR(2))"),
              "12.50|3.0|0.75|-12.50|*");
    EXPECT_EQ(db.outcome("SELECT CAST(12.50 AS VARCHAR(4))"),
              "ERROR: Arithmetic overflow error converting numeric to data type varchar.");
    EXPECT_EQ(db.outcome("SELECT CAST(123 AS NVARCHAR(2))"),
              "ERROR: Arithmetic overflow error converting expression to data type nvarchar.");
    EXPECT_EQ(db.outcome("SELECT CAST(1e5 AS VARCHAR), CAST(1234567e0 AS VARCHAR), CAST(0.00001e0 AS VARCHAR)"),
              "100000|1.23457e+006|1e-005");
}

TEST_F(Fidelity, TextsMeetNumbersAndDatesAsTheServerConvertsThem)
{
    // The text side becomes the number: '02400001' is 2400001.
    EXPECT_EQ(db.outcome("SELECT HospNum FROM Patient_Data..tbPatient WHERE IDNum = 2400001"), "H1");
    EXPECT_EQ(db.outcome("SELECT Code FROM Patient_Data..tbPatientConditions WHERE ID = '1'"), "X");
    EXPECT_EQ(db.outcome("SELECT Code FROM Patient_Data..tbPatientConditions WHERE ID IN ('1', ' 2 ') ORDER BY Code"),
              "<null>\nX\nY");
    db.exec("INSERT INTO Patient_Data.tbPatient (HospNum, IDNum) VALUES ('H9','26000B')");
    EXPECT_EQ(db.outcome("SELECT HospNum FROM Patient_Data..tbPatient WHERE IDNum = 2400001"),
              "ERROR: Conversion failed when converting the varchar value '26000B' to data type int.");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbPatientMedicine WHERE Quantity = '12.50'"), "1");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbPatient WHERE isHemoDialysis = 'TRUE'"), "1");
}

// DATEDIFF, MONTH and YEAR read strings as datetime2: seven decimals, no rounding into the
// next day, years from 1, no 1900-01-01 for an empty string.
TEST_F(Fidelity, DateFunctionsReadStringsAsDatetime2)
{
    EXPECT_EQ(db.outcome("SELECT DATEDIFF(day, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000'), "
                         "DATEDIFF(day, '2024-01-01 23:59:59.999', '2024-01-02'), DATEDIFF(day, '0001-01-01', "
                         "'0001-01-02'), DATEDIFF(day, '2036-03-01', '2036-02-28')"),
              "1|1|1|-2");
    EXPECT_EQ(db.outcome("SELECT MONTH('2007-04-30T01:01:01.1234567 -07:00'), YEAR('2023-12-31 23:59:59.999')"),
              "4|2023");
    EXPECT_EQ(db.outcome("SELECT DATEDIFF(day, '', AdmDate) FROM Patient_Data..tbPatient"),
              "ERROR: Conversion failed when converting date and/or time from character string.");
    EXPECT_EQ(db.outcome("SELECT DATEDIFF(day, '2024-02-30', AdmDate) FROM Patient_Data..tbPatient"),
              "ERROR: Conversion failed when converting date and/or time from character string.");
    EXPECT_EQ(db.outcome("SELECT DATEDIFF(week, AdmDate, DcrDate) FROM Patient_Data..tbPatient"),
              "ERROR: The embedded database cannot translate the T-SQL construct 'DATEDIFF(week, ...)'.");
    EXPECT_EQ(db.outcome("SELECT DATEDIFF(fortnight, AdmDate, DcrDate) FROM Patient_Data..tbPatient"),
              "ERROR: 'fortnight' is not a recognized datediff option.");
    // Compared with a datetime column, a string is still read as datetime, .999 rounding up.
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Patient_Data..tbPatient WHERE AdmDate >= '2024-01-31 23:59:59.999'"),
              "1");
}

// With a Unicode side LIKE counts the text's trailing blanks; with varchar it does not.
TEST_F(Fidelity, UnicodeLikeKeepsTrailingBlanks)
{
    db.exec("INSERT INTO Build_File.tbcoCompany VALUES ('C1','Acme  ')");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Build_File..tbcoCompany WHERE Company LIKE 'acme'"), "2");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Build_File..tbcoCompany WHERE Company LIKE N'acme'"), "1");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Build_File..tbcoCompany WHERE Company NOT LIKE N'acme'"), "1");
    EXPECT_EQ(db.outcome("SELECT COUNT(*) FROM Build_File..tbcoCompany WHERE CAST(Company AS NVARCHAR(20)) LIKE "
                         "'%e'"),
              "1");
    EXPECT_EQ(db.outcome("SELECT CASE WHEN N'abc ' LIKE 'abc' THEN 1 ELSE 0 END, CASE WHEN 'abc ' LIKE 'abc' THEN 1 "
                         "ELSE 0 END"),
              "0|1");
}
