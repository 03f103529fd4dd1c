#include "host/ui/flex_grid_widget.h"
#include "host/ui/font_fit.h"
#include "host/ui/twips.h"
#include "support/demo_db.h"
#include "worklist/claim_worklist_layout.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using worklist::Container;

class LayoutTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QWidget* control(const worklist::ControlDesign& design) const
    {
        for (QWidget* found : window->findChildren<QWidget*>(QString::fromLatin1(design.name))) {
            if (design.index < 0 || found->property("index").toInt() == design.index)
                return found;
        }
        return nullptr;
    }
};

TEST_F(LayoutTest, EveryControlIsWhereItWasDesignedWithItsCaption)
{
    EXPECT_EQ(window->windowTitle(), "VANTIK Claims Worklist");
    EXPECT_EQ(window->objectName(), "frmClaimWorklist");
    for (const worklist::ControlDesign& design : worklist::claimWorklistDesign()) {
        SCOPED_TRACE(design.name);
        QWidget* widget = control(design);
        ASSERT_NE(widget, nullptr);
        const QRect expected = design.rect.toPixels();
        QPoint at = widget->pos();
        if (design.container == Container::TabFilter || design.container == Container::TabOther
            || design.container == Container::TabOptions)
            at = widget->mapTo(window->SSTab1, QPoint(0, 0));
        EXPECT_EQ(at, expected.topLeft());
        if (widget != window->Grid1 && widget != window->txtLog)
            EXPECT_EQ(widget->size(), expected.size());
        else
            EXPECT_EQ(widget->width(), widget == window->txtLog ? expected.width() : widget->width());

        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            caption = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            caption = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            caption = group->title();
        EXPECT_EQ(caption, QString::fromUtf8(design.caption));
    }
    for (QWidget* hidden : {static_cast<QWidget*>(window->cmdClose), static_cast<QWidget*>(window->cmdSaveAllOrders),
                            static_cast<QWidget*>(window->fraImport)})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_TRUE(window->cmdStop->isVisible());
    EXPECT_EQ(window->SSTab1->count(), 3);
    EXPECT_EQ(window->SSTab1->tabText(2), "Options");
    EXPECT_EQ(window->Label5->buddy(), window->txtIDNum);
    EXPECT_TRUE(window->cmdRefresh->isDefault());
}

TEST_F(LayoutTest, TheMenuHoldsItsItemsInOrder)
{
    QStringList items;
    for (QAction* action : window->mMenu->actions())
        items.append(action->menu() ? action->menu()->objectName() : action->objectName());
    EXPECT_THAT(items, ::testing::ElementsAre("mPrintList", "mExportList", "mAccomplismentReport", "mAccomplismentReport2", "mChart",
                                              "mPhilHealthCodes", "mBatchTools"));
    QStringList tools;
    for (QAction* action : window->mBatchTools->actions())
        tools.append(action->text());
    EXPECT_THAT(tools, ::testing::ElementsAre("Count Course in the ward",
                                              "Mark listed male patient GU to 'not applicable'",
                                              "Chemo/Hemo Patient - Mark listed female patient GU to 'Not Assessed'",
                                              "Save ALL Listed Patients Orders to Course in the Ward",
                                              "Batch Update Drugs", "", "All Listed: Check &eCF4",
                                              "E&xport eCF4\u2026"));
    EXPECT_EQ(window->mAccomplismentReport->text(), "Accomplisment Report (by Attending Dr)");
}

TEST_F(LayoutTest, GridAndLogFollowTheWindowAndKeepTheirSizeWhenItWouldBeNegative)
{
    const auto expect = [this] {
        const QSize outer = window->frameGeometry().size();
        const int width = pixelsToTwips(outer.width());
        const int height = pixelsToTwips(outer.height());
        EXPECT_EQ(window->Grid1->width(), twipsToPixels(width - 4320 - 400));
        EXPECT_EQ(window->Grid1->height(), twipsToPixels(height - 480 - 1200));
        EXPECT_EQ(window->txtLog->height(), twipsToPixels(height - 5640 - 1200));
    };
    expect();
    window->resize(1200, 900);
    QTest::qWait(1);
    expect();
    EXPECT_EQ(window->Grid1->pos(), worklist::controlDesign("Grid1").rect.toPixels().topLeft());

    const QSize grid = window->Grid1->size();
    const QSize log = window->txtLog->size();
    window->resize(250, 120);
    QTest::qWait(1);
    if (window->width() < twipsToPixels(4320 + 400)) {
        EXPECT_EQ(window->Grid1->width(), grid.width());
        EXPECT_EQ(window->txtLog->height(), log.height());
    }
    EXPECT_EQ(window->txtLog->width(), log.width());

    const worklist::FollowingSizes tiny = worklist::followWindowSize(4000, 5000);
    EXPECT_EQ(tiny.gridWidth, std::nullopt);
    EXPECT_EQ(tiny.gridHeight, 3320);
    EXPECT_EQ(tiny.logHeight, std::nullopt);
}

// The log's newest line is on top, where the Stop button reaches over the box.
TEST_F(LayoutTest, TheActivityLogsTopLineShowsBelowTheStopButton)
{
    window->txtLog->setPlainText("Marked: 26001053\nMarked: 26001049");
    QApplication::processEvents();
    const QRect firstLine = window->txtLog->cursorRect(QTextCursor(window->txtLog->document()));
    const int lineTop = window->txtLog->viewport()->mapTo(window.get(), firstLine.topLeft()).y();
    const int stopBottom = window->cmdStop->mapTo(window.get(), QPoint(0, window->cmdStop->height())).y();
    EXPECT_GE(lineTop, stopBottom);
}

TEST_F(LayoutTest, EveryCaptionFitsItsControlInTheChosenFont)
{
    for (const worklist::ControlDesign& design : worklist::claimWorklistDesign()) {
        auto* button = qobject_cast<QAbstractButton*>(control(design));
        if (!button || QByteArray(design.caption).isEmpty())
            continue;
        const int indicator = qobject_cast<QPushButton*>(button) ? 8 : 20;
        const QSize room(button->width() - indicator, button->height() - (indicator == 8 ? 4 : 0));
        EXPECT_TRUE(captionFits(button->font(), {button->text(), room}))
            << design.name << " in " << button->font().family().toStdString() << " "
            << button->font().pointSizeF();
    }
}

TEST_F(LayoutTest, EnterRefreshesEscClosesAndStopSetsTheFlag)
{
    window->txtIDNum->setText("24000002");
    window->txtLastName->setFocus();
    QTest::keyClick(window->txtLastName, Qt::Key_Return);
    EXPECT_EQ(window->lblCount->text(), "1");

    window->cmdStop->click();
    EXPECT_TRUE(window->stopFlag);

    QTest::keyClick(window->txtLastName, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace vantik::test
