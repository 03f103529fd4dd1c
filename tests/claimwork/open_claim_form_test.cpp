#include "claimwork/install_claim_work.h"
#include "host/ui/flex_grid_widget.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;

class OpenClaimFormTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        installClaimWork(*window);
        window->txtStartDate->setText("11/01/2026");
        window->txtEndDate->setText("11/30/2026");
        window->cmdRefresh->click();
        ASSERT_GT(window->Grid1->rowCount(), 3);
        window->Grid1->setCurrent(3, 5);
        user->journal.clear();
        user->classes.formSettings.clear();
        // What the window looked like while the operation yielded.
        messageLoop.onYield = [this](int) {
            duringYield.append(QStringLiteral("grid %1, pointer %2")
                                   .arg(window->Grid1->isGridEnabled() ? "enabled" : "disabled")
                                   .arg(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1));
        };
    }

    QStringList duringYield;
};

TEST_F(OpenClaimFormTest, EveryGestureHandsTheCurrentRowToTheLibraryInOrder)
{
    const QString id = window->Grid1->text(3, 1);
    window->cmdCF4->click();
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "clsCF4", "showEntry " + id + " 0"));
    EXPECT_THAT(user->classes.formSettings,
                ElementsAre("IDNUM " + id, "StationID Worklist", "Title CF4 Entries", "nonmodal true"));
    EXPECT_TRUE(duringYield.isEmpty()); // the button neither yields nor disables

    // Return and a double-click: hourglass and a disabled grid while yielding once.
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->Grid1->view()->setFocus();
    for (const auto& gesture : std::vector<std::function<void()>>{
             [&] { QTest::keyClick(window->Grid1->view(), Qt::Key_Return); },
             [&] { emit window->Grid1->cellDoubleClicked(3, 5); }}) {
        user->journal.clear();
        duringYield.clear();
        gesture();
        EXPECT_EQ(window->Grid1->currentRow(), 3); // Enter does not refresh the list as well
        EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "clsCF4", "showEntry " + id + " 0"));
        EXPECT_THAT(duringYield, ElementsAre(QString("grid disabled, pointer %1").arg(int(Qt::WaitCursor))));
        EXPECT_TRUE(window->Grid1->isGridEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // Other keys open nothing, whatever the modifiers.
    user->journal.clear();
    QTest::keyClick(window->Grid1->view(), Qt::Key_Space);
    QTest::keyClick(window->Grid1->view(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(window->Grid1->view(), Qt::Key_Escape);
    EXPECT_TRUE(user->journal.isEmpty()) << user->journal.join(", ").toStdString();
}

TEST_F(OpenClaimFormTest, AnEmptyIdentifierGoesAsItIsAndLibraryErrorsEndWithTheHint)
{
    window->Grid1->setText(3, 1, QString());
    window->cmdCF4->click();
    EXPECT_THAT(user->journal, ElementsAre("VODURIZevevar", "clsCF4", "showEntry  0"));
    EXPECT_EQ(user->classes.formSettings.value(0), "IDNUM ");
    EXPECT_TRUE(messages.shown.isEmpty());

    user->classes.failing = QStringList{"clsCF4"};
    emit window->Grid1->cellDoubleClicked(3, 1);
    EXPECT_THAT(messages.shown, ElementsAre("clsCF4 failedupdate vodurizevevar."));
    EXPECT_TRUE(window->Grid1->isGridEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window->Grid1->currentRow(), 3);

    user->classes.failing.clear();
    window->txtIDNum->setText("no such admission");
    window->cmdRefresh->click();
    user->classes.formSettings.clear();
    window->cmdCF4->click();
    EXPECT_EQ(user->classes.formSettings.value(0), "IDNUM "); // not the header's text
}

} // namespace
} // namespace vantik::test
