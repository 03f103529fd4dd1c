#include "host/ui/flex_grid_widget.h"
#include "reports/frm_report.h"
#include "reports/install_reports.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;

class PrintingTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        installReports(*window);
        window->txtStartDate->setText("11/01/2026");
        window->txtEndDate->setText("11/30/2026");
        // The pointer at every yield and message box, to see it restored in time.
        messageLoop.onYield = [this](int) { pointers.append(pointer()); };
        user->journal.clear();
    }
    static QString pointer()
    {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor ? "hourglass" : "default";
    }
    QStringList pointers;
};

TEST_F(PrintingTest, PrintListFromMenuAndButtonAndTheReportPrintHandOverTitleAndGrid)
{
    window->cmdPrintList->click();
    window->mPrintList->trigger();
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "PrintGrid Claims Worklist", "VODURIZevevar",
                                           "PrintGrid Claims Worklist"));
    EXPECT_THAT(user->classes.printedGrids, ElementsAre(window->Grid1, window->Grid1));
    EXPECT_THAT(pointers, ElementsAre("hourglass", "hourglass"));
    EXPECT_EQ(messageLoop.yields, 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window->mAccomplismentReport->trigger();
    FrmReport* report = reportWindow(*window);
    ASSERT_NE(report, nullptr);
    user->journal.clear();
    report->cmdPrint->click();
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "PrintGrid Accomplishment Report"));
    EXPECT_EQ(user->classes.printedGrids.back(), report->Grid2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(PrintingTest, AFailingPrintIsReportedAndThePointerRestored)
{
    user->classes.failing = {"PrintGrid"};
    window->cmdPrintList->click();
    EXPECT_THAT(messages.shown, ElementsAre("PrintGrid failed"));
    EXPECT_THAT(pointers, ElementsAre("hourglass"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window->mAccomplismentReport->trigger();
    messages.shown.clear();
    reportWindow(*window)->cmdPrint->click();
    EXPECT_THAT(messages.shown, ElementsAre("PrintGrid failed"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(reportWindow(*window)->isVisible());
}

TEST_F(PrintingTest, PrintHandsTheCurrentAdmissionToThePrintableEntry)
{
    window->cmdRefresh->click();
    ASSERT_GT(window->Grid1->rowCount(), 3);
    window->Grid1->setCurrent(3, 5);
    const QString idNum = window->Grid1->text(3, 1);
    user->journal.clear();
    window->cmdPrint->click();
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "clsCF4", "showEntry " + idNum + " 1"));
    EXPECT_THAT(user->classes.formSettings,
                ElementsAre("IDNUM " + idNum, "StationID Worklist", "Title CF4 Entries", "nonmodal true"));

    // Whatever the cell holds goes, the empty text included; an empty list
    // selects no admission.
    window->Grid1->setText(3, 1, "");
    user->classes.formSettings.clear();
    window->cmdPrint->click();
    EXPECT_EQ(user->classes.formSettings.value(0), "IDNUM ");
    window->txtIDNum->setText("no such admission");
    window->cmdRefresh->click();
    user->classes.formSettings.clear();
    window->cmdPrint->click();
    EXPECT_EQ(user->classes.formSettings.value(0), "IDNUM ");
    EXPECT_TRUE(messages.shown.isEmpty());

    user->classes.failing = {"clsCF4"};
    user->journal.clear();
    window->cmdPrint->click();
    EXPECT_THAT(messages.shown, ElementsAre("clsCF4 failed"));
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "clsCF4"));
}

} // namespace
} // namespace vantik::test
