#include "host/ui/paced_log.h"
#include "host/ui/repaint_pacer.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace vantik {
namespace {

TEST(PacedLog, LinesOfABatchGoInTogetherAsIfOneByOne)
{
    QPlainTextEdit activity;
    activity.setPlainText("older");
    QPlainTextEdit userLog;
    userLog.setMaximumBlockCount(4);
    {
        BatchScope batch;
        for (const char* line : {"Marked: 1", "Marked: 2", "Marked: 3"})
            pacedPrepend(activity, line);
        for (int n = 1; n <= 6; ++n)
            pacedAppend(userLog, QString("line %1").arg(n));
        EXPECT_EQ(activity.toPlainText(), "older"); // waiting for the frame
        RepaintPacer::instance().settle();
        EXPECT_EQ(activity.toPlainText(), "Marked: 3\nMarked: 2\nMarked: 1\nolder");
        EXPECT_EQ(userLog.toPlainText(), "line 3\nline 4\nline 5\nline 6");

        // A log cleared while lines wait loses them, as it would have had they gone in.
        pacedPrepend(activity, "Marked: 4");
        pacedAppend(userLog, "line 7");
        activity.clear();
        pacedPrepend(activity, "Marked: 5");
        flushPacedLines(userLog);
    }
    EXPECT_EQ(activity.toPlainText(), "Marked: 5\n");
    EXPECT_EQ(userLog.toPlainText(), "line 4\nline 5\nline 6\nline 7");

    // Outside a batch each line goes in at once.
    pacedPrepend(activity, "Marked: 6");
    EXPECT_EQ(activity.toPlainText(), "Marked: 6\nMarked: 5\n");
}

TEST(PacedLog, AFullLogKeepsTheSameNewestLinesAsTheBoxItselfWould)
{
    // The box's own trimming, one line at a time, is the reference.
    QPlainTextEdit reference;
    reference.setMaximumBlockCount(5);
    QPlainTextEdit paced;
    paced.setMaximumBlockCount(5);
    int next = 1;
    // Batches that fit, fill the box exactly, overflow it by some, equal it and exceed it.
    for (int size : {3, 2, 1, 4, 5, 7, 1}) {
        {
            BatchScope batch;
            for (int i = 0; i < size; ++i, ++next) {
                const QString line = QString("line %1").arg(next);
                reference.appendPlainText(line);
                pacedAppend(paced, line);
            }
        }
        ASSERT_EQ(paced.toPlainText(), reference.toPlainText()) << "after a batch of " << size;
        ASSERT_EQ(paced.document()->blockCount(), reference.document()->blockCount());
    }
    // Outside a batch, line by line into the full box.
    for (int i = 0; i < 3; ++i, ++next) {
        const QString line = QString("line %1").arg(next);
        reference.appendPlainText(line);
        pacedAppend(paced, line);
    }
    EXPECT_EQ(paced.toPlainText(), reference.toPlainText());
}

} // namespace
} // namespace vantik
