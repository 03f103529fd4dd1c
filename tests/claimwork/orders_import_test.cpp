#include "claim_work_fixture.h"
#include "host/claimforms/doctor_orders.h"
#include "support/demo_db.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;

class OrdersImportTest : public ClaimWorkTest {
protected:
    void SetUp() override
    {
        startOn(sharedDemoDb());
        listRows({{"T1"}, {"T2"}});
        window->Grid1->setCurrent(2, 0);
        window->txtIDNumDOCORD->setText("T9");
    }

    /// Runs the import with the library's outcomes; the journal of that run.
    QStringList importWith(const QString& loaded, const QString& imported)
    {
        user->journal.clear();
        user->classes.loadOutcome = loaded;
        user->classes.importOutcome = imported;
        window->cmdImportAllOrdres->click();
        return journalOf({"Addonly", "LoadDocOrders", "ImportOrders", "SetRowColor"});
    }
};

TEST_F(OrdersImportTest, TheOutcomeColoursTheCurrentWorklistRow)
{
    EXPECT_THAT(importWith("found", "new"),
                ElementsAre("Addonly true", "LoadDocOrders T9", "ImportOrders T9", "SetRowColor 2 65280"));
    EXPECT_THAT(importWith("found", "exists"), ElementsAre("Addonly true", "LoadDocOrders T9", "ImportOrders T9",
                                                           "SetRowColor 2 16772846"));
    EXPECT_THAT(importWith("found", ""), ElementsAre("Addonly true", "LoadDocOrders T9", "ImportOrders T9",
                                                     "SetRowColor 2 16772846"));
    for (const QString& notFound : {"Found", "none", ""})
        EXPECT_THAT(importWith(notFound, "new"), ElementsAre("Addonly true", "LoadDocOrders T9", "SetRowColor 2 255"));
    EXPECT_EQ(window->txtLog->toPlainText(), "");
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(OrdersImportTest, AFailureShowsItsDescriptionAndLogsDone)
{
    window->txtLog->setPlainText("older activity");
    user->classes.failing = QStringList{"ImportOrders"};
    EXPECT_THAT(importWith("found", "new"), ElementsAre("Addonly true", "LoadDocOrders T9", "ImportOrders T9"));
    EXPECT_THAT(messages.shown, ElementsAre("ImportOrders failed"));
    EXPECT_EQ(window->txtLog->toPlainText(), "Done T9\nolder activity");
    EXPECT_TRUE(user->log.isEmpty()); // nothing was added
}

TEST_F(OrdersImportTest, AnImportThatStopsPartWayWritesWhatItAddedToTheUserLog)
{
    user->classes.importing = [](const QString& idNum) { throw OrdersImportStopped(idNum, 2, 5, "The disk is full."); };
    EXPECT_THAT(importWith("found", "new"), ElementsAre("Addonly true", "LoadDocOrders T9", "ImportOrders T9"));
    EXPECT_THAT(user->log, ElementsAre("T9 orders imported: 2 of 5; stopped: The disk is full."));
    EXPECT_THAT(messages.shown, ElementsAre("The disk is full."));
    EXPECT_EQ(window->txtLog->toPlainText(), "Done T9\n");
}

TEST_F(OrdersImportTest, ThePanelStartsHiddenAndSaveAllIsSwitchedOff)
{
    window->show();
    EXPECT_FALSE(window->fraImport->isVisible());
    EXPECT_TRUE(window->cmdImportAllOrdres->isHidden());
    EXPECT_FALSE(window->cmdSaveAllOrders->isVisible());
    EXPECT_FALSE(window->cmdSaveAllOrders->isEnabled());

    window->fraImport->show();
    window->cmdX->click();
    EXPECT_FALSE(window->fraImport->isVisible());
    window->fraImport->show();
    QTest::mouseClick(window->fraImport, Qt::LeftButton, {}, QPoint(40, 60));
    EXPECT_FALSE(window->fraImport->isVisible());

    window->mSaveAll->trigger();
    EXPECT_THAT(messages.shown, ElementsAre("Feature disabled."));
    EXPECT_TRUE(user->journal.isEmpty());
}

} // namespace
} // namespace vantik::test
