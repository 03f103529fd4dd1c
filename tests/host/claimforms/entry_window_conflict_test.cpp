// Two clerks on one claim form: what one types stays checked against the rows it
// was typed on, however often the window reads the form again, until the clerk
// has seen the other's save and chosen to keep it or to replace it.

#include "entry_window_fixture.h"
#include "host/claimforms/conflict_bar.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::HasSubstr;

constexpr const char* kChanged = "This claim form was changed by another user since it was read; nothing was saved.";

class EntryWindowConflictTest : public EntryWindowTest {
protected:
    void SetUp() override
    {
        EntryWindowTest::SetUp();
        other = Connection::openEmbedded(folder.path());
    }
    /// The other clerk's save, on a connection of their own.
    void otherSaves(const QString& sql) { other->executeNative(sql, {}); }

    std::unique_ptr<Connection> other;
};

// Each way the window reads the form again while the clerk's brief history is typed.
TEST_F(EntryWindowConflictTest, TypedTextKeepsItsRowThroughEveryReadUntilTheClerkChooses)
{
    const std::vector<std::pair<const char*, std::function<void(ClaimFormWindow&)>>> rereads{
        {"another page saved",
         [](ClaimFormWindow& window) {
             window.txtBloodPressure->setText("120/80");
             window.txtTemperature->setText("37");
             window.txtPulseRate->setText("80");
             window.txtRespiratoryRate->setText("18");
             window.cmdSaveVitals->click();
             ASSERT_EQ(window.lblMessage->text(), "Saved the vital signs.");
         }},
        {"Reload", [](ClaimFormWindow& window) { window.cmdReload->click(); }},
        {"opened again from the list", [this](ClaimFormWindow& window) { open(window.idNum()); }},
    };
    int n = 0;
    for (const auto& [how, reread] : rereads) {
        SCOPED_TRACE(how);
        const QString id = QStringLiteral("T%1").arg(++n);
        const bool keepTheirs = n % 2 == 1;
        admitBare(id);
        exec("UPDATE Patient_Data.tbPatient SET BriefHistory = 'Cough' WHERE IDNum = ?", {id});
        ClaimFormWindow& window = open(id);
        window.txtBriefHistory->setPlainText("Cough for a week");
        const QString stored =
            QStringLiteral("SELECT BriefHistory FROM Patient_Data..tbPatient WHERE IDNum = '%1'").arg(id);
        otherSaves(QStringLiteral("UPDATE Patient_Data.tbPatient SET BriefHistory = 'Cough and fever' "
                                  "WHERE IDNum = '%1'")
                       .arg(id));
        reread(window);

        // The typing stays, and the page shows what the other clerk saved under it.
        EXPECT_EQ(window.txtBriefHistory->toPlainText(), "Cough for a week");
        EXPECT_FALSE(window.fraHistoryConflict->isHidden());
        EXPECT_EQ(window.fraHistoryConflict->lblTheirs->text(),
                  "Changed by another user since you began typing. Saved now: Cough and fever");
        window.cmdSaveHistory->click();
        EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr(kChanged));
        EXPECT_EQ(one(stored), "Cough and fever");
        EXPECT_FALSE(user.log.join('\n').contains(id + " CF4 brief history"));

        if (keepTheirs) {
            window.fraHistoryConflict->cmdKeepTheirs->click();
            EXPECT_EQ(window.txtBriefHistory->toPlainText(), "Cough and fever");
            EXPECT_FALSE(window.unsavedSections().contains("brief history"));
            EXPECT_EQ(one(stored), "Cough and fever");
        } else {
            window.fraHistoryConflict->cmdSaveMine->click();
            EXPECT_EQ(window.lblMessage->text(), "Saved the brief history.");
            EXPECT_EQ(one(stored), "Cough for a week");
            EXPECT_EQ(user.log.last(), id + " CF4 brief history: Cough for a week");
        }
        EXPECT_TRUE(window.fraHistoryConflict->isHidden());
        window.close();
    }
}

TEST_F(EntryWindowConflictTest, TheGuFindingAndTheHeightAndWeightKeepTheirRowsToo)
{
    admitBare("T1");
    exec("INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, Code, Result, "
         "Remarks, EncodedBy, EncodedOn) VALUES ('T1', 'PhysicalExam', 'GU(IE)', 'OTHERS', 'X', '1', 'Pending', "
         "'NURSE', '2026-11-02 09:00:00.000')");
    exec("INSERT INTO Patient_Data.tbPatientHistory (IDNum, HistoryDate, Height, Weight) VALUES "
         "('T1', '2026-11-02 08:30:00.000', '160', '55')");
    ClaimFormWindow& window = open("T1");
    window.cboGuFinding->setEditText("Not Applicable");
    window.txtWeight->setText("56");
    otherSaves("UPDATE Patient_Data.tbPatientConditions SET Remarks = 'Normal' WHERE IDNum = 'T1'");
    otherSaves("UPDATE Patient_Data.tbPatientHistory SET Weight = '57' WHERE IDNum = 'T1'");
    window.cmdReload->click();

    EXPECT_EQ(window.fraGuConflict->lblTheirs->text(),
              "Changed by another user since you began typing. Saved now: Normal (code X, result 1), entered by "
              "NURSE on 11/02/2026 9:00 AM");
    EXPECT_EQ(window.fraMeasurementsConflict->lblTheirs->text(),
              "Changed by another user since you began typing. Saved now: height 160, weight 57 (history record of "
              "11/02/2026 8:30 AM)");
    window.cmdSaveGu->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr(kChanged));
    window.cmdSaveHeightWeight->click();
    EXPECT_THAT(window.lblMessage->text().toStdString(), HasSubstr(kChanged));
    EXPECT_EQ(one("SELECT Remarks FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1'"), "Normal");
    EXPECT_EQ(one("SELECT Weight FROM Patient_Data..tbPatientHistory WHERE IDNum = 'T1'"), "57");

    window.fraGuConflict->cmdSaveMine->click();
    EXPECT_EQ(one("SELECT Remarks FROM Patient_Data..tbPatientConditions WHERE IDNum = 'T1'"), "Not Applicable");
    window.fraMeasurementsConflict->cmdKeepTheirs->click();
    EXPECT_EQ(window.txtHeight->text() + "/" + window.txtWeight->text(), "160/57");
    EXPECT_TRUE(window.unsavedSections().isEmpty());
    EXPECT_EQ(user.log, QStringList{"T1 CF4 GU(IE): Not Applicable"});
}

} // namespace
} // namespace vantik::test
