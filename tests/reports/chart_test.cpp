#include "host/data/connection.h"
#include "host/ui/twips.h"
#include "reports/chart_image.h"
#include "reports/chart_statement.h"
#include "reports/claims_chart_plot.h"
#include "reports/claims_chart_data.h"
#include "reports/frm_chart.h"
#include "reports/install_reports.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QDate>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QSpinBox>
#include <QTimer>
#include <QValueAxis>
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
    EXPECT_EQ(buildChartStatement("1/1/2024", ""), kSelect + " AND ClaimDateReceived >= '1/1/2024'" + kGroup);
    EXPECT_THROW(buildChartStatement("1/1/2024' OR '1'='1", ""), ChartDateError);
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

TEST(ClaimsChartAxis, TicksAreWholeNumbersAtAnyScale)
{
    const auto ticks = [](double highest) {
        const CountAxis axis = countAxis(highest);
        return std::make_pair(axis.top, axis.step);
    };
    EXPECT_EQ(ticks(0), std::make_pair(1, 1));
    EXPECT_EQ(ticks(1), std::make_pair(1, 1));
    EXPECT_EQ(ticks(3), std::make_pair(3, 1));
    EXPECT_EQ(ticks(8), std::make_pair(8, 1));
    EXPECT_EQ(ticks(9), std::make_pair(10, 2));
    EXPECT_EQ(ticks(37), std::make_pair(40, 5));
    EXPECT_EQ(ticks(1234), std::make_pair(1400, 200));
    EXPECT_EQ(countAxis(800, 4).step, 200);
    EXPECT_EQ(countAxis(800, 1).top, 1000);
    for (double highest : {2.0, 13.0, 99.0, 101.0, 5555.0, 123456.0}) {
        const CountAxis axis = countAxis(highest);
        EXPECT_GE(axis.top, highest);
        EXPECT_EQ(axis.top % axis.step, 0);
        EXPECT_LE(axis.top / axis.step, 10) << highest;
    }
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

TEST_F(ChartWindowTest, ARangeWithoutClaimsSaysSoOverAnAxisOfWholeNumbers)
{
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    chart->txtStartDate->setText("01/01/2020");
    chart->txtEndDate->setText("01/31/2020");
    chart->cmdRefresh->click();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(chart->data().months.isEmpty());
    EXPECT_EQ(chart->chart()->emptyText(), "No claims received from 01/01/2020 to 01/31/2020.");
    const auto axes = chart->chart()->axes(Qt::Vertical);
    ASSERT_EQ(axes.size(), 1);
    const auto* counts = qobject_cast<QValueAxis*>(axes[0]);
    ASSERT_NE(counts, nullptr);
    EXPECT_EQ(counts->tickType(), QValueAxis::TicksDynamic);
    EXPECT_EQ(counts->min(), 0);
    EXPECT_EQ(counts->max(), 1);
    EXPECT_EQ(counts->tickInterval(), 1);
    if (const QString keep = qEnvironmentVariable("VANTIK_EMPTY_CHART_PNG"); !keep.isEmpty()) {
        chart->show();
        QTest::qWaitForWindowExposed(chart);
        chart->grab().save(keep);
    }

    // Claims again: the hint goes, the axis steps stay whole.
    chart->txtStartDate->setText("01/01/2026");
    chart->txtEndDate->setText("11/30/2026");
    chart->cmdRefresh->click();
    EXPECT_EQ(chart->chart()->emptyText(), "");
    const auto* busy = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(busy, nullptr);
    EXPECT_EQ(busy->tickInterval(), std::round(busy->tickInterval()));
    EXPECT_GE(busy->tickInterval(), 1);
    EXPECT_EQ(std::fmod(busy->max(), busy->tickInterval()), 0);
}

// A label closer to the next than its own height is drawn as "…"; the window's plot
// is short, so it gets fewer ticks than the default.
TEST_F(ChartWindowTest, TheShortPlotOnScreenGetsTicksItsLabelsFitBetween)
{
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    chart->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
    chart->txtStartDate->setText("01/01/2026");
    chart->txtEndDate->setText("11/30/2026");
    chart->cmdRefresh->click();
    QApplication::processEvents();
    const auto* counts = qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(counts, nullptr);
    const double gaps = counts->max() / counts->tickInterval();
    const double spacing = chart->chart()->plotArea().height() / gaps;
    EXPECT_GE(spacing, QFontMetricsF(counts->labelsFont()).height()) << gaps << " gaps";
    EXPECT_GE(gaps, 1);
    EXPECT_EQ(std::fmod(counts->max(), counts->tickInterval()), 0);
}

TEST_F(ChartWindowTest, SaveImageAsksForTheSizeFirst)
{
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    // The size dialog comes up with 1600 by 900; cancelling it asks nothing more.
    QSize offered;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        offered = QSize(dialog->findChild<QSpinBox*>("txtImageWidth")->value(),
                        dialog->findChild<QSpinBox*>("txtImageHeight")->value());
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    chart->mSaveImage->trigger();
    EXPECT_EQ(offered, QSize(1600, 900));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(ChartWindowTest, RendersToImagesAndFollowsTheWindowWidth)
{
    FrmChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
    chart->txtStartDate->setText("06/01/2025");
    chart->txtEndDate->setText("11/30/2026");
    chart->cmdRefresh->click();
    ASSERT_EQ(chart->data().months.size(), 18);

    // Saved at the size asked for, whatever the window's, with title and range.
    TempDir folder;
    const QString path = folder.path() + "/chart.png";
    chart->saveImage(path, QSize(1600, 900));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1600, 900));
    if (const QString keep = qEnvironmentVariable("VANTIK_CHART_PNG"); !keep.isEmpty())
        QImage(path).save(keep);
    chart->saveImage(folder.path() + "/small.png", QSize(640, 360));
    EXPECT_EQ(QImage(folder.path() + "/small.png").size(), QSize(640, 360));

    const QString svg = folder.path() + "/chart.svg";
    chart->saveImage(svg, QSize(1200, 700));
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QByteArray drawing = svgFile.readAll();
    EXPECT_TRUE(drawing.contains("width=\"1200\"") || drawing.contains("width=\"1200px\"")) << drawing.left(400).toStdString();
    EXPECT_TRUE(drawing.contains("Claims received by month and status"));

    const QString pdf = folder.path() + "/chart.pdf";
    chart->saveImage(pdf, QSize(1600, 900));
    QProcess pdfinfo;
    pdfinfo.start("pdfinfo", {pdf});
    ASSERT_TRUE(pdfinfo.waitForFinished(30000));
    EXPECT_THAT(pdfinfo.readAllStandardOutput().toStdString(), HasSubstr("1200 x 675 pts"));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_THAT(text.toStdString(), HasSubstr("Claims received by month and status"));
    EXPECT_THAT(text.toStdString(), HasSubstr("06/01/2025 to 11/30/2026"));

    // A folder that is not there: the reason, and no exception past the window.
    EXPECT_THROW(chart->saveImage(folder.path() + "/missing/chart.png", QSize(1600, 900)), ChartImageError);

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
