// A batch pass over the list must not outlive the list or the window it started on:
// the clerk could otherwise have rows worked on that they no longer see.

#include "claim_work_fixture.h"
#include "host/data/connection.h"
#include "host/data/result_set.h"
#include "support/demo_db.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RunningOperationTest : public ClaimWorkTest {
protected:
    void SetUp() override
    {
        startOn(copyOfDemoDb(copy.path()));
        listRows({{"R1", "M"}, {"R2", "M"}, {"R3", "M"}, {"R4", "M"}});
    }

    int guEntries()
    {
        return user->connection->execute("SELECT count(1) FROM Patient_Data..tbPatientConditions WHERE "
                                         "AreaSubCat = 'GU(IE)'")
            .text(0, 0)
            .toInt();
    }

    /// The list the window shows after a refresh of one demo admission.
    void refreshToAnotherList()
    {
        window->txtIDNum->setText(user->connection->execute("SELECT TOP 1 IDNum FROM Patient_Data..tbPatient").text(0, 0));
        window->cmdRefresh->click();
    }

    TempDir copy;
};

TEST_F(RunningOperationTest, AListReplacedDuringAYieldStopsEveryPassAtItsNextRow)
{
    const int before = guEntries();
    messageLoop.onYield = [&](int yield) {
        if (yield == 2)
            refreshToAnotherList();
    };
    window->mMarkGU->trigger();
    ASSERT_EQ(messages.warned.size(), 1);
    EXPECT_THAT(messages.warned[0].toStdString(), HasSubstr("The list changed while the operation ran: row 3"));
    // Rows 1 and 2 of the old list were marked; nothing of the new list was.
    EXPECT_EQ(guEntries(), before + 2);
    EXPECT_EQ(window->txtLog->toPlainText(), "Marked: R2\nMarked: R1\n");
    EXPECT_TRUE(window->Grid1->isGridEnabled());

    // The course count and the validation loop stop the same way.
    for (QObject* start : {static_cast<QObject*>(window->mCountCourse), static_cast<QObject*>(window->cmdValidate[1])}) {
        listRows({{"R1", "M"}, {"R2", "M"}, {"R3", "M"}});
        messages.warned.clear();
        user->log.clear();
        messageLoop.yields = 0;
        if (auto* action = qobject_cast<QAction*>(start))
            action->trigger();
        else
            qobject_cast<QPushButton*>(start)->click();
        ASSERT_EQ(messages.warned.size(), 1) << start->objectName().toStdString();
        EXPECT_THAT(messages.warned[0].toStdString(), HasSubstr("row 3 is no longer in it"));
        EXPECT_FALSE(user->log.join(' ').contains("R3")) << user->log.join('\n').toStdString();
    }
}

TEST_F(RunningOperationTest, ClosingTheWindowDuringAPassAsksAndStopsAtTheNextRow)
{
    window->show();
    const int before = guEntries();
    messages.setNextAnswer(false);
    messageLoop.onYield = [&](int yield) {
        if (yield == 1)
            window->close();
    };
    window->mMarkGU->trigger();
    // No: the marking runs to its end and the window stays.
    EXPECT_THAT(messages.asked, ElementsAre("An operation is still running. Stop it and close?"));
    EXPECT_EQ(guEntries(), before + 4);
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());

    // Yes: what is saved stays saved, no further row is touched, then the window closes.
    listRows({{"S1", "M"}, {"S2", "M"}, {"S3", "M"}});
    messageLoop.yields = 0;
    messageLoop.onYield = [&](int yield) {
        if (yield == 2) {
            window->close();
            window->close(); // asked once only
        }
    };
    window->mMarkGU->trigger();
    EXPECT_EQ(messages.asked.size(), 2);
    EXPECT_EQ(guEntries(), before + 6);
    EXPECT_EQ(window->txtLog->toPlainText(), "Marked: S2\nMarked: S1\n");
    EXPECT_TRUE(messages.warned.isEmpty()) << messages.warned.join('\n').toStdString();
    EXPECT_TRUE(window->isVisible()); // until the marking is off the stack
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(RunningOperationTest, TheValidationLoopStopsForTheCloseToo)
{
    window->show();
    messageLoop.onYield = [&](int yield) {
        if (yield == 1)
            window->close();
    };
    window->cmdValidate[1]->click();
    EXPECT_EQ(journalOf({"verifydata"}), QStringList({"verifydata R1"}));
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace vantik::test
