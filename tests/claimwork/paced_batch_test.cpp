#include "claim_work_fixture.h"
#include "host/ui/message_loop.h"
#include "host/ui/repaint_pacer.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <gmock/gmock.h>

#include <list>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;

/// What the clerk sees of the main window once a run is over.
struct WindowState {
    QStringList cells;       // every cell's text and colour
    QString current;         // the current cell
    int scrolledTo = 0;      // the grid's first shown row
    QString activityLog;
    QString statusBar;
    QString count;
    bool gridEnabled = false;
    QStringList userLog;
    QStringList libraryCalls;

    bool operator==(const WindowState&) const = default;
};

/// The main window with the program's own yield point, frames made so rare that
/// a whole run falls between two of them: every repaint of a run waits.
class PacedBatchTest : public ClaimWorkTest {
protected:
    PacedBatchTest() { RepaintPacer::instance().setFrameInterval(3600 * 1000); }
    ~PacedBatchTest() override
    {
        RepaintPacer::instance().setFrameInterval(RepaintPacer::kFrameMs);
        QCoreApplication::processEvents();
    }

    void showWindow()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
    }

    /// A click that waits in the queue as the clerk's input does, until the
    /// window next handles its events.
    static void clickLater(QPushButton& button)
    {
        const QPointF at = QRectF(button.rect()).center();
        const QPointF global = button.mapToGlobal(at);
        QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                             Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                             Qt::NoButton, Qt::NoModifier));
    }

    /// A clerk's round on a fresh copy of the demo database: the month listed,
    /// then the height/weight check, the course count, the GU marking and the
    /// validation loop; the state once the window has handled what they left.
    WindowState runTheDay()
    {
        startOn(copyOfDemoDb(copies.emplace_back().path()));
        showWindow();
        window->txtStartDate->setText("11/01/2026");
        window->cmdRefresh->click();
        window->cmdCheckHTWT->click();
        window->mCountCourse->trigger();
        window->mMarkGU->trigger();
        window->cmdValidate[1]->click();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();

        WindowState state;
        FlexGrid& grid = *window->Grid1;
        for (int row = 0; row < grid.rowCount(); ++row) {
            for (int column = 0; column < grid.columnCount(); ++column)
                state.cells.append(QString("%1 %2").arg(grid.text(row, column)).arg(grid.background(row, column)));
        }
        state.current = QString("%1,%2").arg(grid.currentRow()).arg(grid.currentColumn());
        state.scrolledTo = window->Grid1->view()->verticalScrollBar()->value();
        state.activityLog = window->txtLog->toPlainText();
        state.statusBar = window->statusBar()->currentMessage();
        state.count = window->lblCount->text();
        state.gridEnabled = grid.isGridEnabled();
        state.userLog = user->log;
        state.libraryCalls = user->journal;
        return state;
    }

    std::list<TempDir> copies;
};

TEST_F(PacedBatchTest, AStopClickIsSeenWithinOneRowWhileRepaintsWait)
{
    QtMessageLoop realLoop;
    yieldPoint = &realLoop;
    startOn(sharedDemoDb());
    std::vector<ListedRow> rows;
    for (int n = 1; n <= 20; ++n)
        rows.push_back({QString("A%1").arg(n)});
    listRows(rows);
    showWindow();
    // The clerk clicks Stop while the third row is checked.
    QObject::connect(window->statusBar(), &QStatusBar::messageChanged, window.get(), [this](const QString& message) {
        if (message == "Validating: row 3 of 20")
            clickLater(*window->cmdStop);
    });
    const int framesBefore = RepaintPacer::instance().framesShown();
    const int heldBefore = RepaintPacer::instance().repaintsHeld();

    window->cmdValidate[1]->click();

    EXPECT_THAT(journalOf({"UnloadForm"}), ElementsAre("UnloadForm A1", "UnloadForm A2", "UnloadForm A3"));
    EXPECT_EQ(user->log.size(), 6);
    EXPECT_EQ(window->Grid1->currentRow(), 3);
    EXPECT_TRUE(window->stopFlag);
    // Nothing was painted during the run, yet the click got through.
    EXPECT_EQ(RepaintPacer::instance().framesShown(), framesBefore);
    EXPECT_GT(RepaintPacer::instance().repaintsHeld(), heldBefore);
}

TEST_F(PacedBatchTest, ARunEndsInTheSameWindowStateAsWithTheScriptedYield)
{
    const WindowState scripted = runTheDay();
    QtMessageLoop realLoop;
    yieldPoint = &realLoop;
    const int heldBefore = RepaintPacer::instance().repaintsHeld();
    const WindowState paced = runTheDay();

    EXPECT_GT(RepaintPacer::instance().repaintsHeld(), heldBefore);
    // The round did something worth comparing.
    EXPECT_THAT(scripted.activityLog.toStdString(), ::testing::StartsWith("Marked: "));
    EXPECT_GT(scripted.userLog.size(), 20);
    EXPECT_TRUE(scripted.cells.join(' ').contains(QString::number(kOleYellow)));
    EXPECT_TRUE(scripted.gridEnabled);

    EXPECT_EQ(paced.cells, scripted.cells);
    EXPECT_EQ(paced.current, scripted.current);
    EXPECT_EQ(paced.scrolledTo, scripted.scrolledTo);
    EXPECT_EQ(paced.activityLog, scripted.activityLog);
    EXPECT_EQ(paced.statusBar, scripted.statusBar);
    EXPECT_EQ(paced.count, scripted.count);
    EXPECT_EQ(paced.userLog, scripted.userLog);
    EXPECT_EQ(paced.libraryCalls, scripted.libraryCalls);
    EXPECT_TRUE(paced == scripted);
}

} // namespace
} // namespace vantik::test
