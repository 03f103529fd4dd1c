#include "claimwork/claim_work_statements.h"

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

} // namespace
} // namespace vantik::claimwork
