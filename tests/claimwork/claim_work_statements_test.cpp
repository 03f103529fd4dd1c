#include "claimwork/claim_work_statements.h"
#include "host/data/connection.h"
#include "support/demo_db.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace vantik::claimwork {
namespace {

TEST(ClaimWorkStatementsTest, StatementsKeepTheirTextsAndQuoteTheIdentifier)
{
    EXPECT_EQ(heightWeightStatement("24B00007"), " SELECT Height,Weight   FROM Patient_Data..tbOutPatientHistory WITH "
                                                 "(NOLOCK) WHERE IDNum = '24B00007'  ");
    EXPECT_EQ(heightWeightStatement("24b00007"), " SELECT Height,Weight  FROM  Patient_Data..tbPatientHistory  WITH "
                                                 "(NOLOCK) WHERE    IDNum = '24b00007'  ");
    EXPECT_EQ(courseCountStatement("O'N1"), "SELECT count(1) FROM STATION..tbCourseWard WHERE  IDNum='O''N1'");
    EXPECT_EQ(guEntryStatement("T1' OR '1'='1"),
              "SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE  IDNum='T1'' OR ''1''=''1' AND "
              "AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND Description='OTHERS' ");
    EXPECT_TRUE(heightWeightStatement("O'B1").contains("IDNum = 'O''B1'"));
}

TEST(ClaimWorkStatementsTest, HeightAndWeightColourTheCellByTheFirstRecord)
{
    EXPECT_EQ(heightWeightColor(false, "150", "50"), kOleYellow);
    EXPECT_EQ(heightWeightColor(true, "150", ""), kOleRed);
    EXPECT_EQ(heightWeightColor(true, "  ", "50"), kOleRed);
    EXPECT_EQ(heightWeightColor(true, " 150 ", "50"), kOleGreen);
}

TEST(ClaimWorkStatementsTest, GuMarkingComparesTheCellsExactly)
{
    EXPECT_TRUE(qualifiesForGuMarking(GuMarking::NotApplicable, "M", "", ""));
    for (const char* sex : {"m", "Male", "F", ""})
        EXPECT_FALSE(qualifiesForGuMarking(GuMarking::NotApplicable, sex, "True", "True")) << sex;

    EXPECT_TRUE(qualifiesForGuMarking(GuMarking::NotAssessed, "F", "True", "False"));
    EXPECT_TRUE(qualifiesForGuMarking(GuMarking::NotAssessed, "F", "", "True"));
    EXPECT_FALSE(qualifiesForGuMarking(GuMarking::NotAssessed, "F", "true", "1"));
    EXPECT_FALSE(qualifiesForGuMarking(GuMarking::NotAssessed, "M", "True", "True"));

    EXPECT_EQ(guRemark(GuMarking::NotApplicable), "Not Applicable");
    EXPECT_EQ(guRemark(GuMarking::NotAssessed), "Not Assessed");
}

TEST(ClaimWorkStatementsTest, TheDemosBitsQualifyForTheMarkingThroughOdbcAsOnTheEmbeddedEngine)
{
    // SQL Server's path: the ODBC driver. Its bits read 1/0 would never equal
    // "True", and "Not Assessed" would mark nobody, silently.
    QFile ini(QStringLiteral("/etc/odbcinst.ini"));
    if (!ini.open(QIODevice::ReadOnly) || !ini.readAll().contains("[SQLite3]"))
        GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    const QString folder = test::sharedDemoDb();
    const auto odbc = Connection::openOdbc(
        QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(QDir(folder).filePath("Patient_Data.sqlite")));
    const auto embedded = Connection::openEmbedded(folder);
    const ResultSet onEmbedded = embedded->execute("SELECT M.Sex, P.IsChemo, P.isHemoDialysis FROM "
                                                   "Patient_Data..tbPatient P JOIN Patient_Data..tbMaster M ON "
                                                   "M.HospNum = P.HospNum ORDER BY P.IDNum");
    // The demo's text columns carry a collation only the embedded engine knows:
    // through the SQLite driver they are compared byte for byte.
    const ResultSet throughOdbc = odbc->execute("SELECT M.Sex, P.IsChemo, P.isHemoDialysis FROM tbPatient P JOIN "
                                                "tbMaster M ON M.HospNum = P.HospNum COLLATE BINARY ORDER BY "
                                                "P.IDNum COLLATE BINARY");
    ASSERT_EQ(throughOdbc.rowCount(), onEmbedded.rowCount());
    int qualifying = 0;
    for (int row = 0; row < throughOdbc.rowCount(); ++row) {
        for (int column = 1; column <= 2; ++column)
            ASSERT_EQ(throughOdbc.text(row, column), onEmbedded.text(row, column)) << "row " << row;
        qualifying += qualifiesForGuMarking(GuMarking::NotAssessed, throughOdbc.text(row, 0), throughOdbc.text(row, 1),
                                            throughOdbc.text(row, 2));
    }
    EXPECT_GT(qualifying, 0);
}

} // namespace
} // namespace vantik::claimwork
