#include "host/user/log_window_placement.h"

#include <gtest/gtest.h>

using namespace vantik;

namespace {

const QRect kScreen(0, 0, 1280, 800);

void expectClearAndOnScreen(const QRect& placed, const QRect& button, const QRect& available = kScreen)
{
    EXPECT_FALSE(placed.intersects(button)) << placed.x() << "," << placed.y() << " " << placed.width() << "x"
                                            << placed.height();
    EXPECT_TRUE(available.contains(placed)) << placed.x() << "," << placed.y();
}

} // namespace

TEST(LogWindowPlacement, AWindowClearOfTheButtonStaysWhereItIs)
{
    const QRect frame(100, 100, 400, 200);
    EXPECT_EQ(placeClearOf(frame, QRect(600, 600, 80, 30), kScreen), frame);
    EXPECT_EQ(placeClearOf(frame, QRect(500, 300, 80, 30), kScreen), frame); // touching corners only
}

TEST(LogWindowPlacement, ACoveringWindowMovesToTheRightEdgeKeepingItsSize)
{
    const QRect button(100, 650, 80, 30);
    const QRect placed = placeClearOf(QRect(50, 500, 500, 250), button, kScreen);
    expectClearAndOnScreen(placed, button);
    EXPECT_EQ(placed.size(), QSize(500, 250));
    EXPECT_EQ(placed.right(), kScreen.right());
    EXPECT_EQ(placed.top(), 500);
}

TEST(LogWindowPlacement, AButtonAtTheRightEdgeSendsTheWindowBesideIt)
{
    // Bottom right, where a main window usually keeps its Stop button.
    const QRect button(1180, 740, 90, 30);
    const QRect placed = placeClearOf(QRect(680, 520, 600, 280), button, kScreen);
    expectClearAndOnScreen(placed, button);
    EXPECT_EQ(placed.size(), QSize(600, 280));

    // In the middle of a screen too narrow for left or right: above or below it.
    const QRect narrowScreen(0, 0, 700, 800);
    const QRect middle(300, 380, 80, 30);
    const QRect moved = placeClearOf(QRect(20, 300, 660, 200), middle, narrowScreen);
    expectClearAndOnScreen(moved, middle, narrowScreen);
    EXPECT_EQ(moved.size(), QSize(660, 200));
}

TEST(LogWindowPlacement, AWindowTooLargeForAnySideShrinksBesideTheButton)
{
    const QRect button(600, 380, 80, 30);
    const QRect placed = placeClearOf(kScreen, button, kScreen);
    expectClearAndOnScreen(placed, button);
    EXPECT_GT(placed.width() * placed.height(), 0);
}
