#include "host/data/connection.h"
#include "host/ui/flex_grid_widget.h"
#include "support/demo_db.h"
#include "worklist/worklist_statement.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <QFontMetrics>
#include <QTableView>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class RefreshTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        window->txtStartDate->setText("11/01/2026");
        window->txtEndDate->setText("11/30/2026");
    }
    QString count(const QString& statement) { return user->sqlconnection().execute(statement).text(0, 0); }
    void refresh() { window->cmdRefresh->click(); }
    /// Starts again on a copy of the demo database that the test may change.
    void restartOnCopy()
    {
        copyOfDemoDb(copy.path());
        window.reset();
        ASSERT_TRUE(start(copy.path()));
    }
    TempDir copy;
};

TEST_F(RefreshTest, ListsTheFilteredAdmissionsWithTheRowFormatAndCountsThem)
{
    refresh();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    const QString admissions =
        count("SELECT count(1) FROM Patient_Data..tbPatient WHERE ADMDATE >= '11/01/2026' AND ADMDATE < '12/1/2026'");
    EXPECT_EQ(window->lblCount->text(), admissions);
    EXPECT_EQ(window->Grid1->rowCount(), admissions.toInt() + 1);
    EXPECT_EQ(window->txtMessage->text(), buildWorklistStatement(window->readFilter(), 0));
    ASSERT_EQ(window->Grid1->columnCount(), 24);
    EXPECT_EQ(window->Grid1->text(0, 0), "hospnum");
    EXPECT_EQ(window->Grid1->text(0, 1), "IdNum");
    EXPECT_EQ(window->Grid1->text(0, 3), "Discharge Date");
    EXPECT_EQ(window->Grid1->text(0, 10), "Open On");
    EXPECT_EQ(window->Grid1->text(0, 15), "");
    EXPECT_EQ(window->Grid1->text(0, 22), "Length Stay");
    EXPECT_EQ(window->Grid1->text(0, 23), "AdmittingDr");
    EXPECT_FALSE(window->Grid1->text(1, 1).contains('B'));
    EXPECT_THAT(window->Grid1->text(1, 2).toStdString(), ::testing::MatchesRegex("Nov [ 1-3][0-9] 2026 .*[AP]M"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window->optPatType[1]->click();
    window->chkSortSD->setChecked(true);
    refresh();
    const QString visits = count(
        "SELECT count(1) FROM Patient_Data..tbOutPatient WHERE ADMDATE >= '11/01/2026' AND ADMDATE < '12/1/2026'");
    EXPECT_EQ(window->lblCount->text(), visits);
    EXPECT_EQ(window->Grid1->text(0, 14), "OPDIDNum");
    EXPECT_EQ(window->Grid1->text(0, 15), "HemoNum");
    EXPECT_EQ(window->Grid1->text(0, 20), "DoctorID1");
    EXPECT_EQ(window->Grid1->text(0, 23), "");
    EXPECT_TRUE(window->Grid1->text(1, 1).contains('B'));
    EXPECT_THAT(window->txtMessage->text().toStdString(), ::testing::EndsWith(" ORDER BY Service,DoctorID1,CF4VerifiedBy "));
    for (int row = 2; row < window->Grid1->rowCount(); ++row)
        EXPECT_LE(window->Grid1->text(row - 1, 19), window->Grid1->text(row, 19));
    // The start-up widths hold through every refresh, and show each time of day whole.
    EXPECT_EQ(window->Grid1->columnWidth(20), 0);
    const QFontMetrics metrics(window->Grid1->view()->font());
    for (const int column : {2, 3, 10, 11}) {
        for (int row = 1; row < window->Grid1->rowCount(); ++row)
            EXPECT_LE(metrics.horizontalAdvance(window->Grid1->text(row, column)),
                      window->Grid1->view()->columnWidth(column))
                << window->Grid1->text(row, column).toStdString();
    }
}

TEST_F(RefreshTest, AnEmptyResultCountsZeroAndTheHemodialysisHintShowsOnlyForInPatients)
{
    window->chkHemoPatient->setChecked(true);
    refresh();
    EXPECT_EQ(window->lblCount->text(), "0");
    EXPECT_EQ(window->Grid1->rowCount(), 1);
    EXPECT_THAT(messages.shown, ElementsAre("There maybe no inpatient hemodialysis patients"));
    EXPECT_FALSE(window->chkHemoPatient->isChecked());
    EXPECT_EQ(stored("chkHemoPatient"), "0");

    messages.shown.clear();
    window->chkHemoPatient->setChecked(true);
    window->optPatType[1]->click();
    refresh();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(window->chkHemoPatient->isChecked());

    // One in-patient found still shows the hint, and stays listed.
    restartOnCopy();
    window->optPatType[0]->click();
    user->sqlconnection().executeNative("UPDATE Patient_Data.tbPatient SET isHemoDialysis = 1 WHERE IdNum = ?",
                                        {QStringLiteral("24000002")});
    messages.shown.clear();
    window->chkHemoPatient->setChecked(true);
    window->txtIDNum->setText("24000002");
    refresh();
    EXPECT_THAT(messages.shown, ElementsAre("There maybe no inpatient hemodialysis patients"));
    EXPECT_EQ(window->lblCount->text(), "1");
    EXPECT_EQ(window->Grid1->text(1, 1), "24000002");
    EXPECT_FALSE(window->chkHemoPatient->isChecked());
}

TEST_F(RefreshTest, AnOutPatientIdForInPatientsAsksAndNoLeavesEverythingAsItWas)
{
    refresh();
    const QString listed = window->lblCount->text();
    const QString statement = window->txtMessage->text();

    window->txtIDNum->setText("B24000001");
    messages.setNextAnswer(false);
    refresh();
    EXPECT_THAT(messages.asked, ElementsAre("Outpatient ID selected for In-Patient. Continue?"));
    EXPECT_EQ(window->txtMessage->text(), statement);
    EXPECT_EQ(window->lblCount->text(), listed);
    EXPECT_EQ(window->Grid1->rowCount(), listed.toInt() + 1);

    messages.setNextAnswer(true);
    refresh();
    EXPECT_EQ(window->lblCount->text(), "0");
    EXPECT_THAT(window->txtMessage->text().toStdString(), HasSubstr("p.IDNum  = 'B24000001'"));

    // A lower-case b asks nothing, and "Out" never asks.
    messages.asked.clear();
    window->txtIDNum->setText("24000001b");
    refresh();
    EXPECT_EQ(window->lblCount->text(), "1");
    window->txtIDNum->setText("B24000001");
    window->optPatType[1]->click();
    refresh();
    EXPECT_EQ(window->lblCount->text(), "1");
    EXPECT_TRUE(messages.asked.isEmpty());
}

TEST_F(RefreshTest, FailuresSayRefreshAndLeaveTheCountAlone)
{
    refresh();
    const QString listed = window->lblCount->text();

    // A start date that is no date runs nothing, in the program's words.
    const QString statement = window->txtMessage->text();
    window->txtStartDate->setText("garbage");
    refresh();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], "Refresh: The start date \"garbage\" is not a date; type it as mm/dd/yyyy.");
    EXPECT_EQ(window->lblCount->text(), listed);
    EXPECT_EQ(window->txtMessage->text(), statement);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Nor does an end date that is no date.
    messages.shown.clear();
    window->txtStartDate->setText("11/01/2026");
    window->txtEndDate->setText("11/31/2026");
    refresh();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), StartsWith("Refresh: The end date \"11/31/2026\""));
    EXPECT_EQ(window->txtMessage->text(), statement);
    EXPECT_EQ(window->lblCount->text(), listed);

    // An apostrophe in a name is just a name.
    messages.shown.clear();
    window->txtEndDate->setText("11/30/2026");
    window->txtLastName->setText("O'Brien");
    refresh();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(window->lblCount->text(), "0");

    // What the database side raises says Refresh too.
    user->connection.reset();
    refresh();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), StartsWith("Refresh: Not logged in"));
    EXPECT_EQ(window->lblCount->text(), "0");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RefreshTest, VitalSignsAreListedOneLinePerRowFromTheRightTable)
{
    restartOnCopy();
    user->sqlconnection().executeNative("UPDATE Station.tbNurseVitalSigns SET BP = NULL WHERE IDNum = ?",
                                        {QStringLiteral("24000002")});
    user->sqlconnection().executeNative("DELETE FROM Station.tbNurseVitalSigns WHERE IDNum = ?",
                                        {QStringLiteral("25000004")});
    user->sqlconnection().executeNative("UPDATE Patient_Data.tbOutPatientHistory SET PulseRate = NULL WHERE IDNum = ?",
                                        {QStringLiteral("B24000003")});
    window->chkGETVitals->setChecked(true);

    window->txtIDNum->setText("24000002");
    window->cmdRefresh->click();
    ASSERT_EQ(user->log.size(), 1);
    EXPECT_THAT(user->log[0].toStdString(), ::testing::MatchesRegex("24000002: BP:  3[0-9.]+ [0-9]+ [0-9]+"));

    user->log.clear();
    window->txtIDNum->setText("25000004");
    window->cmdRefresh->click();
    EXPECT_THAT(user->log, ElementsAre("25000004: No Vitals"));

    user->log.clear();
    window->optPatType[1]->click();
    window->txtIDNum->setText("B24000003");
    window->cmdRefresh->click();
    EXPECT_THAT(user->log, ElementsAre("B24000003: BP: 100/80 38.0  28"));

    // A whole list: one line per row, in the grid's order, nothing in the activity log.
    user->log.clear();
    window->txtIDNum->clear();
    window->txtStartDate->setText("01/01/2025");
    window->txtEndDate->setText("11/30/2026");
    window->cmdRefresh->click();
    ASSERT_EQ(user->log.size(), window->Grid1->rowCount() - 1);
    for (int row = 1; row < window->Grid1->rowCount(); ++row)
        EXPECT_TRUE(user->log[row - 1].startsWith(window->Grid1->text(row, 1) + ": ")) << row;
    EXPECT_TRUE(window->txtLog->toPlainText().isEmpty());
}

} // namespace
} // namespace vantik::test
