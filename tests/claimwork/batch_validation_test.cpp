#include "claim_work_fixture.h"
#include "support/demo_db.h"

#include <QApplication>
#include <QPushButton>
#include <QStatusBar>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class BatchValidationTest : public ClaimWorkTest {
protected:
    void SetUp() override
    {
        startOn(sharedDemoDb());
        listRows({{"A1"}, {"A2"}, {"A3"}});
    }
};

TEST_F(BatchValidationTest, ValidateChecksTheCurrentRowAndTheLoopEveryRowInOrder)
{
    user->classes.findings["A2"] = "Missing: vital signs";
    window->Grid1->setCurrent(2, 4);
    QStringList atYield;
    messageLoop.onYield = [&](int) {
        atYield.append(user->journal.last() + " | " + window->statusBar()->currentMessage());
    };
    window->cmdValidate[0]->click();
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "clsCF4", "showEntry A2 0", "VODURIZevevar", "clsCF4",
                                           "showEntry A2 0", "verifydata A2", "UnloadForm A2"));
    EXPECT_THAT(user->log, ElementsAre("Checking A2 [shown]", "Missing: vital signs [shown]"));
    EXPECT_THAT(atYield, ElementsAre("verifydata A2 | ")); // unloaded after the yield

    user->journal.clear();
    user->log.clear();
    atYield.clear();
    window->cmdValidate[1]->click();
    EXPECT_THAT(journalOf({"showEntry", "UnloadForm"}),
                ElementsAre("showEntry A1 0", "showEntry A1 0", "UnloadForm A1", "showEntry A2 0", "showEntry A2 0",
                            "UnloadForm A2", "showEntry A3 0", "showEntry A3 0", "UnloadForm A3"));
    EXPECT_THAT(user->log, ElementsAre("Checking A1 [shown]", "...ok.  [shown]", "Checking A2 [shown]",
                                       "Missing: vital signs [shown]", "Checking A3 [shown]", "...ok.  [shown]"));
    EXPECT_THAT(atYield, ElementsAre("verifydata A1 | Validating: row 1 of 3", "verifydata A2 | Validating: row 2 of 3",
                                     "verifydata A3 | Validating: row 3 of 3"));
    EXPECT_EQ(window->Grid1->currentRow(), 3);
    EXPECT_EQ(window->statusBar()->currentMessage(), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_F(BatchValidationTest, StopLetsTheRowInHandFinishAndIsClearedWhenALoopStarts)
{
    QList<int> rowsAtYield;
    messageLoop.onYield = [&](int yield) {
        rowsAtYield.append(window->Grid1->currentRow());
        if (yield == 2)
            window->cmdStop->click();
    };
    window->cmdValidate[1]->click();
    EXPECT_THAT(rowsAtYield, ElementsAre(1, 2));
    EXPECT_EQ(window->Grid1->currentRow(), 2);
    EXPECT_EQ(user->journal.last(), "UnloadForm A2");
    EXPECT_EQ(user->log.size(), 4);
    EXPECT_FALSE(user->journal.join(' ').contains("A3"));

    // A Stop pressed while nothing runs does not keep the next loop from running.
    messageLoop.onYield = nullptr;
    window->cmdStop->click();
    user->log.clear();
    window->cmdValidate[1]->click();
    EXPECT_EQ(user->log.size(), 6);
    EXPECT_FALSE(window->stopFlag);
}

TEST_F(BatchValidationTest, Validate2ChecksRequirementsWithoutTheEntryWindow)
{
    user->classes.invalid = QStringList{"A1"};
    window->cmdValidate2->click();
    EXPECT_THAT(journalOf({"showEntry", "ValidateRequirements", "UnloadForm"}),
                ElementsAre("ValidateRequirements A1", "UnloadForm A1"));
    window->Grid1->setCurrent(3, 0);
    window->cmdValidate2->click();
    EXPECT_THAT(user->log, ElementsAre("Checking A1 [shown]", "Not Valid [shown]", "Checking A3 [shown]",
                                       "Valid  [shown]"));
    EXPECT_EQ(messageLoop.yields, 2);

    // Only the header: the loop never starts.
    listRows({});
    user->journal.clear();
    user->log.clear();
    window->cmdValidate[1]->click();
    EXPECT_THAT(user->journal, IsEmpty());
    EXPECT_THAT(user->log, IsEmpty());
}

TEST_F(BatchValidationTest, AnErrorEndsTheLoopWithItsDescription)
{
    user->classes.failing = QStringList{"verifydata"};
    window->cmdValidate[1]->click();
    EXPECT_THAT(messages.shown, ElementsAre("verifydata failed"));
    EXPECT_THAT(user->log, IsEmpty()); // nothing is written for the failing row
    EXPECT_FALSE(user->journal.join(' ').contains("A2"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A refresh during a yield leaves fewer rows: the walk ends instead of
    // checking whatever the list now holds.
    user->classes.failing.clear();
    messages.shown.clear();
    user->log.clear();
    messageLoop.onYield = [&](int yield) {
        if (yield == 1)
            listRows({{"Z9"}});
    };
    window->cmdValidate[1]->click();
    EXPECT_THAT(messages.shown, ElementsAre("The list changed while the operation ran: row 2 is no longer in it."));
    EXPECT_THAT(user->log, ElementsAre("Checking A1 [shown]", "...ok.  [shown]"));
}

TEST_F(BatchValidationTest, TheRowWalkOnlyMovesTheCurrentRow)
{
    listRows({{"A1"}, {"A2"}, {"A3"}, {"A4"}, {"A5"}});
    window->stopFlag = true;
    window->cmdGenerateScript->click();
    EXPECT_EQ(window->Grid1->currentRow(), 5);
    EXPECT_FALSE(window->stopFlag);
    EXPECT_THAT(user->journal, IsEmpty());
    EXPECT_THAT(user->log, IsEmpty());
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(messageLoop.yields, 0);
    EXPECT_EQ(window->Grid1->background(5, 1), kOleWhite);

    // Beyond the reach of a 16-bit counter.
    std::vector<ListedRow> many(40000, ListedRow{"A"});
    listRows(many);
    window->cmdGenerateScript->click();
    EXPECT_EQ(window->Grid1->currentRow(), 40000);
}

} // namespace
} // namespace vantik::test
