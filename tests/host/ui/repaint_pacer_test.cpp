#include "host/ui/message_loop.h"
#include "host/ui/repaint_pacer.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vantik {
namespace {

/// A window that counts its paintings.
class CountedWindow : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

/// Frames as rare as a test needs: none falls inside a run unless asked for.
class Pacing : public ::testing::Test {
protected:
    Pacing()
    {
        window.resize(200, 100);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        pacer.setFrameInterval(3600 * 1000);
    }
    ~Pacing() override
    {
        pacer.setFrameInterval(RepaintPacer::kFrameMs);
        QCoreApplication::processEvents();
    }

    RepaintPacer& pacer = RepaintPacer::instance();
    QtMessageLoop loop;
    CountedWindow window;
};

TEST_F(Pacing, ABatchHandlesInputAtEveryYieldAndPaintsOnceWhenItEnds)
{
    int timersSeen = 0;
    const int framesBefore = pacer.framesShown();
    window.paints = 0;
    {
        BatchScope batch;
        for (int row = 0; row < 50; ++row) {
            window.update();
            QTimer::singleShot(0, &window, [&timersSeen] { ++timersSeen; });
            loop.yieldOnce();
        }
        EXPECT_EQ(timersSeen, 50);
        EXPECT_EQ(window.paints, 0);
        EXPECT_EQ(pacer.framesShown(), framesBefore);
    }
    // The end of the batch brings the final frame as soon as events are handled.
    QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, 1);
    EXPECT_EQ(pacer.framesShown(), framesBefore + 1);

    // Outside a batch a yield paints at once, as it always did.
    window.update();
    loop.yieldOnce();
    EXPECT_EQ(window.paints, 2);
}

TEST_F(Pacing, APassThatDoesNotYieldPaintsWhenAFrameIsDue)
{
    window.paints = 0;
    BatchScope batch;
    window.update();
    pacer.paintIfDue(); // the first change starts the frame's interval
    EXPECT_EQ(window.paints, 0);
    pacer.setFrameInterval(0);
    pacer.paintIfDue();
    EXPECT_EQ(window.paints, 1);
}

} // namespace
} // namespace vantik
