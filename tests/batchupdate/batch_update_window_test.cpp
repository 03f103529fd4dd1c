#include "batchupdate/batch_update_layout.h"
#include "batchupdate/frm_batch_update.h"
#include "batchupdate/install_batch_update.h"
#include "host/data/database_error.h"
#include "host/ui/flex_grid_widget.h"
#include "support/demo_db.h"
#include "support/watched_connection.h"
#include "support/worklist/worklist_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

const TableRef kMedicine{"Patient_Data", "tbPatientMedicine"};

class BatchUpdateTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        copyOfDemoDb(copy.path());
        ASSERT_TRUE(start(copy.path()));
        installBatchUpdate(*window);
        const QString insert = "INSERT INTO " + user->connection->nativeTableName(kMedicine)
            + " (IDNum, GenericName, Quantity, Dosage, Route, UnitCode, TotalAmount) VALUES (?,?,?,?,?,?,?)";
        const QVariant null;
        const QVariantList rows[] = {
            {"T0001", "Paracetamol", 10, "500mg", "Oral", "TAB", 55.5},
            {"T0001", "Paracetamol", 2, "500mg", null, "TAB", 11},
            {"T0001", "PARACETAMOL", 4, "500mg", "Oral", "TAB", 22},
            {"O'B0003", "Paracetamol", 10, "500mg", "IV", "TAB", 55.5},
            {"O'B0003", null, 21, "500mg", "Oral", "CAP", 210},
        };
        for (const QVariantList& row : rows)
            user->connection->executeNative(insert, row);
        auto watched = std::make_unique<WatchedConnection>(std::move(user->connection));
        connection = watched.get();
        user->connection = std::move(watched);
        listPatients({"T0001", "T0002", "O'B0003"});
    }

    /// The worklist as a refresh would leave it: the IDs in column 1.
    void listPatients(const QStringList& ids)
    {
        window->Grid1->reset(1, 24);
        for (const QString& id : ids)
            window->Grid1->appendRow("H\t" + id);
    }
    FrmBatchUpdate& open()
    {
        window->cmdBatchUpdate->click();
        EXPECT_NE(batchUpdateWindow(*window), nullptr);
        return *batchUpdateWindow(*window);
    }
    static void setBoxes(FrmBatchUpdate& form, const QString& drug, const QStringList& find, const QStringList& replace)
    {
        form.txtDrugName->setText(drug);
        for (int j = 0; j < 4; ++j) {
            form.txtField[j]->setText(find[j]);
            form.txtFieldTO[j]->setText(replace[j]);
        }
    }
    static QStringList row(FlexGrid& grid, int r)
    {
        QStringList cells;
        for (int c = 0; c < grid.columnCount(); ++c)
            cells.append(grid.text(r, c));
        return cells;
    }
    QString medicine(const QString& column, const QString& id, const QString& quantity)
    {
        return user->sqlconnection()
            .execute(QStringLiteral("SELECT %1 FROM Patient_Data..tbPatientMedicine WHERE IDNum = '%2' AND Quantity = %3")
                         .arg(column, QString(id).replace("'", "''"), quantity))
            .text(0, 0);
    }
    QStringList boxes(FrmBatchUpdate& form)
    {
        QStringList texts;
        for (int j = 0; j < 4; ++j)
            texts << form.txtField[j]->text() << form.txtFieldTO[j]->text();
        return texts;
    }

    TempDir copy;
    WatchedConnection* connection = nullptr;
};

TEST_F(BatchUpdateTest, OpensOneModelessWindowFromButtonAndMenuAndRecreatesItAfterClosing)
{
    FrmBatchUpdate& form = open();
    EXPECT_EQ(form.windowTitle(), "Batch Update");
    EXPECT_EQ(form.parentWidget(), nullptr);
    EXPECT_FALSE(form.isModal());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.cmdDrugs->text(), "List Drugs");
    EXPECT_TRUE(form.chkSimulate->isChecked());
    EXPECT_EQ(form.Grid1->rowCount(), 2);
    EXPECT_EQ(form.Grid1->columnCount(), 2);
    EXPECT_EQ(form.Label1[4]->text(), "Repalce with");
    EXPECT_EQ(form.Label1[4]->parentWidget(), form.fraFindReplace);
    EXPECT_EQ(form.txtFieldTO[3]->geometry(), (TwipsRect{4800, 1200, 1000, 285}.toPixels()));
    EXPECT_EQ(form.txtInst->palette().color(QPalette::Base), QColor(255, 255, 192));
    const QStringList instructions = form.txtInst->toPlainText().split('\n');
    ASSERT_EQ(instructions.size(), 10);
    EXPECT_EQ(instructions[0], "Instructions: ");
    EXPECT_EQ(instructions[4], " 4. Enter the value to be replaced under the 'Find' boxes;");
    EXPECT_EQ(instructions[9], "");

    form.txtDrugName->setText("Paracetamol");
    form.chkSimulate->setChecked(false);
    window->mBatchUpdate->trigger();
    EXPECT_EQ(batchUpdateWindow(*window), &form);
    EXPECT_EQ(form.txtDrugName->text(), "Paracetamol");

    form.close();
    EXPECT_EQ(batchUpdateWindow(*window), nullptr);
    window->mBatchUpdate->trigger();
    FrmBatchUpdate& again = *batchUpdateWindow(*window);
    EXPECT_EQ(again.txtDrugName->text(), "");
    EXPECT_TRUE(again.chkSimulate->isChecked());
    EXPECT_EQ(again.cmdDrugs->text(), "List Drugs");
}

TEST_F(BatchUpdateTest, ListsTheDrugsOfTheListedPatientsInOrderAndAClickFillsTheBoxes)
{
    FrmBatchUpdate& form = open();
    QStringList progress;
    connection->onFetch = [&] { progress.append(form.cmdDrugs->text()); };
    form.cmdDrugs->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_EQ(messageLoop.yields, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.cmdDrugs->text(), "Update Drugs");
    // An apostrophe in an ID is listed like any other ID.
    EXPECT_THAT(progress, ElementsAre("Patient 1 of 3", "Patient 2 of 3", "Patient 3 of 3"));

    FlexGrid& grid = *form.Grid1;
    ASSERT_EQ(grid.rowCount(), 7);
    EXPECT_THAT(row(grid, 0), ElementsAre("IDNum", "GenericName", "Quantity", "Dosage", "Route", "UnitCode", "TotalAmount"));
    EXPECT_THAT(row(grid, 1), ElementsAre("", "", "", "", "", "", ""));
    EXPECT_THAT(row(grid, 2), ElementsAre("T0001", "Paracetamol", "10", "500mg", "Oral", "TAB", "55.5"));
    EXPECT_THAT(row(grid, 3), ElementsAre("T0001", "Paracetamol", "2", "500mg", "", "TAB", "11"));
    EXPECT_EQ(grid.text(4, 1), "PARACETAMOL");
    EXPECT_THAT(row(grid, 5), ElementsAre("O'B0003", "Paracetamol", "10", "500mg", "IV", "TAB", "55.5"));
    EXPECT_THAT(row(grid, 6), ElementsAre("O'B0003", "", "21", "500mg", "Oral", "CAP", "210"));
    EXPECT_EQ(grid.columnWidth(1), 1500);

    form.Grid1_Click(3);
    EXPECT_EQ(form.txtDrugName->text(), "Paracetamol");
    EXPECT_THAT(boxes(form), ElementsAre("2", "2", "500mg", "500mg", "", "", "TAB", "TAB"));
    form.Grid1_Click(1);
    EXPECT_EQ(form.txtDrugName->text(), "");
    EXPECT_THAT(boxes(form), ElementsAre("", "", "", "", "", "", "", ""));
    // An empty drug name is no name of the record without one.
    setBoxes(form, "", {"21", "", "", ""}, {"22", "", "", ""});
    form.cmdDrugs->click();
    EXPECT_TRUE(user->log.isEmpty()) << user->log.join('\n').toStdString();

    // With nobody listed only the titles and the empty row remain.
    listPatients({});
    form.cmdDrugs->click();
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 7);
    EXPECT_EQ(form.cmdDrugs->text(), "Update Drugs");
}

TEST_F(BatchUpdateTest, SimulateOnlyLogsAndARealRunWritesSavesEachRecordOnceAndEmptiesTheBoxes)
{
    FrmBatchUpdate& form = open();
    // Dosage everywhere; the Route only where there is none.
    setBoxes(form, "Paracetamol", {"", "500mg", "", "TAB"}, {"", "650mg", "Oral", "TAB"});
    const QStringList expected{
        "T0001 Paracetamol  from:500mg to:650mg",
        "T0001 Paracetamol  from:500mg to:650mg",
        "T0001 Paracetamol  from: to:Oral",
        "O'B0003 Paracetamol  from:500mg to:650mg",
    };
    form.cmdDrugs->click();
    EXPECT_EQ(user->log, expected);
    EXPECT_EQ(connection->saves, 0);
    EXPECT_EQ(medicine("Dosage", "T0001", "10"), "500mg");
    EXPECT_EQ(form.Grid1->text(2, 3), "500mg");
    EXPECT_THAT(boxes(form), ElementsAre("", "", "500mg", "650mg", "", "Oral", "TAB", "TAB"));

    user->log.clear();
    form.chkSimulate->setChecked(false);
    form.cmdDrugs->click();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    EXPECT_EQ(user->log, expected);
    EXPECT_EQ(connection->saves, 3);
    EXPECT_EQ(medicine("Dosage", "T0001", "10"), "650mg");
    EXPECT_EQ(medicine("Route", "T0001", "10"), "Oral");
    EXPECT_EQ(medicine("Dosage", "T0001", "2"), "650mg");
    EXPECT_EQ(medicine("Route", "T0001", "2"), "Oral");
    EXPECT_EQ(medicine("Dosage", "T0001", "4"), "500mg"); // PARACETAMOL is another name
    EXPECT_EQ(medicine("Route", "O'B0003", "10"), "IV");
    EXPECT_THAT(row(*form.Grid1, 3), ElementsAre("T0001", "Paracetamol", "2", "650mg", "Oral", "TAB", "11"));
    EXPECT_EQ(form.Grid1->text(4, 3), "500mg");
    EXPECT_THAT(boxes(form), ElementsAre("", "", "", "", "", "", "", ""));
    EXPECT_EQ(form.txtDrugName->text(), "Paracetamol");

    // A quantity goes back as the text typed and lists as the database keeps it.
    setBoxes(form, "Paracetamol", {"10", "", "", ""}, {"12.5", "", "", ""});
    form.cmdDrugs->click();
    EXPECT_EQ(medicine("Dosage", "O'B0003", "12.5"), "650mg");
    EXPECT_EQ(form.Grid1->text(5, 2), "12.5");
    form.cmdDrugs->click();
    EXPECT_EQ(form.Grid1->text(2, 2), "12.5");
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
}

TEST_F(BatchUpdateTest, TheWindowClosesWithTheMainWindowAndARunningListingStopsFirst)
{
    window->show();
    QPointer<FrmBatchUpdate> form = &open();
    // The main window is closed during the run's one yield: the clerk is asked,
    // the run lists no patient, and then both windows go.
    messageLoop.onYield = [&](int) { window->close(); };
    form->cmdDrugs->click();
    EXPECT_THAT(messages.asked, ElementsAre("An operation is still running. Stop it and close?"));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->Grid1->rowCount(), 2);
    EXPECT_TRUE(window->isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(!form || !form->isVisible());
    EXPECT_EQ(batchUpdateWindow(*window), nullptr);
}

TEST_F(BatchUpdateTest, AFailureNamesTheRecordKeepsWhatWasSavedAndOverwritesNoOtherClerksChange)
{
    FrmBatchUpdate& form = open();
    form.chkSimulate->setChecked(false);
    setBoxes(form, "Paracetamol", {"", "500mg", "", ""}, {"", "650mg", "", ""});
    const auto other = Connection::openEmbedded(copy.path());
    connection->beforeSave = [&](int save) {
        if (save == 2)
            other->executeNative("UPDATE " + other->nativeTableName(kMedicine)
                                     + " SET Dosage = '250mg' WHERE IDNum = 'T0001' AND Quantity = 2",
                                 {});
    };
    user->log.clear();
    form.cmdDrugs->click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr(kRecordChangedMessage));
    EXPECT_EQ(messages.warned, messages.shown);
    // The log shows the change that was saved and the record that was not.
    EXPECT_THAT(user->log, ElementsAre("T0001 Paracetamol  from:500mg to:650mg",
                                       QString("T0001 Paracetamol not saved: ") + kRecordChangedMessage));
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("IDNum T0001, GenericName Paracetamol"));
    EXPECT_EQ(medicine("Dosage", "T0001", "10"), "650mg");
    EXPECT_EQ(medicine("Dosage", "T0001", "2"), "250mg");
    EXPECT_EQ(medicine("Dosage", "O'B0003", "10"), "500mg");
    EXPECT_EQ(form.Grid1->text(3, 3), "500mg");
    EXPECT_EQ(form.Grid1->rowCount(), 4);
    EXPECT_EQ(form.cmdDrugs->text(), "List Drugs");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.txtFieldTO[1]->text(), "650mg");

    // A text the column cannot take stops the run before anything of that record is saved.
    connection->beforeSave = nullptr;
    const int savesBefore = connection->saves;
    setBoxes(form, "Paracetamol", {"10", "", "", ""}, {"ten", "", "Oral", ""});
    user->log.clear();
    form.cmdDrugs->click();
    ASSERT_EQ(messages.shown.size(), 2);
    ASSERT_EQ(user->log.size(), 1);
    EXPECT_TRUE(user->log[0].startsWith("T0001 Paracetamol not saved: ")) << user->log[0].toStdString();
    EXPECT_THAT(messages.shown[1].toStdString(), HasSubstr("IDNum T0001, GenericName Paracetamol"));
    EXPECT_EQ(connection->saves, savesBefore);
    EXPECT_EQ(medicine("Dosage", "T0001", "10"), "650mg");

    // A save the database could not say it kept or dropped is not called unsaved.
    connection->beforeSave = [](int) {
        throw DatabaseError("The connection to the database was lost: Read from the server failed\nWhether the "
                            "record was saved is not known.",
                            DatabaseErrorKind::SaveOutcomeUnknown);
    };
    setBoxes(form, "Paracetamol", {"", "650mg", "", ""}, {"", "500mg", "", ""});
    user->log.clear();
    form.cmdDrugs->click();
    ASSERT_EQ(messages.shown.size(), 3);
    ASSERT_FALSE(user->log.isEmpty());
    EXPECT_TRUE(user->log.last().startsWith("T0001 Paracetamol may not have been saved: ")) << user->log.last().toStdString();
    EXPECT_THAT(messages.shown[2].toStdString(), HasSubstr("GenericName Paracetamol; this record may not have been saved."));
}

// A run that ends between a record's change and its commit (a crash, a full disk)
// leaves no change line for that record: the log shows only what was saved.
TEST_F(BatchUpdateTest, ChangeLinesAreWrittenOnlyOnceTheirRecordIsSaved)
{
    FrmBatchUpdate& form = open();
    form.chkSimulate->setChecked(false);
    setBoxes(form, "Paracetamol", {"", "500mg", "", ""}, {"", "650mg", "", ""});
    connection->beforeSave = [&](int save) {
        if (save == 2)
            throw DatabaseError("disk I/O error");
    };
    user->log.clear();
    form.cmdDrugs->click();
    EXPECT_THAT(user->log, ElementsAre("T0001 Paracetamol  from:500mg to:650mg",
                                       "T0001 Paracetamol not saved: disk I/O error"));
    EXPECT_EQ(medicine("Dosage", "T0001", "10"), "650mg");
    EXPECT_EQ(medicine("Dosage", "T0001", "2"), "500mg");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("this record was not saved"));

    // The other way round: saved, but the log cannot take its line. The clerk is
    // told that the record was saved, not that it was not.
    connection->beforeSave = nullptr;
    user->logFailure = "The user log /x/clerk.log cannot be written: No space left on device";
    form.cmdDrugs->click();
    EXPECT_EQ(medicine("Dosage", "T0001", "2"), "650mg");
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_THAT(messages.shown[1].toStdString(),
                HasSubstr("IDNum T0001, GenericName Paracetamol was saved, but the user log could not be written: "
                          "The user log /x/clerk.log cannot be written"));
    EXPECT_THAT(messages.shown[1].toStdString(), Not(HasSubstr("not saved")));
    EXPECT_EQ(form.Grid1->text(3, 3), "650mg");
}

TEST_F(BatchUpdateTest, ANegativeQuantityIsRefusedBeforeAnythingIsListedOrSaved)
{
    FrmBatchUpdate& form = open();
    for (const bool simulate : {true, false}) {
        form.chkSimulate->setChecked(simulate);
        setBoxes(form, "Paracetamol", {"10", "", "", ""}, {"-1", "", "", ""});
        user->log.clear();
        form.cmdDrugs->click();
        EXPECT_TRUE(user->log.isEmpty()) << user->log.join('\n').toStdString();
        EXPECT_EQ(connection->saves, 0);
        EXPECT_EQ(form.Grid1->rowCount(), 2); // nothing listed
        ASSERT_FALSE(messages.warned.isEmpty());
        EXPECT_THAT(messages.warned.last().toStdString(), HasSubstr("A quantity cannot be negative"));
        EXPECT_EQ(form.txtFieldTO[0]->text(), "-1"); // kept for the clerk to correct
    }
    // A record listed with a negative quantity can still be corrected, and its other
    // fields changed while the quantity stays as it is.
    setBoxes(form, "Paracetamol", {"-1", "500mg", "", ""}, {"-1", "650mg", "", ""});
    const int warnings = int(messages.warned.size());
    form.cmdDrugs->click();
    EXPECT_EQ(messages.warned.size(), warnings);
}

} // namespace
} // namespace vantik::test
