// What the ODBC backend does when SQL Server fails a statement: a wait that runs
// out, a deadlock, a connection that breaks before or after a save committed.

#include "host/data/odbc_api.h"
#include "host/data/odbc_session.h"
#include "recorded_sql_server.h"

#include <gtest/gtest.h>

using namespace vantik;
using test::catalog;
using test::column;
using test::kBatchStart;
using test::RecordingOdbcSession;
using test::rows;

namespace {

const QString kSettings = "SET DATEFORMAT mdy;\nSET LOCK_TIMEOUT 5000;";

class SqlServerFailuresTest : public test::RecordedSqlServerTest {
protected:
    // The save batches sent so far.
    int batches() const
    {
        return static_cast<int>(std::count_if(server->sent.begin(), server->sent.end(), [](const auto& sent) {
            return sent.statement.startsWith(kBatchStart);
        }));
    }

    // Fails the next save batches with an error of that kind.
    void failBatches(int count, DatabaseErrorKind kind, const QString& message)
    {
        server->onSend = [count, kind, message](const RecordingOdbcSession::Sent& sent) mutable {
            if (sent.statement.startsWith(kBatchStart) && count-- > 0)
                throw DatabaseError(message, kind);
        };
    }

    Recordset profile;
};

const QString kDeadlock = "Transaction (Process ID 57) was deadlocked on lock resources with another process and has "
                          "been chosen as the deadlock victim. Rerun the transaction.";
const QString kReadFailed = "[FreeTDS][SQL Server]Read from the server failed";

} // namespace

TEST(OdbcDiagnostics, TellWhetherToWaitRetryOrReconnect)
{
    struct Case {
        std::vector<OdbcDiagnostic> diagnostics;
        DatabaseErrorKind kind;
    };
    const Case cases[] = {
        {{{"01000", 5701, "Changed database context to 'Station'."}, {"40001", 1205, kDeadlock}},
         DatabaseErrorKind::Deadlock},
        {{{"HY000", 1222, "Lock request time out period exceeded."}}, DatabaseErrorKind::LockTimeout},
        {{{"HYT00", 0, "[FreeTDS][SQL Server]Timeout expired"}}, DatabaseErrorKind::QueryTimeout},
        {{{"HYT00", 0, "[Microsoft][ODBC Driver 18 for SQL Server]Query timeout expired"}},
         DatabaseErrorKind::QueryTimeout},
        {{{"08S01", 20004, kReadFailed}}, DatabaseErrorKind::ConnectionLost},
        {{{"08S01", 10054, "TCP Provider: An existing connection was forcibly closed by the remote host."}},
         DatabaseErrorKind::ConnectionLost},
        {{{"HY000", 20047, "[FreeTDS][SQL Server]DBPROCESS is dead or not enabled"}},
         DatabaseErrorKind::ConnectionLost},
        {{{"23000", 2627, "Violation of PRIMARY KEY constraint 'PK_tbNurseProfile'."}}, DatabaseErrorKind::General},
        {{{"42000", 229, "The UPDATE permission was denied on the object 'tbcoUsers'."}}, DatabaseErrorKind::General},
        {{}, DatabaseErrorKind::General},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.diagnostics.empty() ? std::string() : c.diagnostics.back().message.toStdString());
        EXPECT_EQ(odbcErrorKind(c.diagnostics), c.kind);
    }
}

TEST(OdbcColumns, ABitIsABitAndACutDateTimeIsToldApart)
{
    // QODBC hands a bit over as an unsigned integer: only the ODBC type tells.
    EXPECT_EQ(odbcColumnType(QMetaType::UInt, SQL_BIT), SqlType::Bit);
    EXPECT_EQ(odbcColumnType(QMetaType::Int, SQL_BIT), SqlType::Bit);
    EXPECT_EQ(odbcColumnType(QMetaType::UInt, SQL_INTEGER), SqlType::Integer);
    EXPECT_EQ(odbcColumnType(QMetaType::QString, SQL_VARCHAR), SqlType::Text);
    // datetime has three decimals, datetime2(7) seven, datetimeoffset (-155) an offset.
    EXPECT_FALSE(odbcColumnImprecise(SQL_TYPE_TIMESTAMP, 3));
    EXPECT_TRUE(odbcColumnImprecise(SQL_TYPE_TIMESTAMP, 7));
    EXPECT_TRUE(odbcColumnImprecise(-155, 7));
    EXPECT_FALSE(odbcColumnImprecise(SQL_VARCHAR, 0));
}

TEST_F(SqlServerFailuresTest, ADeadlockVictimsBatchRunsAgainAndALockWaitEndsInRecordBusy)
{
    openProfile(profile);
    failBatches(kDeadlockAttempts - 1, DatabaseErrorKind::Deadlock, kDeadlock);
    server->answers.push_back(RecordingOdbcSession::saved(1));
    profile.setField("CF4Status", "VERIFIED");
    EXPECT_EQ(messageOf([&] { profile.update(); }), "(no error)");
    EXPECT_EQ(batches(), kDeadlockAttempts);

    // A victim every time: given up, and nothing was saved (the server rolled
    // every run back).
    failBatches(100, DatabaseErrorKind::Deadlock, kDeadlock);
    profile.setField("CF4Status", "OPEN");
    EXPECT_EQ(messageOf([&] { profile.update(); }),
              "Record busy, try again: the database stopped this work 3 times to let another user's go first. "
              "Nothing was saved.");
    EXPECT_EQ(batches(), 2 * kDeadlockAttempts);

    // Another clerk's lock held past the lock timeout: said at once, not retried.
    failBatches(1, DatabaseErrorKind::LockTimeout, "Lock request time out period exceeded.");
    EXPECT_EQ(messageOf([&] { profile.update(); }), QString(kRecordBusyMessage) + " Nothing was saved.");
    EXPECT_EQ(batches(), 2 * kDeadlockAttempts + 1);
}

TEST_F(SqlServerFailuresTest, AfterALostConnectionTheRowIsReadAgainToTellWhetherTheSaveWentThrough)
{
    openProfile(profile);
    const QString check = "SELECT COUNT(*) AS SavedRows FROM [Station]..[tbNurseProfile] WHERE [IDNum] = CAST(? AS "
                          "varchar(12)) AND ([IDNum] + N'|') COLLATE Latin1_General_BIN2 = ? + N'|' AND ([CF4Status] + "
                          "N'|') COLLATE Latin1_General_BIN2 = ? + N'|';";

    // Lost just after the COMMIT: the row holds what the save wrote, so it was saved.
    failBatches(1, DatabaseErrorKind::ConnectionLost, kReadFailed);
    server->answers.push_back(RecordingOdbcSession::saved(1));
    profile.setField("CF4Status", "VERIFIED");
    EXPECT_EQ(messageOf([&] { profile.update(); }), "(no error)");
    ASSERT_GE(server->sent.size(), 4u);
    const auto tail = server->sent.end() - 4;
    EXPECT_TRUE(tail[0].statement.startsWith(kBatchStart));
    EXPECT_EQ(tail[1].statement, RecordingOdbcSession::kReconnected);
    EXPECT_EQ(tail[2].statement, kSettings);
    EXPECT_EQ(tail[3].statement, check);
    EXPECT_EQ(tail[3].parameters, QVariantList({"2400001", "2400001", "VERIFIED"}));
    EXPECT_EQ(profile.field("CF4Status"), "VERIFIED");

    // Lost before it: the row is as it was, and the clerk is told so.
    failBatches(1, DatabaseErrorKind::ConnectionLost, kReadFailed);
    server->answers.push_back(RecordingOdbcSession::saved(0));
    profile.setField("CF4Status", "OPEN");
    EXPECT_EQ(messageOf([&] { profile.update(); }),
              "The connection to the database was lost: " + kReadFailed
                  + "\nThe record was read again: it was not saved. Try again.");

    // The server cannot be reached again: nobody can tell, and nobody pretends to.
    failBatches(1, DatabaseErrorKind::ConnectionLost, kReadFailed);
    server->onReconnect = [] {
        throw DatabaseError("Unable to connect: Adaptive Server is unavailable or does not exist",
                            DatabaseErrorKind::ConnectionLost);
    };
    EXPECT_TRUE(messageOf([&] { profile.update(); })
                    .contains("Whether the record was saved is not known: it could not be read again"));
    EXPECT_TRUE(messageOf([&] { connection->execute("SELECT 1"); }).contains("could not be opened again"));

    // Once the server is back, the next statement opens the connection again.
    server->onReconnect = nullptr;
    const std::size_t before = server->sent.size();
    EXPECT_EQ(messageOf([&] { connection->execute("SELECT 1"); }), "(no error)");
    ASSERT_EQ(server->sent.size(), before + 3);
    EXPECT_EQ(server->sent[before].statement, RecordingOdbcSession::kReconnected);
    EXPECT_EQ(server->sent[before + 1].statement, kSettings);
}

TEST_F(SqlServerFailuresTest, AnInsertLostMidwayIsLookedForByWhatItWrote)
{
    server->answers.push_back(catalog({column("ID", "int", 4, 10, 0, 0, 1), column("IDNum", "varchar", 12),
                                       column("CourseNotes", "varchar", 1000), column("Notes", "text", 16)}));
    server->answers.push_back(rows({"IDNum", "CourseNotes", "Notes", "__vantik_key_0"}, {}));
    Recordset note;
    note.open("SELECT IDNum, CourseNotes, Notes FROM Station..tbCourseWard WHERE IDNum = '1'", *connection,
              CursorType::Keyset, LockType::Optimistic);
    note.addNew();
    note.setField("IDNum", "1");
    note.setField("CourseNotes", "Improved");
    note.setField("Notes", "long");
    failBatches(1, DatabaseErrorKind::QueryTimeout, "[FreeTDS][SQL Server]Timeout expired");
    server->answers.push_back(RecordingOdbcSession::saved(1));
    EXPECT_EQ(messageOf([&] { note.update(); }), "(no error)");
    // The timeout left the connection as it was; the large text cannot be compared.
    EXPECT_EQ(server->sent.back().statement,
              "SELECT COUNT(*) AS SavedRows FROM [Station]..[tbCourseWard] WHERE ([IDNum] + N'|') COLLATE "
              "Latin1_General_BIN2 = ? + N'|' AND ([CourseNotes] + N'|') COLLATE Latin1_General_BIN2 = ? + N'|';");
    EXPECT_EQ(server->sent.back().parameters, QVariantList({"1", "Improved"}));
    // Its new key is not known, so it is read again before it is saved again.
    note.setField("CourseNotes", "Improved further");
    EXPECT_TRUE(messageOf([&] { note.update(); }).contains("can be saved again only after it is read again"));
}

TEST_F(SqlServerFailuresTest, AReadThatLostItsConnectionIsReadOnceMoreOnANewOne)
{
    bool lose = true;
    server->onSend = [&](const RecordingOdbcSession::Sent& sent) {
        if (lose && sent.statement.startsWith("SELECT")) {
            lose = false;
            throw DatabaseError(kReadFailed, DatabaseErrorKind::ConnectionLost);
        }
    };
    server->answers.push_back(rows({"IDNum"}, {{"2400001"}}));
    const RawResult read = connection->fetch("SELECT IDNum FROM Patient_Data..tbPatient");
    ASSERT_EQ(read.rows.size(), 1u);
    ASSERT_EQ(server->sent.size(), 4u);
    EXPECT_EQ(server->sent[1].statement, RecordingOdbcSession::kReconnected);
    EXPECT_EQ(server->sent[2].statement, kSettings);
    EXPECT_EQ(server->sent[3].statement, "SELECT IDNum FROM Patient_Data..tbPatient");
}
