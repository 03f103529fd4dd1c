#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/his_test_db.h"
#include "host/sqlcompat/translator.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

using namespace vantik::sqlcompat;
using namespace vantik::sqlcompat::test;

namespace {

// The worklist query as the main window assembles it, in-patient or out-patient.
std::string worklistQuery(bool outPatient, const std::string& where, const std::string& tail)
{
    std::string s = "SELECT  TOP 500 P.hospnum,P.IdNum,convert(varchar, P.admdate, 0) AS RegDate ,"
                    "convert(varchar, P.dcrdate, 0) AS [Discharge Date] ,"
                    "M.LastName + ', ' + M.FirstName  as [Patient Name], BriefHistory,isHemoDialysis ,NP.CF4Status,"
                    "NP.CF4AssignedTo,NP.CF4OpenBy,convert(varchar, NP.CF4OpenON,0) as 'Open On',"
                    "convert(varchar, NP.CF4VerifiedOn,0) AS VerifiedON,NP.CF4VerifiedBy,MedicareType";
    s += outPatient ? ",'' AS OPDIDNum,HemoNum   " : ",OPDIDNum,''";
    s += ",IsChemo  ,Sex";
    s += ",(SELECT LastName + ', ' + FirstName + '  [' + SPE.Specialization + ']' FROM BUILD_FILE..tbcoDoctor DOC  "
         "WITH (NOLOCK) left outer join Build_FIle..tbCoSpecialization SPE WITH (NOLOCK) ON doc.SpecializationID =  "
         "SPE.SpecializationID  WHERE ";
    if (outPatient)
        s += "   DoctorID=DoctorID1) as Doctor1,(SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH "
             "(NOLOCK) WHERE SER.ServiceID = P.ServiceID1) AS Service  ,DoctorID1 ";
    else
        s += "   DoctorID=AttendingDr1) as Doctor1,(SELECT TOP 1 Service FROM Build_File..tbcoService AS SER WITH "
             "(NOLOCK) WHERE SER.ServiceID = P.ServiceID) AS Service   ,AttendingDr1 ";
    s += ",(case  WHEN P.AccountNum<>P.hospnum then  (SELECT TOP 1 cc.Company from Build_FIle..tbCoCompany CC WITH "
         "(NOLOCK) WHERE CC.AccountNum = P.AccountNum) ELSE   'PERSONAL ' + P.AccountNum END) ACCOUNT ";
    s += ",DATEDIFF(day,admdate,dcrdate) AS [Length Stay] ";
    s += outPatient ? ",''"
                    : ",(SELECT LastName + ', ' + FirstName FROM BUILD_FILE..tbcoDoctor WITH (NOLOCK) WHERE "
                      "DoctorID=AdmittingDr) as AdmittingDr";
    s += std::string(" FROM Patient_Data..") + (outPatient ? "tbOutPatient" : "tbPatient") + " AS P  WITH (NOLOCK)    ";
    s += " INNER JOIN PATIENT_DATA..tbMaster  M  WITH (NOLOCK) ON P.HospNum=M.HospNum LEFT OUTER JOIN "
         "Station..tbNurseProfile NP WITH (NOLOCK) ON P.IDNUM=NP.IDNUM  WHERE 1=1 ";
    return s + where + tail;
}

constexpr std::initializer_list<std::pair<const char*, const char*>> kWorklistTables = {
    {"Patient_Data", "tbPatient"}, {"Patient_Data", "tbOutPatient"}, {"Patient_Data", "tbMaster"},
    {"Station", "tbNurseProfile"}, {"Build_File", "tbcoDoctor"}, {"Build_File", "tbcoSpecialization"},
    {"Build_File", "tbcoService"}, {"Build_File", "tbcoCompany"}};

} // namespace

TEST(TranslatorWorklist, InPatientQueryPreparesWithSqlServerColumnNames)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, kWorklistTables);
    const std::string tsql = worklistQuery(false,
        " AND p.HOSPNUM  = '123' AND ADMDATE >= '01/05/2024' AND ADMDATE <= '1/7/2024' AND LastName like  'Dela%'"
        " AND isHemoDialysis=1  AND isChemo=1  AND MedicareType not in ('', 'nn')  AND DCRDATE IS NULL "
        " AND CF4VerifiedOn IS NULL  AND AttendingDr1 = 'D1' AND NP.CF4AssignedTo like '%ann%'",
        " ORDER BY Service,AttendingDr1,CF4VerifiedBy ");
    const Translation t = translateTsql(tsql, catalog);
    const std::vector<std::string> expected = {"hospnum", "IdNum", "RegDate", "Discharge Date", "Patient Name",
        "BriefHistory", "isHemoDialysis", "CF4Status", "CF4AssignedTo", "CF4OpenBy", "Open On", "VerifiedON",
        "CF4VerifiedBy", "MedicareType", "OPDIDNum", "", "IsChemo", "Sex", "Doctor1", "Service", "AttendingDr1",
        "ACCOUNT", "Length Stay", "AdmittingDr"};
    EXPECT_EQ(t.columnNames, expected);
    EXPECT_TRUE(t.returnsRows);
    ASSERT_EQ(t.columnTypes.size(), expected.size());
    EXPECT_EQ(t.columnTypes[2], SqlType::Text);
    EXPECT_EQ(t.columnTypes[4], SqlType::Text);
    EXPECT_EQ(t.columnTypes[6], SqlType::Bit);
    EXPECT_EQ(t.columnTypes[15], SqlType::Text);
    EXPECT_EQ(t.columnTypes[22], SqlType::Integer);
    // Dates are compared as times, in the storage form; the limit follows the ordering.
    EXPECT_NE(t.sql.find("'2024-01-05 00:00:00.000'"), std::string::npos) << t.sql;
    EXPECT_NE(t.sql.find("'2024-01-07 00:00:00.000'"), std::string::npos) << t.sql;
    EXPECT_EQ(t.sql.rfind(" LIMIT 500"), t.sql.size() - 10) << t.sql;

    std::vector<std::string> engineNames;
    EXPECT_EQ(db.prepareError(tsql, &engineNames), "");
    EXPECT_EQ(engineNames, expected);
}

TEST(TranslatorWorklist, OutPatientQueryNamesItsOwnColumns)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, kWorklistTables);
    const std::string tsql = worklistQuery(true, " AND (HemoNum IS NOT NULL OR HemoNum <> '') ",
                                           " ORDER BY Service,DoctorID1,CF4VerifiedBy ");
    const Translation t = translateTsql(tsql, catalog);
    ASSERT_EQ(t.columnNames.size(), 24u);
    EXPECT_EQ(t.columnNames[14], "OPDIDNum");
    EXPECT_EQ(t.columnNames[15], "HemoNum");
    EXPECT_EQ(t.columnNames[20], "DoctorID1");
    EXPECT_EQ(t.columnNames[23], "");
    EXPECT_EQ(db.prepareError(tsql), "");
}

TEST(TranslatorWorklist, RowsFollowSqlServerComparisonsAndJoins)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, kWorklistTables);
    db.exec("INSERT INTO Patient_Data.tbMaster VALUES ('H1','Cruz','Ana','F'),('H2','Reyes',NULL,'M'),"
            "('H3','abad','Lito','M')");
    db.exec("INSERT INTO Patient_Data.tbPatient (HospNum, IDNum, AdmDate, DcrDate, MedicareType, AccountNum) VALUES "
            "('H1','100','2024-01-05 00:00:00.000','2024-01-08 10:00:00.000','M','H1'),"
            "('H2','101','2024-01-07 00:00:00.000',NULL,'NN','C9'),"
            "('h3 ','102','2024-01-07 00:00:00.001',NULL,' ','H3'),"
            "('H1','103','2024-01-04 23:59:59.997',NULL,NULL,'H1')");
    db.exec("INSERT INTO Station.tbNurseProfile (IDNum, CF4VerifiedBy) VALUES ('100','nurse')");
    db.exec("INSERT INTO Build_File.tbcoCompany VALUES ('C9','Acme')");

    // Upper bound inclusive to the instant, text keys matched without regard to case or trailing blanks.
    const auto range = db.rows("SELECT P.IdNum, M.LastName + ', ' + M.FirstName AS Name, NP.CF4VerifiedBy, "
                               "(case WHEN P.AccountNum<>P.hospnum then (SELECT TOP 1 cc.Company from "
                               "Build_File..tbCoCompany CC WHERE CC.AccountNum = P.AccountNum) ELSE 'PERSONAL ' + "
                               "P.AccountNum END) ACCOUNT "
                               "FROM Patient_Data..tbPatient P INNER JOIN Patient_Data..tbMaster M ON "
                               "P.HospNum=M.HospNum LEFT OUTER JOIN Station..tbNurseProfile NP ON P.IDNUM=NP.IDNUM "
                               "WHERE ADMDATE >= '01/05/2024' AND ADMDATE <= '1/7/2024' ORDER BY P.IdNum");
    EXPECT_EQ(range, (std::vector<std::string>{"100|Cruz, Ana|nurse|PERSONAL H1", "101|<null>|<null>|Acme"}));
    EXPECT_EQ(db.names(), (std::vector<std::string>{"IdNum", "Name", "CF4VerifiedBy", "ACCOUNT"}));

    // NOT IN ('', 'nn') drops 'NN' and the blank, and NULL as on the server.
    EXPECT_EQ(db.rows("SELECT IDNum FROM Patient_Data..tbPatient WHERE MedicareType not in ('', 'nn')"),
              std::vector<std::string>{"100"});
    EXPECT_EQ(db.rows("SELECT IDNum FROM Patient_Data..tbPatient WHERE HospNum = 'H3'"),
              std::vector<std::string>{"102"});
    // An unnamed expression keeps an empty name; a column keeps the spelling of the statement.
    db.rows("SELECT p.HOSPNUM, '' FROM Patient_Data..tbPatient p");
    EXPECT_EQ(db.names(), (std::vector<std::string>{"HOSPNUM", ""}));
}

TEST(TranslatorWorklist, OrderingAndGroupingIgnoreLetterCase)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, {{"Build_File", "tbcoService"}, {"MEDICARE", "tbMedElectronicClaimStatus"}});
    db.exec("INSERT INTO Build_File.tbcoService VALUES ('1','beta'),('2','Alpha'),('3','alpha2'),('4','Beta ')");
    EXPECT_EQ(db.rows("SELECT TOP 3 Service AS S, ServiceID FROM Build_File..tbcoService ORDER BY S, ServiceID DESC"),
              (std::vector<std::string>{"Alpha|2", "alpha2|3", "Beta |4"}));
    db.exec("INSERT INTO MEDICARE.tbMedElectronicClaimStatus VALUES ('2024-01-02 00:00:00.000','Paid'),"
            "('2024-01-03 00:00:00.000','PAID'),('2024-01-04 00:00:00.000','denied')");
    EXPECT_EQ(db.rows("SELECT count(1) AS CNT FROM MEDICARE..tbMedElectronicClaimStatus A GROUP BY status "
                      "ORDER BY CNT DESC"),
              (std::vector<std::string>{"2", "1"}));
}

TEST(TranslatorFunctions, MapsToTheCompatibilityFunctions)
{
    const Catalog catalog = hisCatalog();
    const std::string chart =
        " select CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS VARCHAR(4))"
        "  AS   ReportMonth,status as CNT, count(1) as CNT FROM MEDICARE..tbMedElectronicClaimStatus AS A   Where 1 = 1"
        " AND ClaimDateReceived >= '01/01/2024' AND ClaimDateReceived <= '2/1/2024' GROUP BY  "
        "CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS VARCHAR(4)),status"
        "  order by ReportMonth asc";
    const Translation t = translateTsql(chart, catalog);
    EXPECT_EQ(t.columnNames, (std::vector<std::string>{"ReportMonth", "CNT", "CNT"}));
    EXPECT_EQ(t.columnTypes, (std::vector<SqlType>{SqlType::Text, SqlType::Text, SqlType::Integer}));
    EXPECT_NE(t.sql.find("tsql_month(`A`.`ClaimDateReceived`)"), std::string::npos) << t.sql;
    EXPECT_NE(t.sql.find("'2024-02-01 00:00:00.000'"), std::string::npos) << t.sql;
    EmbeddedDb db(catalog, {{"MEDICARE", "tbMedElectronicClaimStatus"}});
    EXPECT_EQ(db.prepareError(chart), "");

    EXPECT_EQ(translateTsql("SELECT DATEDIFF(day, AdmDate, '1/2/2024') FROM Patient_Data..tbPatient", catalog).sql,
              "SELECT tsql_datediff_day(`AdmDate`, '2024-01-02 00:00:00.000') AS \"\" FROM "
              "`Patient_Data`.`tbPatient`");
    // A datetime as text is style 0, cut for shorter targets; VARCHAR(MAX) is length -1.
    EXPECT_EQ(translateTsql("SELECT CONVERT(varchar(11), AdmDate) X FROM Patient_Data..tbPatient", catalog).sql,
              "SELECT tsql_varchar(tsql_style0(`AdmDate`), 11) AS \"X\" FROM `Patient_Data`.`tbPatient`");
    EXPECT_EQ(translateTsql("SELECT CAST(IDNum AS VARCHAR(MAX)) FROM Patient_Data..tbPatient", catalog).sql,
              "SELECT tsql_varchar(`IDNum`, -1) AS \"\" FROM `Patient_Data`.`tbPatient`");
    // Text and number '+' by kind; undecidable kinds go through tsql_add.
    EXPECT_EQ(translateTsql("SELECT 1 + 2, 'a' + 'b'", catalog).sql, "SELECT 1 + 2 AS \"\", 'a' || 'b' AS \"\"");
    EXPECT_EQ(translateTsql("SELECT NULL + 'x'", catalog).sql, "SELECT tsql_add(NULL, 'x') AS \"\"");
    // A blank date string is the server's zero date.
    EXPECT_NE(translateTsql("SELECT IDNum FROM Patient_Data..tbPatient WHERE AdmDate >= ' '", catalog)
                  .sql.find("'1900-01-01 00:00:00.000'"),
              std::string::npos);
}

TEST(TranslatorFunctions, ChartMonthsGroupAndSortAsText)
{
    const Catalog catalog = hisCatalog();
    EmbeddedDb db(catalog, {{"MEDICARE", "tbMedElectronicClaimStatus"}, {"Patient_Data", "tbPatient"}});
    if (db.hasPlaceholders())
        GTEST_SKIP() << "the compatibility functions are not registered";
    db.exec("INSERT INTO MEDICARE.tbMedElectronicClaimStatus VALUES ('2023-02-10 08:00:00.000','Paid'),"
            "('2023-10-01 00:00:00.000','Paid'),('2024-01-31 23:59:59.997','paid'),('2024-01-05 00:00:00.000','Paid'),"
            "('2024-02-01 00:00:00.000','Denied'),('2024-02-01 00:00:00.003','Denied')");
    const std::string chart =
        " select CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS VARCHAR(4))"
        "  AS   ReportMonth,status as CNT, count(1) as CNT FROM MEDICARE..tbMedElectronicClaimStatus AS A   Where 1 = 1"
        " AND ClaimDateReceived <= '2/1/2024' GROUP BY  "
        "CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) AS VARCHAR(4)),status"
        "  order by ReportMonth asc";
    auto rows = db.rows(chart);
    // Status letter case is one group; the bound takes midnight of the day after, not later.
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(lowerAscii(rows[0]), "1-2024|paid|2");  // either spelling of the group may show
    EXPECT_EQ(rows[1], "10-2023|Paid|1");
    EXPECT_EQ(rows[2], "2-2023|Paid|1");
    EXPECT_EQ(rows[3], "2-2024|Denied|1");

    db.exec("INSERT INTO Patient_Data.tbPatient (IDNum, AdmDate, DcrDate) VALUES "
            "('1','2024-01-05 21:07:00.000','2024-01-06 01:00:00.000'),('2','2024-01-05 00:00:00.000',NULL)");
    EXPECT_EQ(db.rows("SELECT convert(varchar, AdmDate, 0) AS RegDate, DATEDIFF(day,admdate,dcrdate) AS [Length Stay]"
                      " FROM Patient_Data..tbPatient ORDER BY IDNum"),
              (std::vector<std::string>{"Jan  5 2024  9:07PM|1", "Jan  5 2024 12:00AM|<null>"}));
}

TEST(TranslatorErrors, ReportsWhatSqlServerWouldReport)
{
    const Catalog catalog = hisCatalog();
    const std::string from = " FROM Patient_Data..tbPatient";
    EXPECT_EQ(translationError("SELECT IDNum" + from + " WHERE AdmDate >= 'yesterday'", catalog),
              "Conversion failed when converting date and/or time from character string.");
    EXPECT_EQ(translationError("SELECT IDNum" + from + " WHERE AdmDate <= '02/30/2024'", catalog),
              "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.");
    // An identifier holding a quote, inserted unescaped, leaves a string open.
    EXPECT_EQ(translationError("SELECT count(1) FROM STATION..tbCourseWard WHERE  IDNum='O'Brien'", catalog),
              "Unclosed quotation mark after the character string ''.");
    EXPECT_EQ(translationError("SELECT Nope" + from, catalog), "Invalid column name 'Nope'.");
    EXPECT_EQ(translationError("SELECT X.IDNum" + from + " P", catalog),
              "The multi-part identifier \"X.IDNum\" could not be bound.");
    EXPECT_EQ(translationError("SELECT HospNum FROM Patient_Data..tbPatient P INNER JOIN Patient_Data..tbMaster M "
                               "ON P.HospNum = M.HospNum",
                               catalog),
              "Ambiguous column name 'HospNum'.");
    EXPECT_EQ(translationError("SELECT 1 FROM Patient_Data..tbNothing", catalog),
              "Invalid object name 'Patient_Data..tbNothing'.");
    EXPECT_EQ(translationError("SELECT 1 FROM Pharmacy..tbDrug", catalog),
              "Database 'Pharmacy' does not exist. Make sure that the name is entered correctly.");
    EXPECT_EQ(translationError("SELECT (SELECT HospNum, IDNum FROM Patient_Data..tbPatient)", catalog),
              "Only one expression can be specified in the select list when the subquery is not introduced with "
              "EXISTS.");
    EXPECT_EQ(translationError("SELECT IDNum FROM Patient_Data..tbPatient WHERE", catalog),
              "Incorrect syntax near the end of the statement.");
}

TEST(TranslatorErrors, RefusesConstructsOutsideTheSubset)
{
    const Catalog catalog = hisCatalog();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"UPDATE Patient_Data..tbPatient SET IDNum = '1'", "UPDATE"},
        {"SELECT DISTINCT IDNum FROM Patient_Data..tbPatient", "DISTINCT"},
        {"SELECT IDNum FROM Patient_Data..tbPatient UNION SELECT IDNum FROM Patient_Data..tbOutPatient", "UNION"},
        {"SELECT IDNum FROM tbPatient", "table name without its database (tbPatient)"},
        {"SELECT IDNum FROM Patient_Data..tbPatient WITH (UPDLOCK)", "table hint UPDLOCK"},
        {"SELECT P.IDNum FROM Patient_Data..tbPatient P RIGHT JOIN Patient_Data..tbMaster M ON 1=1", "RIGHT JOIN"},
        {"SELECT GETDATE()", "GETDATE()"},
        {"SELECT CONVERT(varchar, AdmDate, 101) FROM Patient_Data..tbPatient", "CONVERT style 101"},
        {"SELECT CAST(IDNum AS bigint) FROM Patient_Data..tbPatient", "CAST AS bigint"},
        {"SELECT DATEDIFF(month, AdmDate, DcrDate) FROM Patient_Data..tbPatient", "DATEDIFF(month, ...)"},
        {"SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum = @id", "@variable"},
        {"SELECT 1 / 0", "/"},
        {"SELECT 'Name' = IDNum FROM Patient_Data..tbPatient", "alias = expression"},
        {"SELECT AdmDate + 1 FROM Patient_Data..tbPatient", "datetime arithmetic"},
        {"SELECT count(1) FROM Patient_Data..tbPatient GROUP BY IDNum HAVING count(1) > 1", "HAVING"},
        {"SELECT IDNum FROM Patient_Data..tbPatient WHERE IDNum = ANY (SELECT HospNum FROM Patient_Data..tbMaster)",
         "ANY subquery comparison"},
        {"SELECT X.IDNum FROM (SELECT IDNum FROM Patient_Data..tbPatient) X", "subquery in FROM"},
    };
    for (const auto& [tsql, construct] : cases) {
        EXPECT_EQ(translationError(tsql, catalog),
                  "The embedded database cannot translate the T-SQL construct '" + construct + "'.")
            << tsql;
    }
}

TEST(TranslatorSyntax, ReadsTheDialectsLexicalForms)
{
    const Catalog catalog = hisCatalog();
    const Translation t = translateTsql("/* worklist */ SELECT N'O''Brien' AS [a]]b], \"IDNum\" -- id\n"
                                        "FROM Patient_Data.dbo.tbPatient WITH (NOLOCK, READUNCOMMITTED);",
                                        catalog);
    EXPECT_EQ(t.sql, "SELECT 'O''Brien' AS \"a]b\", `IDNum` AS \"IDNum\" FROM `Patient_Data`.`tbPatient`");
    EXPECT_EQ(t.columnNames, (std::vector<std::string>{"a]b", "IDNum"}));
    EXPECT_EQ(translationError("SELECT 1 /* open", catalog), "Missing end comment mark '*/'.");
    EXPECT_EQ(translationError("SELECT 1 FROM Patient_Data..tbPatient;;", catalog), "Incorrect syntax near ';'.");
}

TEST(TranslatorCatalog, WithoutCatalogLeavesStarNamesToTheEngine)
{
    const Catalog empty;
    const Translation star = translateTsql("SELECT * FROM Patient_Data..tbPatientConditions", empty);
    EXPECT_EQ(star.sql, "SELECT `tbPatientConditions`.* FROM `Patient_Data`.`tbPatientConditions`");
    EXPECT_TRUE(star.columnNames.empty());
    const Translation plain = translateTsql("SELECT Code + Result AS CR FROM Patient_Data..tbPatientConditions", empty);
    EXPECT_EQ(plain.columnTypes, std::vector<SqlType>{SqlType::Unknown});
    EXPECT_NE(plain.sql.find("tsql_add(`Code`, `Result`)"), std::string::npos);

    // With a catalog the star becomes the declared columns, in order.
    const Catalog catalog = hisCatalog();
    const Translation known = translateTsql(
        "SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE  IDNum='1' AND AreaCat='PhysicalExam' ", catalog);
    EXPECT_EQ(known.columnNames, (std::vector<std::string>{"ID", "IDNum", "AreaCat", "AreaSubCat", "Description",
                                                           "Code", "Result", "Remarks"}));
    EXPECT_EQ(known.columnTypes.front(), SqlType::Integer);
}

TEST(TranslatorSingleTable, DescribesTheRecordsetsStatements)
{
    const std::string gu = "SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE  IDNum='100' AND "
                           "AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND Description='OTHERS' ";
    const SingleTableSelect a = analyzeSingleTableSelect(gu);
    EXPECT_EQ(a.schema, "PATIENT_DATA");
    EXPECT_EQ(a.table, "tbPatientConditions");
    EXPECT_EQ(a.alias, "");
    EXPECT_TRUE(a.selectStar);
    EXPECT_EQ(gu.substr(0, a.selectListEnd), "SELECT *");

    const std::string drugs = "select IDNum,GenericName,Quantity,Dosage,Route,UnitCode,TotalAmount from "
                              "PATIENT_DATA..tbPatientMedicine WITH (NOLOCK)  WHERE IDNUM='100'";
    const SingleTableSelect b = analyzeSingleTableSelect(drugs);
    EXPECT_FALSE(b.selectStar);
    EXPECT_EQ(b.table, "tbPatientMedicine");
    EXPECT_EQ(drugs.substr(b.selectListEnd, 5), " from");

    EXPECT_EQ(analyzeSingleTableSelect("SELECT C.Code FROM Patient_Data.dbo.tbPatientConditions AS C").alias, "C");
    EXPECT_THROW(analyzeSingleTableSelect("SELECT P.IDNum FROM Patient_Data..tbPatient P INNER JOIN "
                                          "Patient_Data..tbMaster M ON P.HospNum = M.HospNum"),
                 TranslationError);
    EXPECT_THROW(analyzeSingleTableSelect("SELECT 1"), TranslationError);
    EXPECT_THROW(analyzeSingleTableSelect("SELECT count(1) FROM STATION..tbCourseWard WHERE  IDNum='1'"), TranslationError);
    EXPECT_THROW(analyzeSingleTableSelect("SELECT IDNum, max(ID) FROM Station..tbCourseWard GROUP BY IDNum"), TranslationError);
    EXPECT_THROW(analyzeSingleTableSelect("DELETE FROM Patient_Data..tbPatient"), TranslationError);
}
