#include "host/data/result_set.h"
#include "host/ui/flex_grid_model.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/ole_color.h"

#include <QAbstractItemModelTester>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace vantik {
namespace {

ResultSet threeByTwo()
{
    ResultSet result({"IdNum", ""}, {SqlType::Text, SqlType::Text});
    for (const char* cell : {"A1", "x", "A2", "", "A3", "z"})
        result.appendCell(QString::fromLatin1(cell));
    return result;
}

TEST(FlexGrid, RowZeroIsTheHeaderAndDataRowsFollow)
{
    FlexGridWidget grid;
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid.bind(threeByTwo());
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.text(0, 0), "IdNum");
    EXPECT_EQ(grid.text(0, 1), "");
    EXPECT_EQ(grid.text(3, 0), "A3");
    EXPECT_EQ(grid.text(4, 0), "");
    EXPECT_EQ(grid.text(1, 5), "");

    grid.setText(2, 1, "changed");
    EXPECT_EQ(grid.text(2, 1), "changed");

    // An empty result leaves the header and no data row.
    grid.bind(ResultSet({"IdNum"}, {SqlType::Text}));
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.text(1, 0), "");
    EXPECT_EQ(grid.currentRow(), 0);
}

TEST(FlexGrid, WidthsInTwipsSurviveEveryBindAndZeroHides)
{
    FlexGridWidget grid;
    grid.setColumnWidth(0, 2000);
    grid.setColumnWidth(1, 0);
    grid.bind(threeByTwo());
    EXPECT_EQ(grid.view()->columnWidth(0), 133);
    EXPECT_TRUE(grid.view()->isColumnHidden(1));
    grid.bind(threeByTwo());
    EXPECT_EQ(grid.columnWidth(0), 2000);
    EXPECT_EQ(grid.view()->columnWidth(0), 133);
    EXPECT_TRUE(grid.view()->isColumnHidden(1));
}

TEST(FlexGrid, ColoursGoToTheCurrentCellOrTheWholeRowAndABindClearsThem)
{
    FlexGridWidget grid;
    grid.bind(threeByTwo());
    grid.setCurrent(2, 1);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 1);
    grid.setCellBackground(kOleYellow);
    EXPECT_EQ(grid.background(2, 1), kOleYellow);
    EXPECT_EQ(grid.background(2, 0), kOleWhite);
    EXPECT_EQ(grid.model()->data(grid.model()->index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 0));

    grid.setRowBackground(2, kOleBlue);
    EXPECT_EQ(grid.background(2, 0), kOleBlue);
    EXPECT_EQ(grid.background(2, 1), kOleBlue);
    EXPECT_EQ(grid.model()->data(grid.model()->index(1, 0), Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 255));
    grid.setRowBackground(9, kOleRed); // no such row: nothing happens

    grid.bind(threeByTwo());
    EXPECT_EQ(grid.background(2, 0), kOleWhite);
}

TEST(FlexGrid, TextOnADarkRowIsWhiteAndStaysDefaultElsewhere)
{
    FlexGridWidget grid;
    grid.bind(threeByTwo());
    const auto foreground = [&](int row, int column) {
        return grid.model()->data(grid.model()->index(row - 1, column), Qt::ForegroundRole);
    };
    grid.setRowBackground(1, kOleBlue);
    grid.setRowBackground(2, kOleGreen);
    grid.setCurrent(3, 0);
    grid.setCellBackground(kOleRed);
    EXPECT_EQ(foreground(1, 0).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(foreground(1, 1).value<QColor>(), QColor(Qt::white));
    // The marking's blue keeps its colour; the lighter colours keep the usual text.
    EXPECT_EQ(grid.model()->data(grid.model()->index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_FALSE(foreground(2, 0).isValid());
    EXPECT_FALSE(foreground(3, 0).isValid());
    EXPECT_FALSE(foreground(3, 1).isValid());
    for (OleColor light : {kOleWhite, kOleYellow, kOleGreen, kOleRed, kOlePaleBlue})
        EXPECT_FALSE(prefersLightText(light)) << light;
    EXPECT_TRUE(prefersLightText(0x000080)); // dark red
}

TEST(FlexGrid, AppendedRowsSplitAtTabsIntoTheGridsColumns)
{
    FlexGridWidget grid;
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid.reset(1, 3);
    EXPECT_EQ(grid.rowCount(), 1);
    grid.appendRow("a\tb\tc\textra");
    grid.appendRow("only");
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.text(1, 2), "c");
    EXPECT_EQ(grid.text(2, 0), "only");
    EXPECT_EQ(grid.text(2, 1), "");

    grid.reset(2, 2);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.text(1, 1), "");

    FlexGridWidget shapeless;
    shapeless.appendRow("x\ty");
    EXPECT_EQ(shapeless.columnCount(), 2);
    EXPECT_EQ(shapeless.rowCount(), 2);
}

} // namespace
} // namespace vantik

namespace vantik {
namespace {

// A pass moves the current row without scrolling; the view must still show the
// row it ended on once events are handled, and the clerk's arrow keys must scroll.
TEST(FlexGrid, TheViewFollowsTheCurrentRowOnceEventsAreHandled)
{
    FlexGridWidget grid;
    grid.resize(300, 200);
    ResultSet rows({"IdNum"}, {SqlType::Text});
    for (int row = 0; row < 500; ++row)
        rows.appendCell(QString::number(row));
    grid.bind(std::move(rows));
    grid.show();
    QCoreApplication::processEvents();
    const QRect viewport = grid.view()->viewport()->rect();
    auto shown = [&](int row) {
        return viewport.intersects(grid.view()->visualRect(grid.model()->index(row - 1, 0)));
    };

    for (int row = 1; row <= 400; ++row)
        grid.setCurrent(row, 0);
    EXPECT_EQ(grid.currentRow(), 400);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown(400));
    EXPECT_FALSE(shown(1));

    grid.setCurrent(3, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown(3));
    QTest::keyClick(grid.view(), Qt::Key_PageDown);
    QTest::keyClick(grid.view(), Qt::Key_PageDown);
    EXPECT_TRUE(shown(grid.currentRow()));
    EXPECT_GT(grid.currentRow(), 3);
}

} // namespace
} // namespace vantik
