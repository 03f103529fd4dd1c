#include "host/data/connection.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/twips.h"
#include "reports/frm_report.h"
#include "reports/frm_chart.h"
#include "reports/install_reports.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"
#include "worklist/worklist_columns.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <QFontMetrics>
#include <QTableView>

#include <gmock/gmock.h>

#include <map>

namespace vantik::test {
namespace {

using Counts = std::map<std::pair<QString, QString>, std::pair<int, int>>;

// Complete and incomplete admissions of 2026 by service and doctor,
// counted by the database itself.
constexpr const char* kDirectCount =
    "SELECT S.Service, %1 AS Doctor, CASE WHEN NP.CF4VerifiedBy IS NULL OR NP.CF4VerifiedBy = '' THEN 1 ELSE 0 END "
    "AS [Open], count(1) FROM Patient_Data..tbPatient P INNER JOIN Patient_Data..tbMaster M ON P.HospNum = M.HospNum "
    "LEFT JOIN Station..tbNurseProfile NP ON P.IDNum = NP.IDNum LEFT JOIN Build_File..tbcoService S ON S.ServiceID "
    "= P.ServiceID LEFT JOIN Build_File..tbcoDoctor D ON D.DoctorID = P.%2 LEFT JOIN Build_File..tbCoSpecialization "
    "SPE ON SPE.SpecializationID = D.SpecializationID WHERE P.ADMDATE >= '01/01/2026' AND P.ADMDATE < '12/1/2026' "
    "GROUP BY S.Service, %1, CASE WHEN NP.CF4VerifiedBy IS NULL OR NP.CF4VerifiedBy = '' THEN 1 ELSE 0 END";

class ReportWindowTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        installReports(*window);
        window->txtStartDate->setText("01/01/2026");
        window->txtEndDate->setText("11/30/2026");
    }

    Counts directCounts(const char* doctor, const char* doctorColumn)
    {
        const ResultSet rows =
            user->sqlconnection().execute(QString::fromLatin1(kDirectCount).arg(doctor, doctorColumn));
        Counts counts;
        for (int row = 0; row < rows.rowCount(); ++row) {
            if (rows.text(row, 1).isEmpty())
                continue;
            auto& [complete, incomplete] = counts[{rows.text(row, 0), rows.text(row, 1)}];
            (rows.text(row, 2) == "1" ? incomplete : complete) += rows.text(row, 3).toInt();
        }
        return counts;
    }

    /// The doctor rows of the report, summed by service and doctor; the number of
    /// rows a doctor stands in under one service goes to runs.
    Counts reportCounts(std::map<std::pair<QString, QString>, int>* runs = nullptr)
    {
        const FlexGridWidget& grid = *reportWindow(*window)->Grid2;
        Counts counts;
        QString service;
        for (int row = 1; row < grid.rowCount(); ++row) {
            if (grid.text(row, 1).isEmpty()) {
                EXPECT_TRUE(grid.text(row, 0).startsWith(' '));
                service = grid.text(row, 0).mid(1);
                continue;
            }
            EXPECT_EQ(grid.text(row, 0), "");
            auto& [complete, incomplete] = counts[{service, grid.text(row, 1)}];
            complete += grid.text(row, 2).toInt();
            incomplete += grid.text(row, 3).toInt();
            if (runs)
                ++(*runs)[{service, grid.text(row, 1)}];
        }
        return counts;
    }
};

TEST_F(ReportWindowTest, BothReportsMatchADirectCountAndReuseOneWindow)
{
    EXPECT_EQ(reportWindow(*window), nullptr);
    window->mAccomplismentReport->trigger();
    FrmReport* report = reportWindow(*window);
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_THAT(window->txtMessage->text().toStdString(),
                ::testing::EndsWith(" ORDER BY Service,AttendingDr1,CF4VerifiedBy "));
    EXPECT_EQ(report->windowTitle(), "Report");
    EXPECT_TRUE(report->isVisible());
    EXPECT_TRUE(report->Grid2->isVisible());
    EXPECT_FALSE(report->cmdClose->isVisible());
    const FlexGridWidget& grid = *report->Grid2;
    ASSERT_EQ(grid.columnCount(), 5);
    EXPECT_EQ(QStringList({grid.text(0, 0), grid.text(0, 1), grid.text(0, 2), grid.text(0, 3), grid.text(0, 4)}),
              QStringList({"Service", "Doctor", "Complete", "Incomplete", ""}));
    // The designed widths at least; wide enough for every doctor with a specialty.
    EXPECT_GE(grid.columnWidth(0), 2000);
    EXPECT_GT(grid.columnWidth(1), 2500);
    const QFontMetrics metrics(grid.view()->font());
    for (int row = 1; row < grid.rowCount(); ++row) {
        for (int column : {0, 1})
            EXPECT_LE(metrics.horizontalAdvance(grid.text(row, column)), grid.view()->columnWidth(column))
                << grid.text(row, column).toStdString();
    }
    const Counts attending = reportCounts();
    EXPECT_EQ(attending,
              directCounts("D.LastName + ', ' + D.FirstName + '  [' + SPE.Specialization + ']'", "AttendingDr1"));
    EXPECT_GT(attending.size(), 20u);

    window->mAccomplismentReport2->trigger();
    EXPECT_EQ(reportWindow(*window), report);
    EXPECT_EQ(grid.columnWidth(1), 2500); // names alone fit the designed width
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<FrmReport*>(w); }), 1);
    std::map<std::pair<QString, QString>, int> runs;
    EXPECT_EQ(reportCounts(&runs), directCounts("D.LastName + ', ' + D.FirstName", "AdmittingDr"));
    // Ordered by attending doctor, an admitting doctor comes back in several runs.
    EXPECT_TRUE(std::any_of(runs.begin(), runs.end(), [](const auto& run) { return run.second > 1; }));

    // Out-patients have no admitting doctor: headings only.
    window->optPatType[1]->click();
    window->mAccomplismentReport2->trigger();
    ASSERT_GT(grid.rowCount(), 1);
    for (int row = 1; row < grid.rowCount(); ++row)
        EXPECT_EQ(grid.text(row, 1), "") << row;
}

TEST_F(ReportWindowTest, EscClosesTheWindowAndTheNextBuildStartsANewOneFollowingItsSize)
{
    window->mAccomplismentReport->trigger();
    FrmReport* first = reportWindow(*window);
    ASSERT_NE(first, nullptr);
    QPointer<FrmReport> closing(first);
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(reportWindow(*window), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());

    // An empty worklist leaves the header row alone; the new window's grid
    // starts hidden and shows once built.
    window->txtIDNum->setText("no such admission");
    window->mAccomplismentReport->trigger();
    FrmReport* second = reportWindow(*window);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Grid2->rowCount(), 1);
    EXPECT_TRUE(second->Grid2->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second));

    second->resize(twipsToPixels(9000), twipsToPixels(6000));
    const QSize outer = second->frameGeometry().size();
    EXPECT_EQ(second->Grid2->width(), twipsToPixels(pixelsToTwips(outer.width()) - 120 - 400));
    EXPECT_EQ(second->Grid2->height(), twipsToPixels(pixelsToTwips(outer.height()) - 600 - 1200));
    const QSize before = second->Grid2->size();
    second->resize(20, 20); // both sides would come out negative
    EXPECT_EQ(second->Grid2->size(), before);

    // A window of its own, it still goes with the main window.
    QPointer<FrmReport> open(second);
    window.reset();
    EXPECT_TRUE(open.isNull());
}

TEST_F(ReportWindowTest, TheReportAndChartWindowsCloseWithTheMainWindow)
{
    window->show();
    window->mAccomplismentReport->trigger();
    window->mChart->trigger();
    QPointer<FrmReport> report(reportWindow(*window));
    QPointer<FrmChart> chart(chartWindow(*window));
    ASSERT_TRUE(report && chart);
    ASSERT_TRUE(report->isVisible() && chart->isVisible());
    // Esc on the main window: nothing of it is left working on its list.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(!report || !report->isVisible());
    EXPECT_TRUE(!chart || !chart->isVisible());
}

} // namespace
} // namespace vantik::test
