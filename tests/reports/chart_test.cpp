#include "host/data/connection.h"
#include "host/ui/twips.h"
#include "reports/chart_statement.h"
#include "reports/claims_chart_data.h"
#include "reports/frm_chart.h"
#include "reports/install_reports.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QDate>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const QString kSelect = " select CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + CAST(YEAR(A.ClaimDateReceived) "
                        "AS VARCHAR(4))  AS   ReportMonth,status as CNT, count(1) as CNT FROM "
                        "MEDICARE..tbMedElectronicClaimStatus AS A   Where 1 = 1";
const QString kGroup = " GROUP BY  CAST(MONTH(A.ClaimDateReceived) AS VARCHAR(2)) + '-' + "
                       "CAST(YEAR(A.ClaimDateReceived) AS VARCHAR(4)),status  order by ReportMonth asc";

TEST(ChartStatement, DateBoundsAreOptionalAndTheEndDateTakesItsWholeDay)
{
    EXPECT_EQ(buildChartStatement("", ""), kSelect + kGroup);
    EXPECT_EQ(buildChartStatement("01/01/2024", "01/31/2024"),
              kSelect + " AND ClaimDateReceived >= '01/01/2024' AND ClaimDateReceived <= '20240201'" + kGroup);
    EXPECT_EQ(buildChartStatement("", "12/31/2025"), kSelect + " AND ClaimDateReceived <= '20260101'" + kGroup);
    EXPECT_EQ(buildChartStatement("1/1/2024' OR '1'='1", ""),
              kSelect + " AND ClaimDateReceived >= '1/1/2024'' OR ''1''=''1'" + kGroup);
    EXPECT_THROW(buildChartStatement("", "02/30/2024"), ChartDateError);
    EXPECT_THROW(buildChartStatement("", "soon"), ChartDateError);
}

ResultSet chartRows(std::initializer_list<std::array<const char*, 3>> rows)
{
    ResultSet result({"ReportMonth", "CNT", "CNT"}, {SqlType::Text, SqlType::Text, SqlType::Integer});
    for (const auto& row : rows)
        for (const char* cell : row)
            result.appendCell(QString::fromUtf8(cell));
    return result;
}

TEST(ClaimsChartData, MonthsComeInCalendarOrderWithOneSeriesPerStatus)
{
    // As the statement sorts them: month texts in text order.
    const ClaimsChartData data = pivotClaimStatuses(chartRows({
        {"", "DENIED", "1"},
        {"1-2024", "IN PROCESS", "4"},
        {"10-2023", "DENIED", "2"},
        {"10-2023", "IN PROCESS", "3"},
        {"10-2023", "WITH CHEQUE", "5"},
        {"12-2023", "WITH CHEQUE", "7"},
        {"2-2023", "DENIED", "1"},
    }));
    EXPECT_THAT(data.months, ElementsAre("2-2023", "10-2023", "12-2023", "1-2024", ""));
    EXPECT_THAT(data.statuses, ElementsAre("DENIED", "IN PROCESS", "WITH CHEQUE"));
    ASSERT_EQ(data.counts.size(), 3u);
    EXPECT_THAT(data.counts[0], ElementsAre(1, 2, 0, 0, 1));
    EXPECT_THAT(data.counts[1], ElementsAre(0, 3, 0, 4, 0));
    EXPECT_THAT(data.counts[2], ElementsAre(0, 5, 7, 0, 0));

    const ClaimsChartData none = pivotClaimStatuses(chartRows({}));
    EXPECT_TRUE(none.months.isEmpty());
    EXPECT_TRUE(none.counts.empty());
}

class ChartWindowTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        installReports(*window);
    }
    FrmChart* openChart()
    {
        window->mChart->trigger();
        return chartWindow(*window);
    }
};

TEST_F(ChartWindowTest, OpensOnceWithTheKeptDatesAndChartsEveryMonthInOrder)
{
    store("txtStartDate", "");
    store("txtEndDate", "10/31/2026");
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->windowTitle(), "Graph Chart");
    EXPECT_EQ(chart->txtStartDate->text(), "");
    EXPECT_EQ(chart->txtEndDate->text(), "10/31/2026");
    EXPECT_EQ(chart->Text1->text(), "Text1");
    EXPECT_EQ(openChart(), chart);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<FrmChart*>(w); }), 1);

    chart->txtEndDate->clear();
    chart->cmdRefresh->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_EQ(chart->Text1->text(), buildChartStatement("", ""));
    EXPECT_EQ(stored("txtEndDate"), "10/31/2026");
    const ClaimsChartData& data = chart->data();
    ASSERT_EQ(data.months.size(), 24);
    EXPECT_EQ(data.months.front(), "12-2024");
    EXPECT_EQ(data.months.back(), "11-2026");
    QDate month(2024, 12, 1);
    for (const QString& label : data.months) {
        EXPECT_EQ(label, QStringLiteral("%1-%2").arg(month.month()).arg(month.year()));
        month = month.addMonths(1);
    }
    double charted = 0;
    for (const auto& series : data.counts)
        for (double count : series)
            charted += count;
    EXPECT_EQ(QString::number(charted),
              user->sqlconnection().execute("SELECT count(1) FROM MEDICARE..tbMedElectronicClaimStatus").text(0, 0));
}

TEST_F(ChartWindowTest, FailuresAreReportedAndTheLastChartStays)
{
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    chart->txtStartDate->setText("01/01/2026");
    chart->txtEndDate->setText("03/31/2026");
    chart->cmdRefresh->click();
    EXPECT_THAT(chart->data().months, ElementsAre("1-2026", "2-2026", "3-2026"));
    const QString statement = chart->Text1->text();

    chart->txtEndDate->setText("03/32/2026");
    chart->cmdRefresh->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("03/32/2026"));
    EXPECT_EQ(chart->Text1->text(), statement);

    chart->txtEndDate->setText("03/31/2026");
    chart->txtStartDate->setText("someday");
    chart->cmdRefresh->click();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_THAT(chart->data().months, ElementsAre("1-2026", "2-2026", "3-2026"));
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ChartWindowTest, RendersToPngAndFollowsTheWindowWidth)
{
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
    chart->txtStartDate->setText("06/01/2025");
    chart->txtEndDate->setText("11/30/2026");
    chart->cmdRefresh->click();
    ASSERT_EQ(chart->data().months.size(), 18);

    TempDir folder;
    const QString path = folder.path() + "/chart.png";
    ASSERT_TRUE(chart->saveImage(path));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), chart->MSChart1->size() * chart->MSChart1->devicePixelRatio());
    if (const QString keep = qEnvironmentVariable("VANTIK_CHART_PNG"); !keep.isEmpty())
        QImage(path).save(keep);

    const int height = chart->MSChart1->height();
    chart->resize(twipsToPixels(12000), chart->height());
    EXPECT_EQ(chart->MSChart1->width(), twipsToPixels(pixelsToTwips(chart->frameGeometry().width()) - 500));
    EXPECT_EQ(chart->MSChart1->height(), height);
    const int width = chart->MSChart1->width();
    chart->resize(20, chart->height()); // the width would come out negative
    EXPECT_EQ(chart->MSChart1->width(), width);
}

} // namespace
} // namespace vantik::test
