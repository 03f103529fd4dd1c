#include "worklist/filter_dates.h"
#include "worklist/worklist_statement.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantik {
namespace {

std::string build(const WorklistFilter& filter, int sortFlag = 0)
{
    return buildWorklistStatement(filter, sortFlag).toStdString();
}

WorklistFilter noFilter()
{
    WorklistFilter filter;
    filter.top500 = false;
    return filter;
}

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

TEST(WorklistStatement, BareFilterEndsAfterTheJoinsAndTopComesWithItsBlanks)
{
    const std::string bare = build(noFilter());
    EXPECT_THAT(bare, StartsWith("SELECT P.hospnum,P.IdNum,"));
    EXPECT_THAT(bare, EndsWith("ON P.IDNUM=NP.IDNUM  WHERE 1=1 "));

    WorklistFilter top = noFilter();
    top.top500 = true;
    EXPECT_THAT(build(top), StartsWith("SELECT  TOP 500 P.hospnum"));
}

TEST(WorklistStatement, PatientTypeSwitchesTableColumnsDoctorAndSort)
{
    WorklistFilter in = noFilter();
    in.doctorId = "D0001";
    const std::string inText = build(in, 1);
    EXPECT_THAT(inText, HasSubstr("MedicareType,OPDIDNum,'',IsChemo  ,Sex,"));
    EXPECT_THAT(inText, HasSubstr("   DoctorID=AttendingDr1) as Doctor1"));
    EXPECT_THAT(inText, HasSubstr("WHERE SER.ServiceID = P.ServiceID) AS Service   ,AttendingDr1 ,"));
    EXPECT_THAT(inText, HasSubstr("WHERE DoctorID=AdmittingDr) as AdmittingDr FROM Patient_Data..tbPatient AS P  "
                                  "WITH (NOLOCK)     INNER JOIN"));
    EXPECT_THAT(inText, HasSubstr(" AND AttendingDr1 = 'D0001'"));
    EXPECT_THAT(inText, EndsWith(" ORDER BY Service,AttendingDr1,CF4VerifiedBy "));

    WorklistFilter out = in;
    out.outPatient = true;
    const std::string outText = build(out, 1);
    EXPECT_THAT(outText, HasSubstr("MedicareType,'' AS OPDIDNum,HemoNum   ,IsChemo  ,Sex,"));
    EXPECT_THAT(outText, HasSubstr("WHERE SER.ServiceID = P.ServiceID1) AS Service  ,DoctorID1 ,"));
    EXPECT_THAT(outText, HasSubstr("AS [Length Stay] ,'' FROM Patient_Data..tbOutPatient AS P"));
    EXPECT_THAT(outText, HasSubstr(" AND DoctorID1 = 'D0001'"));
    EXPECT_THAT(outText, EndsWith(" ORDER BY Service,DoctorID1,CF4VerifiedBy "));

    // Only the value 1 asks for the sorted order.
    EXPECT_THAT(build(in, 2), Not(HasSubstr("ORDER BY")));
    EXPECT_THAT(build(in, -1), Not(HasSubstr("ORDER BY")));
}

TEST(WorklistStatement, IdNumberSuppressesDatesAndNamesButNotTheOtherFilters)
{
    WorklistFilter filter = noFilter();
    filter.startDate = "11/01/2026";
    filter.endDate = "11/30/2026";
    filter.lastName = "Dela";
    filter.firstName = "Ma";
    filter.hospNum = "H0000001";
    filter.chemo = true;
    filter.discharged = DischargeFilter::No;
    filter.openBy = "CLERK";

    const std::string listed = build(filter);
    EXPECT_THAT(listed, HasSubstr(" AND p.HOSPNUM  = 'H0000001' AND ADMDATE >= '11/01/2026' AND ADMDATE <= "
                                  "'20261201' AND LastName like  'Dela%' AND FirstName like  'Ma%' AND isChemo=1 "
                                  " AND DCRDATE IS NULL  AND NP.CF4OpenBy like '%CLERK%'"));

    filter.idNum = "A0000007";
    const std::string one = build(filter);
    EXPECT_THAT(one, HasSubstr(" AND p.HOSPNUM  = 'H0000001' AND p.IDNum  = 'A0000007' AND isChemo=1 "));
    EXPECT_THAT(one, Not(HasSubstr("ADMDATE >=")));
    EXPECT_THAT(one, Not(HasSubstr("LastName like")));
    EXPECT_THAT(one, HasSubstr(" AND DCRDATE IS NULL "));
    EXPECT_THAT(one, HasSubstr(" AND NP.CF4OpenBy like '%CLERK%'"));

    // Even an end date that is no date does not matter then.
    filter.endDate = "soon";
    EXPECT_NO_THROW(build(filter));
}

TEST(WorklistStatement, DateBoundsUseTheChosenColumnAndTheDayAfterTheEndDate)
{
    WorklistFilter filter = noFilter();
    filter.byDischargeDate = true;
    filter.startDate = "12/01/2026";
    filter.endDate = "12/31/2026";
    EXPECT_THAT(build(filter), EndsWith(" AND DCRDATE >= '12/01/2026' AND DCRDATE <= '20270101'"));

    filter.startDate.clear();
    filter.endDate = "02/28/2024";
    EXPECT_THAT(build(filter), EndsWith("WHERE 1=1  AND DCRDATE <= '20240229'"));

    filter.endDate = "13/45/2026";
    try {
        build(filter);
        FAIL() << "an unreadable end date must not give a statement";
    } catch (const FilterError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"13/45/2026\""));
    }
}

TEST(WorklistStatement, FlagFragmentsAndTheMendedHemoNumberTest)
{
    WorklistFilter filter = noFilter();
    filter.hemoPatient = true;
    filter.hasHemoNum = true;
    filter.medicare = true;
    filter.discharged = DischargeFilter::Yes;
    filter.unverifiedOnly = true;
    filter.verifiedOnly = true;
    // In-patients have no hemodialysis number: the box adds nothing for them.
    EXPECT_THAT(build(filter), EndsWith("WHERE 1=1  AND isHemoDialysis=1  AND MedicareType not in ('', 'nn')  AND "
                                        "DCRDATE IS NOT NULL  AND CF4VerifiedOn IS NULL  AND CF4VerifiedOn IS NOT "
                                        "NULL "));
    filter.outPatient = true;
    EXPECT_THAT(build(filter), HasSubstr(" AND isHemoDialysis=1  AND (HemoNum IS NOT NULL AND HemoNum <> '')  AND "
                                         "MedicareType"));
}

TEST(WorklistStatement, TextsAreUsedAsTypedWithApostrophesDoubled)
{
    WorklistFilter filter = noFilter();
    filter.lastName = " ";
    filter.firstName = "Ma ";
    filter.assignedTo = "O'Neil";
    filter.verifiedBy = "it's";
    filter.changedBy = "a''b";
    filter.hospNum = "H'1";
    const std::string text = build(filter);
    EXPECT_THAT(text, HasSubstr(" AND p.HOSPNUM  = 'H''1'"));
    EXPECT_THAT(text, HasSubstr(" AND LastName like  ' %' AND FirstName like  'Ma %'"));
    EXPECT_THAT(text, HasSubstr(" AND NP.CF4AssignedTo like '%O''Neil%' AND NP.CF4VerifiedBy like '%it''s%' AND "
                                "NP.ChangeBy like '%a''''b%'"));

    filter.idNum = "A'1";
    EXPECT_THAT(build(filter), HasSubstr(" AND p.IDNum  = 'A''1'"));
    filter.idNum.clear();
    // A start date goes in as typed, but only once it reads as a date: an
    // apostrophe never reaches the statement.
    filter.startDate = "1/1/2026' OR '1'='1";
    EXPECT_THROW(build(filter), FilterError);
    filter.startDate = " 1/1/2026 ";
    EXPECT_THAT(build(filter), HasSubstr(" AND ADMDATE >= ' 1/1/2026 '"));
}

TEST(WorklistStatement, OutPatientIdsAreThoseWithAnUpperCaseB)
{
    EXPECT_TRUE(isOutPatientId(u"B0000012"));
    EXPECT_TRUE(isOutPatientId(u"12B"));
    EXPECT_FALSE(isOutPatientId(u"b0000012"));
    EXPECT_FALSE(isOutPatientId(u""));
}

TEST(FilterDates, BothBoundsAreCheckedAndADateBeyondTheDatabasesYearsGetsTheRange)
{
    struct Case {
        DateBound bound;
        const char* text;
        const char* problem; // empty: accepted
    };
    const Case cases[] = {
        {DateBound::Start, "11/01/2026", ""},
        {DateBound::Start, "2026-11-01 08:00", ""},
        {DateBound::Start, "12/31/9999", ""},
        {DateBound::Start, "garbage", "The start date \"garbage\" is not a date; type it as mm/dd/yyyy."},
        {DateBound::Start, "02/30/2026", "The start date \"02/30/2026\" is not a date; type it as mm/dd/yyyy."},
        {DateBound::Start, "01/01/1700",
         "The start date \"01/01/1700\" is out of range; type a date from 01/01/1753 to 12/31/9999."},
        {DateBound::End, "12/30/9999", ""},
        {DateBound::End, "12/31/9999",
         "The end date \"12/31/9999\" is out of range; type a date from 01/01/1753 to 12/30/9999."},
        {DateBound::End, "06/15/1600",
         "The end date \"06/15/1600\" is out of range; type a date from 01/01/1753 to 12/30/9999."},
        {DateBound::End, "13/45/2026", "The end date \"13/45/2026\" is not a date; type it as mm/dd/yyyy."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateBoundProblem(c.bound, c.text), c.problem) << c.text;

    // The statement refuses a start date that is no date, before the end date.
    WorklistFilter filter;
    filter.startDate = "11/31/2026";
    filter.endDate = "soon";
    try {
        buildWorklistStatement(filter, 0);
        FAIL() << "a start date that is no date must not give a statement";
    } catch (const FilterError& error) {
        EXPECT_STREQ(error.what(), "The start date \"11/31/2026\" is not a date; type it as mm/dd/yyyy.");
    }
}

TEST(FilterDates, DateBoxesReadTheDatabaseFormsAndRejectTheRest)
{
    EXPECT_EQ(dateBoxText(QDate(2026, 1, 5)), "01/05/2026");
    EXPECT_EQ(readDateBox("1/5/2026"), QDate(2026, 1, 5));
    EXPECT_EQ(readDateBox("2026-01-05"), QDate(2026, 1, 5));
    EXPECT_EQ(readDateBox(" 01/05/2026 10:30 PM "), QDate(2026, 1, 5));
    EXPECT_EQ(readDateBox("02/30/2026"), std::nullopt);
    EXPECT_EQ(readDateBox(""), std::nullopt);
    EXPECT_EQ(upperDateBound("12/31/9999"), std::nullopt);
    EXPECT_EQ(upperDateBound("11/30/2026"), "20261201");
    EXPECT_EQ(upperDateBound("12/31/2026"), "20270101");
}

} // namespace
} // namespace vantik
