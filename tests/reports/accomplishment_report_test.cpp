#include "reports/accomplishment_report.h"
#include "support/qt_printers.h"

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(AccomplishmentReportRows, GroupsConsecutiveRowsByServiceAndDoctor)
{
    EXPECT_THAT(accomplishmentReportRows({}), IsEmpty());

    // Rows without a service come first and get no heading; rows without a
    // doctor count into no doctor row; any verifier text is Complete.
    EXPECT_THAT(accomplishmentReportRows({
                    {"", "Cruz, Ana", "x"},
                    {"", "Cruz, Ana", ""},
                    {"Medicine", "", "nurse1"},
                    {"Medicine", "Dela Cruz, Jose", "nurse1"},
                    {"Medicine", "Dela Cruz, Jose", " "},
                    {"Medicine", "Dela Cruz, Jose", ""},
                    {"Medicine", "Reyes, Luz", ""},
                    {"Surgery", "Reyes, Luz", "nurse2"},
                    {"Surgery", "Reyes, Luz", "nurse2"},
                    {"Surgery", "", ""},
                }),
                ElementsAre("\tCruz, Ana\t1\t1", " Medicine", "\tDela Cruz, Jose\t2\t1", "\tReyes, Luz\t0\t1",
                            " Surgery", "\tReyes, Luz\t2\t0"));

    // One doctor in two runs under one service stands in two rows; texts compare
    // exactly (case and blanks count).
    EXPECT_THAT(accomplishmentReportRows({
                    {"OB", "Santos, M", "v"},
                    {"OB", "Lim, K", "v"},
                    {"OB", "Santos, M", ""},
                    {"OB", "santos, M", ""},
                    {"OB ", "santos, M", ""},
                }),
                ElementsAre(" OB", "\tSantos, M\t1\t0", "\tLim, K\t1\t0", "\tSantos, M\t0\t1", "\tsantos, M\t0\t1",
                            " OB ", "\tsantos, M\t0\t1"));

    // Out-patients in the admitting-doctor report: headings only.
    EXPECT_THAT(accomplishmentReportRows({{"OPD", "", "v"}, {"ER", "", ""}}), ElementsAre(" OPD", " ER"));
}

TEST(AccomplishmentReportRows, CountsBeyondSixteenBits)
{
    const std::vector<ReportSourceRow> rows(40000, ReportSourceRow{"Medicine", "Dela Cruz, Jose", "v"});
    EXPECT_THAT(accomplishmentReportRows(rows), ElementsAre(" Medicine", "\tDela Cruz, Jose\t40000\t0"));
}

} // namespace
} // namespace vantik::test
