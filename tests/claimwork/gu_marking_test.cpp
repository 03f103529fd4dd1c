#include "claim_work_fixture.h"
#include "host/data/connection.h"
#include "host/data/result_set.h"
#include "support/demo_db.h"
#include "support/watched_connection.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class GuMarkingTest : public ClaimWorkTest {
protected:
    void SetUp() override
    {
        startOn(copyOfDemoDb(copy.path()));
        // G2 already has an entry, written by a nurse, and a second one below it.
        for (const QString& remark : {"old", "second"}) {
            user->connection->executeNative(
                "INSERT INTO Patient_Data.tbPatientConditions (IDNum, AreaCat, AreaSubCat, Description, Code, "
                "Result, Remarks, EncodedBy) VALUES ('G2', 'PhysicalExam', 'GU(IE)', 'OTHERS', '', '', ?, 'NURSE')",
                {remark});
        }
        listRows({{"G1", "M"}, {"G2", "M"}, {"G3", "F", "True", "False"}, {"G4", "F", "", "True"},
                  {"G5", "F", "False", ""}, {"G6", "m"}, {"G7", "Male"}});
    }

    /// The GU entries of the test's admissions, in the order they were written.
    QStringList entries()
    {
        const ResultSet rows = user->connection->execute(
            "SELECT IDNum, AreaCat, AreaSubCat, Description, Code, Result, Remarks, EncodedBy FROM "
            "Patient_Data..tbPatientConditions WHERE IDNum LIKE 'G%' ORDER BY ID");
        QStringList lines;
        for (int r = 0; r < rows.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 8; ++c)
                cells.append(rows.text(r, c));
            lines.append(cells.join('|'));
        }
        return lines;
    }

    TempDir copy;
};

TEST_F(GuMarkingTest, MarksCreateOrOverwriteTheEntryOfQualifyingRows)
{
    window->mMarkGU->trigger();
    EXPECT_THAT(journalOf({"SetRowColor"}),
                ElementsAre("SetRowColor 1 16777215", "SetRowColor 1 65280", "SetRowColor 2 16777215",
                            "SetRowColor 2 16711680", "SetRowColor 3 16777215", "SetRowColor 4 16777215",
                            "SetRowColor 5 16777215", "SetRowColor 6 16777215", "SetRowColor 7 16777215"));
    EXPECT_EQ(window->txtLog->toPlainText(), "Marked: G2\nMarked: G1\n");
    EXPECT_THAT(entries(), ElementsAre("G2|PhysicalExam|GU(IE)|OTHERS|X|1|Not Applicable|NURSE",
                                       "G2|PhysicalExam|GU(IE)|OTHERS|||second|NURSE",
                                       "G1|PhysicalExam|GU(IE)|OTHERS|X|1|Not Applicable|"));
    EXPECT_EQ(messageLoop.yields, 7);
    EXPECT_TRUE(window->Grid1->isGridEnabled());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();

    // Female chemotherapy and haemodialysis rows; a second run finds its entries.
    user->journal.clear();
    window->mGUFNotAssessed->trigger();
    window->mGUFNotAssessed->trigger();
    EXPECT_EQ(window->txtLog->toPlainText(), "Marked: G4\nMarked: G3\n");
    EXPECT_THAT(journalOf({"SetRowColor 3", "SetRowColor 4"}),
                ElementsAre("SetRowColor 3 16777215", "SetRowColor 3 65280", "SetRowColor 4 16777215",
                            "SetRowColor 4 65280", "SetRowColor 3 16777215", "SetRowColor 3 16711680",
                            "SetRowColor 4 16777215", "SetRowColor 4 16711680"));
    const QStringList marked = entries();
    EXPECT_EQ(marked.size(), 5);
    EXPECT_EQ(marked.mid(3), QStringList({"G3|PhysicalExam|GU(IE)|OTHERS|X|1|Not Assessed|",
                                          "G4|PhysicalExam|GU(IE)|OTHERS|X|1|Not Assessed|"}));
}

TEST_F(GuMarkingTest, ARefusedSaveEndsTheMarkingAndNamesTheAdmission)
{
    user->connection->executeNative("CREATE TRIGGER Patient_Data.refuseG3 BEFORE INSERT ON tbPatientConditions "
                                    "WHEN NEW.IDNum = 'G3' BEGIN SELECT RAISE(ABORT, 'G3 refused'); END",
                                    {});
    window->txtLog->setPlainText("older activity");
    window->mGUFNotAssessed->trigger();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("G3 refused"));
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("The marking stopped at IDNum G3."));
    // Row 3 was not saved, so it is not coloured as marked; row 4 was never reached.
    EXPECT_EQ(journalOf({"SetRowColor"}).last(), "SetRowColor 3 16777215");
    EXPECT_EQ(window->txtLog->toPlainText(), "");
    EXPECT_TRUE(window->Grid1->isGridEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Another clerk's change between reading and saving an entry is kept.
    auto watched = std::make_unique<WatchedConnection>(std::move(user->connection));
    WatchedConnection* connection = watched.get();
    user->connection = std::move(watched);
    const std::unique_ptr<Connection> other = Connection::openEmbedded(copy.path());
    connection->beforeSave = [&](int save) {
        if (save == 2) // G1 is inserted first, then G2's entry is saved
            other->executeNative("UPDATE Patient_Data.tbPatientConditions SET Remarks = 'by another' WHERE "
                                 "Remarks = 'old'",
                                 {});
    };
    messages.shown.clear();
    window->mMarkGU->trigger();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("changed by another user"));
    EXPECT_THAT(messages.shown[0].toStdString(), HasSubstr("IDNum G2"));
    EXPECT_THAT(entries().filter("G2|").first().toStdString(), HasSubstr("|||by another|"));
}

// A copy of the database files alone, made after a marking while the program is
// still open (or after it was killed), holds what the marking saved: the batch
// wrote its write-ahead log back into the files when it ended.
TEST_F(GuMarkingTest, ACopyOfTheFilesAloneAfterAMarkingHoldsItsEntries)
{
    window->mMarkGU->trigger();
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join('\n').toStdString();
    const QStringList marked = entries();
    ASSERT_EQ(marked.size(), 3);

    TempDir copied;
    for (const char* name : {"Patient_Data", "Build_File", "Station", "MEDICARE"})
        ASSERT_TRUE(QFile::copy(copy.file(QString(name) + ".sqlite"), copied.file(QString(name) + ".sqlite")));
    const ResultSet rows = Connection::openEmbedded(copied.path())
                               ->execute("SELECT IDNum, Remarks FROM Patient_Data..tbPatientConditions WHERE IDNum "
                                         "IN ('G1', 'G2') AND Code = 'X' ORDER BY IDNum");
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(0, 1), "Not Applicable");
    EXPECT_EQ(rows.text(1, 1), "Not Applicable");
}

} // namespace
} // namespace vantik::test
