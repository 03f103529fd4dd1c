// The statements the ODBC backend sends to SQL Server when a recordset reads and
// saves, exactly as the server receives them: the contract with the hospital's
// server, which cannot run here.

#include "host/data/recordset.h"
#include "host/data/select_where.h"
#include "recorded_sql_server.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vantik;
using test::catalog;
using test::column;
using test::kBatchStart;
using test::kInsertEnd;
using test::kUpdateEnd;
using test::RecordingOdbcSession;
using test::rows;

namespace {

class SqlServerStatementsTest : public test::RecordedSqlServerTest {};

const QString kGuStatement = "SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE  IDNum='24000001' AND "
                             "AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND Description='OTHERS' ";

RawResult conditionsCatalog()
{
    return catalog({column("ID", "int", 4, 10, 0, 0, 1), column("IDNum", "varchar", 20),
                    column("AreaCat", "varchar", 40), column("AreaSubCat", "varchar", 40),
                    column("Description", "varchar", 80), column("Code", "varchar", 10),
                    column("Result", "nvarchar", 20), column("Remarks", "varchar", 200)});
}

} // namespace

TEST_F(SqlServerStatementsTest, AnInsertChecksAbsenceUnderLockAndReadsItsKeyInTheSameBatch)
{
    server->answers.push_back(conditionsCatalog());
    server->answers.push_back(rows({"ID", "IDNum", "AreaCat", "AreaSubCat", "Description", "Code", "Result", "Remarks",
                                    "__vantik_key_0"},
                                   {}));
    Recordset gu;
    gu.open(kGuStatement, *connection, CursorType::Dynamic, LockType::Optimistic);
    ASSERT_EQ(server->sent.size(), 2u);
    EXPECT_EQ(server->sent[0].statement,
              "SELECT C.name, TYPE_NAME(C.system_type_id), C.max_length, C.precision, C.scale, C.is_computed, "
              "ISNULL(K.key_ordinal, 0) FROM [PATIENT_DATA].sys.columns AS C "
              "LEFT JOIN ([PATIENT_DATA].sys.indexes AS I JOIN [PATIENT_DATA].sys.index_columns AS K "
              "ON K.object_id = I.object_id AND K.index_id = I.index_id) "
              "ON I.object_id = C.object_id AND I.is_primary_key = 1 AND K.column_id = C.column_id "
              "WHERE C.object_id = OBJECT_ID(N'[PATIENT_DATA]..[tbPatientConditions]') ORDER BY C.column_id");
    EXPECT_EQ(server->sent[1].statement,
              "SELECT *, [ID] AS [__vantik_key_0] FROM PATIENT_DATA..tbPatientConditions WHERE  IDNum='24000001' AND "
              "AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND Description='OTHERS' ");
    ASSERT_TRUE(gu.eof());

    gu.addNew();
    gu.setField("IDNum", "24000001");
    gu.setField("AreaCat", "PhysicalExam");
    gu.setField("Code", "X");
    server->answers.push_back(RecordingOdbcSession::saved(1, 42));
    gu.update();
    ASSERT_EQ(server->sent.size(), 3u);
    EXPECT_EQ(server->sent[2].statement,
              kBatchStart
                  + "IF NOT EXISTS (SELECT 1 FROM [PATIENT_DATA]..[tbPatientConditions] WITH (UPDLOCK, HOLDLOCK) "
                    "WHERE  IDNum='24000001' AND AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND "
                    "Description='OTHERS')\n"
                    "INSERT INTO [PATIENT_DATA]..[tbPatientConditions] ([IDNum], [AreaCat], [Code]) OUTPUT 1 INTO "
                    "@saved VALUES (?, ?, ?);\n"
                  + kInsertEnd);
    EXPECT_EQ(server->sent[2].parameters, QVariantList({"24000001", "PhysicalExam", "X"}));

    // Saved again: found by the key the server gave, the text compared exactly.
    gu.setField("Result", "1");
    server->answers.push_back(RecordingOdbcSession::saved(1));
    gu.update();
    ASSERT_EQ(server->sent.size(), 4u);
    EXPECT_EQ(server->sent[3].statement, kBatchStart
                                             + "UPDATE [PATIENT_DATA]..[tbPatientConditions] SET [Result] = ? OUTPUT 1 "
                                               "INTO @saved WHERE [ID] = ?;\n"
                                             + kUpdateEnd);
    EXPECT_EQ(server->sent[3].parameters, QVariantList({"1", qlonglong(42)}));

    // Another clerk got there first: the batch inserted nothing.
    Recordset late;
    server->answers.push_back(rows({"ID", "__vantik_key_0"}, {}));
    late.open("SELECT ID FROM PATIENT_DATA..tbPatientConditions P WHERE P.IDNum = 'X''1' ORDER BY P.ID", *connection,
              CursorType::Dynamic, LockType::Optimistic);
    late.addNew();
    server->answers.push_back(RecordingOdbcSession::saved(0, QVariant(QMetaType::fromType<double>())));
    EXPECT_EQ(messageOf([&] { late.update(); }), kRecordChangedMessage);
    EXPECT_EQ(server->sent.back().statement,
              kBatchStart
                  + "IF NOT EXISTS (SELECT 1 FROM [PATIENT_DATA]..[tbPatientConditions] AS P WITH (UPDLOCK, HOLDLOCK) "
                    "WHERE P.IDNum = 'X''1')\n"
                    "INSERT INTO [PATIENT_DATA]..[tbPatientConditions] OUTPUT 1 INTO @saved DEFAULT VALUES;\n"
                  + kInsertEnd);
}

TEST_F(SqlServerStatementsTest, AnUpdateComparesExactlyAndTrustsOnlyItsOwnCount)
{
    server->answers.push_back(catalog({column("ID", "int", 4, 10, 0, 0, 1), column("Dosage", "varchar", 40),
                                       column("Route", "nchar", 20), column("Quantity", "decimal", 9, 18, 2),
                                       column("OrderDate", "datetime", 8, 23, 3), column("Notes", "ntext", 16),
                                       column("Total", "decimal", 9, 18, 2, 1)}));
    const QDateTime ordered(QDate(2026, 11, 2), QTime(9, 0, 0, 3));
    server->answers.push_back(rows({"ID", "Dosage", "Route", "Quantity", "OrderDate", "Notes", "__vantik_key_0"},
                                   {{7, "500mg", "Oral      ", "2.50", ordered, "long", 7}}));
    Recordset drug;
    drug.setUpdateCriteria(UpdateCriteria::AllColumns);
    drug.open("SELECT ID, Dosage, Route, Quantity, OrderDate, Notes FROM Patient_Data..tbPatientMedicine WITH (NOLOCK) "
              "WHERE IDNum = '1'",
              *connection, CursorType::ForwardOnly, LockType::Optimistic);
    EXPECT_EQ(server->sent[1].statement,
              "SELECT ID, Dosage, Route, Quantity, OrderDate, Notes, [ID] AS [__vantik_key_0] FROM "
              "Patient_Data..tbPatientMedicine WITH (NOLOCK) WHERE IDNum = '1'");
    drug.setField("Quantity", "3");
    drug.setField("OrderDate", "11/3/2026 8:00 AM");
    EXPECT_TRUE(messageOf([&] { drug.setField("Notes", QStringLiteral("a") + QChar(0)); }).contains("NUL"));
    server->answers.push_back(RecordingOdbcSession::saved(1));
    drug.update();
    // Text exact (nchar: the read value keeps its padding), the time as ISO 8601
    // text, the large text left out, the computed column never read.
    EXPECT_EQ(server->sent[2].statement,
              kBatchStart
                  + "UPDATE [Patient_Data]..[tbPatientMedicine] SET [Quantity] = ?, [OrderDate] = ? OUTPUT 1 INTO "
                    "@saved WHERE [ID] = ? AND [Quantity] = ? AND [OrderDate] = ? AND ([Dosage] + N'|') COLLATE "
                    "Latin1_General_BIN2 = ? + N'|' AND ([Route] + N'|') COLLATE Latin1_General_BIN2 = ? + N'|';\n"
                  + kUpdateEnd);
    EXPECT_EQ(server->sent[2].parameters,
              QVariantList({"3", "2026-11-03T08:00:00.000", 7, "2.50", "2026-11-02T09:00:00.003",
                            "500mg", "Oral      "}));

    // The count says nothing was found: someone changed it.
    drug.setField("Dosage", "250mg");
    server->answers.push_back(RecordingOdbcSession::saved(0));
    EXPECT_EQ(messageOf([&] { drug.update(); }), kRecordChangedMessage);
    // Two rows hit: the batch rolled back; the clerk is told, not reassured.
    server->answers.push_back(RecordingOdbcSession::saved(2));
    EXPECT_EQ(messageOf([&] { drug.update(); }),
              "The save would have changed 2 rows of tbPatientMedicine; nothing was saved.");
    // No answer at all (a driver that lost the result) is no success either.
    EXPECT_NE(messageOf([&] { drug.update(); }), "(no error)");
    EXPECT_EQ(drug.field("Dosage"), "250mg");
}

TEST_F(SqlServerStatementsTest, ATableWithoutKeyIsFoundByEveryComparableColumn)
{
    server->answers.push_back(catalog({column("IDNum", "varchar", 20), column("Code", "char", 2),
                                       column("Result", "int", 4, 10), column("Remarks", "varchar", -1),
                                       column("Notes", "text", 16), column("Shown", "varchar", 30, 0, 0, 1)}));
    server->answers.push_back(rows({"Code", "__vantik_key_0", "__vantik_key_1", "__vantik_key_2", "__vantik_key_3"},
                                   {{"N ", "X1", "N ", 0, QVariant()}}));
    Recordset gu;
    gu.open("SELECT Code FROM Patient_Data..tbConditionsNoKey WHERE IDNum = 'X1'", *connection, CursorType::Dynamic,
            LockType::Optimistic);
    EXPECT_EQ(server->sent[1].statement,
              "SELECT Code, [IDNum] AS [__vantik_key_0], [Code] AS [__vantik_key_1], [Result] AS [__vantik_key_2], "
              "[Remarks] AS [__vantik_key_3] FROM Patient_Data..tbConditionsNoKey WHERE IDNum = 'X1'");
    EXPECT_EQ(messageOf([&] { gu.setField("Code", "XYZ"); }),
              "String or binary data would be truncated. Code holds at most 2 characters.");
    gu.setField("Code", "X");
    server->answers.push_back(RecordingOdbcSession::saved(2));
    EXPECT_EQ(messageOf([&] { gu.update(); }), "tbConditionsNoKey has several identical rows; nothing was saved.");
    EXPECT_EQ(server->sent[2].statement,
              kBatchStart
                  + "UPDATE [Patient_Data]..[tbConditionsNoKey] SET [Code] = ? OUTPUT 1 INTO @saved WHERE ([IDNum] + "
                    "N'|') COLLATE Latin1_General_BIN2 = ? + N'|' AND ([Code] + N'|') COLLATE Latin1_General_BIN2 = ? "
                    "+ N'|' AND [Result] = ? AND [Remarks] IS NULL;\n"
                  + kUpdateEnd);
    EXPECT_EQ(server->sent[2].parameters, QVariantList({"X", "X1", "N ", 0}));

    // One row found: saved, and the next save looks for what char(2) now holds.
    server->answers.push_back(RecordingOdbcSession::saved(1));
    gu.update();
    gu.setField("Code", "Y");
    server->answers.push_back(RecordingOdbcSession::saved(1));
    gu.update();
    EXPECT_EQ(server->sent.back().parameters, QVariantList({"Y", "X1", "X ", 0}));
}

TEST_F(SqlServerStatementsTest, ValuesAreBoundInFormsEveryLanguageReadsAlike)
{
    sqlcompat::ColumnInfo when;
    when.name = "CourseDate";
    when.type = SqlType::DateTime;
    EXPECT_EQ(connection->nativeValue("11/2/2026 9:00:00 AM", when), "2026-11-02T09:00:00.000");
    EXPECT_THROW(connection->nativeValue("31/12/2026", when), DatabaseError);
    sqlcompat::ColumnInfo flag;
    flag.name = "IsChemo";
    flag.type = SqlType::Bit;
    EXPECT_EQ(connection->nativeValue("True", flag), qlonglong(1));
    EXPECT_THROW(connection->lastInsertedKey(), DatabaseError);
    EXPECT_EQ(connection->description(), "SQL Server (ODBC)");
}

TEST(SelectWhereClause, EndsAtTheStatementsOwnOrderByAndDropsComments)
{
    const std::string tsql = "SELECT [Order By] FROM db..t WHERE Note = 'x ORDER BY y' AND ID IN (SELECT TOP 1 ID FROM "
                             "db..u WHERE [where] = 1 ORDER BY ID) -- the last\n ORDER  BY ID;";
    EXPECT_EQ(selectWhereClause(tsql, tsql.find(" FROM")),
              "WHERE Note = 'x ORDER BY y' AND ID IN (SELECT TOP 1 ID FROM db..u WHERE [where] = 1 ORDER BY ID)");
    const std::string none = "SELECT * FROM db..t /* WHERE */ ORDER BY ID";
    EXPECT_EQ(selectWhereClause(none, none.find(" FROM")), "");
}

TEST(SqlServerSession, EveryConnectionReadsTypedDatesMonthFirstWhateverTheLoginsLanguage)
{
    // A login whose language reads day first would take a typed 12/01/2026 as 12
    // January: the date format is set before anything else, so the statement
    // after it reads alike under every language.
    auto session = std::make_unique<RecordingOdbcSession>();
    RecordingOdbcSession* server = session.get();
    OdbcConnection connection(std::move(session));
    const QString worklist = "SELECT IDNum FROM Patient_Data..tbPatient WHERE ADMDATE >= '12/01/2026'";
    connection.execute(worklist);
    ASSERT_EQ(server->sent.size(), 2u);
    EXPECT_EQ(server->sent[0].statement, "SET DATEFORMAT mdy;\nSET LOCK_TIMEOUT 5000;");
    EXPECT_EQ(server->sent[1].statement, worklist);

    // SQLite through ODBC knows no such settings.
    auto sqlite = std::make_unique<RecordingOdbcSession>("SQLite");
    RecordingOdbcSession* sqliteServer = sqlite.get();
    OdbcConnection sqliteConnection(std::move(sqlite));
    EXPECT_TRUE(sqliteServer->sent.empty());
}

TEST_F(SqlServerStatementsTest, DateTimesGoAsIsoTextWithTheirMilliseconds)
{
    // Bound as a date-time, QODBC would cut the milliseconds FreeTDS does not
    // announce: a note written at .000 is never found again at .997.
    server->answers.push_back(catalog({column("ID", "int", 4, 10, 0, 0, 1), column("IDNum", "varchar", 12),
                                       column("CourseDate", "datetime", 8, 23, 3),
                                       column("CourseNotes", "varchar", 1000)}));
    for (const int millisecond : {3, 997}) {
        SCOPED_TRACE(millisecond);
        server->answers.push_back(rows({"IDNum", "CourseDate", "CourseNotes", "__vantik_key_0"}, {}));
        Recordset note;
        note.open("SELECT IDNum, CourseDate, CourseNotes FROM Station..tbCourseWard WHERE IDNum = '1'", *connection,
                  CursorType::Keyset, LockType::Optimistic);
        note.addNew();
        note.setField("CourseDate", QDateTime(QDate(2026, 11, 2), QTime(9, 0, 0, millisecond)));
        note.setField("CourseNotes", "Discharged");
        server->answers.push_back(RecordingOdbcSession::saved(1, 5));
        note.update();
        EXPECT_EQ(server->sent.back().parameters,
                  QVariantList({QStringLiteral("2026-11-02T09:00:00.%1").arg(millisecond, 3, 10, QLatin1Char('0')),
                                "Discharged"}));
    }
}

TEST_F(SqlServerStatementsTest, ARowIsFoundByAnEqualityOnItsKeyThatAnIndexServes)
{
    // Only the binary-collation comparison would scan the whole table under
    // update locks: the key's own equality, the parameter cast to the column's
    // type, comes first, and the exact comparison still decides.
    Recordset profile;
    openProfile(profile, "2400001 ");
    profile.setField("CF4Status", "VERIFIED");
    server->answers.push_back(RecordingOdbcSession::saved(1));
    profile.update();
    EXPECT_EQ(server->sent.back().statement,
              kBatchStart
                  + "UPDATE [Station]..[tbNurseProfile] SET [CF4Status] = ? OUTPUT 1 INTO @saved WHERE [IDNum] = "
                    "CAST(? AS varchar(12)) AND ([IDNum] + N'|') COLLATE Latin1_General_BIN2 = ? + N'|' AND "
                    "([CF4Status] + N'|') COLLATE Latin1_General_BIN2 = ? + N'|';\n"
                  + kUpdateEnd);
    EXPECT_EQ(server->sent.back().parameters, QVariantList({"VERIFIED", "2400001 ", "2400001 ", "OPEN"}));
}

TEST_F(SqlServerStatementsTest, OnlyTheBatchsNamedResultCountsTheSavedRows)
{
    // An old audit trigger that returns a SELECT answers before the batch does.
    Recordset profile;
    openProfile(profile);
    RawResult trigger = rows({"AuditID"}, {{77}});
    trigger.laterResults.push_back(RecordingOdbcSession::saved(1));
    server->answers.push_back(trigger);
    profile.setField("CF4Status", "VERIFIED");
    EXPECT_EQ(messageOf([&] { profile.update(); }), "(no error)");

    // Without the named result the trigger's rows say nothing about the save.
    server->answers.push_back(rows({"AuditID"}, {{1}}));
    profile.setField("CF4Status", "OPEN");
    EXPECT_EQ(messageOf([&] { profile.update(); }),
              "The server did not say how many rows the save wrote; it may not have been saved.");
}

TEST_F(SqlServerStatementsTest, Datetime2AndDatetimeoffsetAreReadWholeAndComparedAsRead)
{
    // The driver cuts a datetime2 to the millisecond and hands a datetimeoffset
    // over as bytes: compared like that, every save would be refused as changed.
    server->answers.push_back(catalog({column("OrderID", "int", 4, 10, 0, 0, 1), column("OrderDate", "datetime2", 8, 27, 7),
                                       column("SignedAt", "datetimeoffset", 10, 34, 7),
                                       column("OrderText", "varchar", 500)}));
    const QString statement = "SELECT OrderID, OrderDate, SignedAt, OrderText FROM Station..tbDoctorOrders WHERE "
                              "IDNum = '1'";
    const auto driverRows = [] {
        RawResult cut = rows({"OrderID", "OrderDate", "SignedAt", "OrderText", "__vantik_key_0"},
                             {{7, QDateTime(QDate(2026, 11, 2), QTime(9, 0, 0, 123)), QByteArray("\x07\xea"),
                               "CBC", 7}});
        cut.imprecise = {false, true, true, false, false};
        return cut;
    };
    const std::vector<QVariant> whole = {7, QDateTime(QDate(2026, 11, 2), QTime(9, 0, 0, 123)),
                                         QByteArray("\x07\xea"), "CBC", 7, "2026-11-02 09:00:00.1234567",
                                         "2026-11-02 09:00:00.1234567 +08:00"};
    const QStringList wholeNames = {"OrderID", "OrderDate", "SignedAt", "OrderText", "__vantik_key_0",
                                    "__vantik_exact_0", "__vantik_exact_1"};
    server->answers.push_back(driverRows());
    server->answers.push_back(rows(wholeNames, {whole}));
    Recordset order;
    order.setUpdateCriteria(UpdateCriteria::AllColumns);
    order.open(statement, *connection, CursorType::Keyset, LockType::Optimistic);
    ASSERT_EQ(server->sent.size(), 3u);
    EXPECT_EQ(server->sent[2].statement,
              "SELECT OrderID, OrderDate, SignedAt, OrderText, [OrderID] AS [__vantik_key_0], CONVERT(nvarchar(40), "
              "[OrderDate], 121) AS [__vantik_exact_0], CONVERT(nvarchar(40), [SignedAt], 121) AS [__vantik_exact_1] "
              "FROM Station..tbDoctorOrders WHERE IDNum = '1'");
    EXPECT_EQ(order.field("OrderDate"), "11/2/2026 9:00:00 AM");
    EXPECT_EQ(order.field("SignedAt"), "11/2/2026 9:00:00 AM +08:00");
    EXPECT_EQ(order.dateTimeField("OrderDate"), QDateTime(QDate(2026, 11, 2), QTime(9, 0, 0, 123)));

    order.setField("OrderText", "CBC, urinalysis");
    server->answers.push_back(RecordingOdbcSession::saved(1));
    order.update();
    EXPECT_EQ(server->sent.back().statement,
              kBatchStart
                  + "UPDATE [Station]..[tbDoctorOrders] SET [OrderText] = ? OUTPUT 1 INTO @saved WHERE [OrderID] = ? AND "
                    "([OrderText] + N'|') COLLATE Latin1_General_BIN2 = ? + N'|' AND [OrderDate] = ? AND [SignedAt] = "
                    "?;\n"
                  + kUpdateEnd);
    EXPECT_EQ(server->sent.back().parameters,
              QVariantList({"CBC, urinalysis", 7, "CBC", "2026-11-02 09:00:00.1234567",
                            "2026-11-02 09:00:00.1234567 +08:00"}));

    // A window reads the row read-only first and saves only while it is the
    // same: both reads must give the same texts.
    RawResult cutReadOnly = rows({"OrderID", "OrderDate", "SignedAt", "OrderText"},
                                 {{7, QDateTime(QDate(2026, 11, 2), QTime(9, 0, 0, 123)), QByteArray("\x07\xea"), "CBC"}});
    cutReadOnly.imprecise = {false, true, true, false};
    server->answers.push_back(cutReadOnly);
    server->answers.push_back(rows({"OrderID", "OrderDate", "SignedAt", "OrderText", "__vantik_exact_0",
                                    "__vantik_exact_1"},
                                   {{7, QDateTime(), QByteArray(), "CBC", "2026-11-02 09:00:00.1234567",
                                     "2026-11-02 09:00:00.1234567 +08:00"}}));
    Recordset seen;
    seen.open(statement, *connection, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_EQ(server->sent.back().statement,
              "SELECT OrderID, OrderDate, SignedAt, OrderText, CONVERT(nvarchar(40), [OrderDate], 121) AS "
              "[__vantik_exact_0], CONVERT(nvarchar(40), [SignedAt], 121) AS [__vantik_exact_1] FROM "
              "Station..tbDoctorOrders WHERE IDNum = '1'");
    EXPECT_EQ(seen.field("SignedAt"), "11/2/2026 9:00:00 AM +08:00");
}
