// The list of constructs in src/host/sqlcompat/README.md is a promise to support staff:
// every row of it runs here, and a row without a statement fails the test.

#include "host/sqlcompat/his_test_db.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace vantik::sqlcompat;
using namespace vantik::sqlcompat::test;

namespace {

struct Example {
    std::string statement;
    std::string outcome;
};

// First cell of every row of the README's "What is translated" table.
std::vector<std::string> listedConstructs()
{
    std::ifstream in(std::string(VANTIK_SOURCE_DIR) + "/src/host/sqlcompat/README.md");
    std::vector<std::string> rows;
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            inSection = line == "## What is translated";
            continue;
        }
        if (!inSection || line.rfind("| ", 0) != 0 || line.rfind("| T-SQL |", 0) == 0)
            continue;
        rows.push_back(line.substr(2, line.find(" | ", 2) - 2));
    }
    return rows;
}

const std::map<std::string, std::vector<Example>>& examples()
{
    static const std::map<std::string, std::vector<Example>> table = {
        {"select list: expressions, `*`, `T.*`, aliases `AS a`, `a`, `'a'`, `[a]`",
         {{"SELECT TOP 1 * FROM Build_File..tbcoService", "S1|Surgery"},
          {"SELECT S.* FROM Build_File..tbcoService S WHERE ServiceID = 'S2'", "S2|medicine"},
          {"SELECT ServiceID AS a, Service b, 1 'c', 2 [d e] FROM Build_File..tbcoService WHERE ServiceID = 'S1'",
           "S1|Surgery|1|2"}}},
        {"`TOP n`, `TOP (n)`, also in subqueries",
         {{"SELECT TOP (1) Service FROM Build_File..tbcoService ORDER BY Service DESC", "Surgery"},
          {"SELECT (SELECT TOP 1 Service FROM Build_File..tbcoService ORDER BY Service)", "medicine"}}},
        {"`Db..table`, `Db.dbo.table` in any letter case, table aliases, `WITH (NOLOCK)`",
         {{"SELECT count(*) FROM BUILD_FILE.dbo.TBCOSERVICE AS s WITH (NOLOCK)", "2"}}},
        {"`INNER JOIN`, `JOIN`, `LEFT [OUTER] JOIN ... ON`",
         {{"SELECT P.IDNum, M.LastName, C.Company FROM Patient_Data..tbPatient P JOIN Patient_Data..tbMaster M ON "
           "P.HospNum = M.HospNum LEFT OUTER JOIN Build_File..tbcoCompany C ON C.AccountNum = P.AccountNum "
           "ORDER BY P.IDNum",
           "1|Cruz|<null>\n2|Reyes|Acme"}}},
        {"comma-separated FROM list",
         {{"SELECT count(*) FROM Patient_Data..tbPatient P, Build_File..tbcoService S", "4"}}},
        {"scalar subqueries (correlated too), `EXISTS (...)`",
         {{"SELECT IDNum, (SELECT TOP 1 LastName FROM Patient_Data..tbMaster M WHERE M.HospNum = P.HospNum) FROM "
           "Patient_Data..tbPatient P WHERE EXISTS (SELECT 1 FROM Build_File..tbcoCompany C WHERE C.AccountNum = "
           "P.AccountNum)",
           "2|Reyes"}}},
        {"`[NOT] IN (subquery)`",
         {{"SELECT IDNum FROM Patient_Data..tbPatient WHERE HospNum NOT IN (SELECT HospNum FROM "
           "Patient_Data..tbMaster WHERE LastName = 'cruz')",
           "2"}}},
        {"`=`, `<>`, `!=`, `<`, `>`, `<=`, `>=`",
         {{"SELECT count(*) FROM Patient_Data..tbMaster WHERE LastName = 'CRUZ ' AND LastName <> 'x' AND LastName "
           "!= 'y' AND LastName < 'd' AND LastName > 'a' AND LastName <= 'cruz' AND LastName >= 'CRUZ'",
           "1"}}},
        {"`[NOT] IN (list)`, `[NOT] BETWEEN`",
         {{"SELECT count(*) FROM Patient_Data..tbMaster WHERE LastName IN ('reyes', 'x') AND LastName NOT IN ('y') "
           "AND LastName BETWEEN 'R' AND 'S' AND LastName NOT BETWEEN 'a' AND 'b'",
           "1"}}},
        {"a string literal compared with a datetime column",
         {{"SELECT IDNum FROM Patient_Data..tbPatient WHERE AdmDate >= '01/05/2024' AND AdmDate < 'Jan 6 2024'",
           "1"}}},
        {"a text compared with a number or a bit",
         {{"SELECT count(*) FROM Patient_Data..tbPatient WHERE IDNum = 2 AND isHemoDialysis = 'true'", "1"}}},
        {"`[NOT] LIKE ... [ESCAPE ...]`",
         {{"SELECT LastName FROM Patient_Data..tbMaster WHERE LastName LIKE 'c[a-u]%' AND LastName NOT LIKE "
           "'%!_%' ESCAPE '!' AND LastName LIKE N'%z'",
           "Cruz"}}},
        {"`IS [NOT] NULL`, `AND`, `OR`, `NOT`",
         {{"SELECT IDNum FROM Patient_Data..tbPatient WHERE DcrDate IS NULL OR NOT (IDNum = '1' AND DcrDate IS NOT "
           "NULL)",
           "2"}}},
        {"`CASE` (simple and searched)",
         {{"SELECT CASE Sex WHEN 'm' THEN 'male' ELSE 'other' END, CASE WHEN LastName LIKE 'c%' THEN 1 END FROM "
           "Patient_Data..tbMaster ORDER BY LastName",
           "male|1\nmale|<null>"}}},
        {"`a + b`",
         {{"SELECT LastName + ', ' + FirstName, 1 + 2, NULL + 'x' FROM Patient_Data..tbMaster WHERE HospNum = 'H1'",
           "Cruz, Ana|3|<null>"}}},
        {"`a - b`, `a * b`, unary minus",
         {{"SELECT 7 - 2 * 3, -(2 - 5)", "1|3"}, {"SELECT 2147483647 * 2", "ERROR: Arithmetic overflow error "
                                                                       "converting expression to data type int."}}},
        {"numbers `12`, `12.50`, `.5`, `1e5`; `'text'`, `N'text'`",
         {{"SELECT 12, 12.50, .5, 1e5, 'text', N'text'", "12|12.5|0.5|100000.0|text|text"}}},
        {"`CONVERT(varchar[(n)], x[, 0 or 100 or NULL])`, `CAST(x AS [n]varchar[(n)])`",
         {{"SELECT CONVERT(varchar, AdmDate, 0), CONVERT(varchar(11), AdmDate, 100), CONVERT(varchar, AdmDate, NULL), "
           "CAST(12.50 AS varchar(5)), CAST(LastName AS nvarchar(2)) FROM Patient_Data..tbPatient P JOIN "
           "Patient_Data..tbMaster M ON M.HospNum = P.HospNum WHERE IDNum = '1'",
           "Jan  5 2024  9:07AM|Jan  5 2024|<null>|12.50|Cr"}}},
        {"`CAST(x AS datetime)`, `CONVERT(datetime, x)`",
         {{"SELECT count(*) FROM Patient_Data..tbPatient WHERE AdmDate >= CAST('1/5/2024' AS datetime) AND "
           "DcrDate <= CONVERT(datetime, '2024-01-08 10:00')",
           "1"}}},
        {"`CAST(x AS int)`, `CONVERT(int, x)`", {{"SELECT CAST(' 42 ' AS int) + CONVERT(int, 1.9)", "43"}}},
        {"`DATEDIFF(day, a, b)`, `MONTH(x)`, `YEAR(x)`",
         {{"SELECT DATEDIFF(day, AdmDate, DcrDate), MONTH(AdmDate), YEAR(AdmDate) FROM Patient_Data..tbPatient "
           "WHERE IDNum = '1'",
           "3|1|2024"}}},
        {"`COUNT(*)`, `COUNT(x)`, `COUNT(DISTINCT x)`",
         {{"SELECT COUNT(*), COUNT(FirstName), COUNT(DISTINCT Sex) FROM Patient_Data..tbMaster", "2|1|1"}}},
        {"`SUM`, `AVG`, `[DISTINCT]`",
         {{"SELECT SUM(ID), AVG(ID), SUM(DISTINCT ID), SUM(Quantity) FROM Patient_Data..tbPatientConditions C "
           "JOIN Patient_Data..tbPatientMedicine M ON M.IDNum = C.IDNum",
           "4|2|4|5.0"}}},
        {"`MIN`, `MAX`", {{"SELECT MIN(Service), MAX(Service) FROM Build_File..tbcoService", "medicine|Surgery"}}},
        {"`GROUP BY`",
         {{"SELECT count(*) FROM Patient_Data..tbMaster GROUP BY Sex", "2"}}},
        {"`ORDER BY` result names, positions, expressions, `ASC`, `DESC`",
         {{"SELECT Service AS S, ServiceID FROM Build_File..tbcoService ORDER BY S ASC", "medicine|S2\nSurgery|S1"},
          {"SELECT Service, ServiceID FROM Build_File..tbcoService ORDER BY 2 DESC", "medicine|S2\nSurgery|S1"},
          {"SELECT ServiceID FROM Build_File..tbcoService ORDER BY Service + ServiceID", "S2\nS1"}}},
        {"`--` and nested `/* */` comments, `[bracketed]` and `\"quoted\"` names",
         {{"SELECT [Service], \"ServiceID\" /* a /* nested */ comment */ FROM Build_File..tbcoService -- end\n"
           "WHERE ServiceID = 'S1'",
           "Surgery|S1"}}},
    };
    return table;
}

} // namespace

TEST(ReadmeConstructs, EveryListedConstructRuns)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, kAllHisTables);
    db.exec("INSERT INTO Build_File.tbcoService VALUES ('S1','Surgery'),('S2','medicine')");
    db.exec("INSERT INTO Patient_Data.tbMaster VALUES ('H1','Cruz','Ana','M'),('H2','Reyes',NULL,'m ')");
    db.exec("INSERT INTO Patient_Data.tbPatient (HospNum, IDNum, AdmDate, DcrDate, AccountNum, isHemoDialysis) "
            "VALUES ('H1','1','2024-01-05 09:07:00.000','2024-01-08 10:00:00.000','H1',0),"
            "('H2','2','2024-01-07 00:00:00.000',NULL,'C9',1)");
    db.exec("INSERT INTO Build_File.tbcoCompany VALUES ('C9','Acme')");
    db.exec("INSERT INTO Patient_Data.tbPatientConditions (ID, IDNum) VALUES (1,'1'),(3,'2')");
    db.exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, Quantity) VALUES ('1', 2.5),('2', 2.5)");

    const std::vector<std::string> listed = listedConstructs();
    ASSERT_GT(listed.size(), 20u) << "the README's table was not found";
    std::set<std::string> seen;
    for (const std::string& construct : listed) {
        seen.insert(construct);
        const auto found = examples().find(construct);
        if (found == examples().end()) {
            ADD_FAILURE() << "no statement runs the listed construct: " << construct;
            continue;
        }
        for (const Example& example : found->second)
            EXPECT_EQ(db.outcome(example.statement), example.outcome) << construct << "\n" << example.statement;
    }
    for (const auto& [construct, statements] : examples())
        EXPECT_TRUE(seen.count(construct)) << "the README no longer lists: " << construct;
}
