#include "claim_work_fixture.h"
#include "host/data/connection.h"
#include "support/demo_db.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;

class ListedChecksTest : public ClaimWorkTest {
protected:
    void SetUp() override { startOn(copyOfDemoDb(copy.path())); }

    void insert(const QString& table, const QString& columns, const QVariantList& values)
    {
        const QString marks = QStringList(values.size(), QStringLiteral("?")).join(',');
        user->connection->executeNative("INSERT INTO " + table + " (" + columns + ") VALUES (" + marks + ")", values);
    }

    TempDir copy;
};

TEST_F(ListedChecksTest, BothDaysUsedButtonsShowTheCurrentPatientOnly)
{
    listRows({{"T1", "", "", "", "H1"}, {"T2", "", "", "", "H2"}});
    window->Grid1->setCurrent(2, 0);
    window->cmdCheckDays[0]->click();
    window->cmdCheckDays[1]->click();
    const QStringList once{"VODURIZevevar", "SetPatient H2 T2 [] 0", "VODURIZevevar", "ShowForm"};
    EXPECT_EQ(user->journal, once + once);

    user->classes.failing = QStringList{"ShowForm"};
    window->cmdCheckDays[1]->click();
    EXPECT_THAT(messages.shown, ElementsAre("ShowForm failed"));
}

TEST_F(ListedChecksTest, HeightAndWeightColourTheIdentifierCellOfEveryRow)
{
    const QVariant null;
    const QString inHistory = "Patient_Data.tbPatientHistory", outHistory = "Patient_Data.tbOutPatientHistory";
    insert(inHistory, "IDNum, Height, Weight", {"T2", "150", null});
    insert(inHistory, "IDNum, Height, Weight", {"T3", "150", "   "});
    insert(inHistory, "IDNum, Height, Weight", {"T4", "150", "50"});
    insert(inHistory, "IDNum, Height, Weight", {"T4", "", ""}); // only the first record counts
    insert(outHistory, "IDNum, Height, Weight", {"T5B", "100", "20"});
    insert(inHistory, "IDNum, Height, Weight", {"T6b", "100", "20"}); // a small b is an admission
    insert(outHistory, "IDNum, Height, Weight", {"O'B7", "100", ""});
    listRows({{"T1"}, {"T2"}, {"T3"}, {"T4"}, {"T5B"}, {"T6b"}, {"O'B7"}});

    window->cmdCheckHTWT->click();
    QList<OleColor> colours;
    for (int row = 1; row <= 7; ++row)
        colours.append(window->Grid1->background(row, 1));
    EXPECT_THAT(colours, ElementsAre(kOleYellow, kOleRed, kOleRed, kOleGreen, kOleGreen, kOleGreen, kOleRed));
    EXPECT_EQ(window->Grid1->background(4, 0), kOleWhite);
    EXPECT_EQ(window->Grid1->background(4, 2), kOleWhite);
    EXPECT_EQ(window->Grid1->currentRow(), 7);
    EXPECT_EQ(window->Grid1->currentColumn(), 1);
    EXPECT_EQ(messageLoop.yields, 0);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ListedChecksTest, CourseCountLogsOneLinePerRowAndReportsAFailure)
{
    for (int note = 0; note < 3; ++note)
        insert("Station.tbCourseWard", "IDNum, CourseNotes", {"T1", "note"});
    insert("Station.tbCourseWard", "IDNum, CourseNotes", {"O'B2", "note"});
    listRows({{"T1"}, {"O'B2"}, {"T3"}});
    window->txtLog->setPlainText("older activity");
    QList<bool> gridEnabledAtYield;
    // A marking started during the first yield does not enable the grid under the count.
    messageLoop.onYield = [&](int yield) {
        gridEnabledAtYield.append(window->Grid1->isGridEnabled());
        if (yield == 1)
            window->mMarkGU->trigger();
    };

    window->mCountCourse->trigger();
    EXPECT_THAT(user->log, ElementsAre("T1 3", "O'B2 1", "T3 0"));
    EXPECT_EQ(window->txtLog->toPlainText(), "");
    EXPECT_THAT(gridEnabledAtYield, ElementsAre(false, false, false, false, false, false));
    EXPECT_TRUE(window->Grid1->isGridEnabled());

    messageLoop.onYield = nullptr;
    user->connection->executeNative("DROP TABLE Station.tbCourseWard", {});
    user->log.clear();
    window->mCountCourse->trigger();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), ::testing::HasSubstr("tbCourseWard"));
    EXPECT_TRUE(user->log.isEmpty());
    EXPECT_TRUE(window->Grid1->isGridEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace vantik::test
