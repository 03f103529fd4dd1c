// What a recordset's save guarantees, on the embedded engine and on SQLite
// through the ODBC driver (the ODBC code path the hospital's SQL Server uses).

#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/data/small_database.h"
#include "support/temp_dir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vantik;

namespace {

enum class Backend { Embedded, OdbcSqlite };

class SavingTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::Embedded) {
            test::writeSmallDatabase(m_dir.path());
        } else {
            QFile ini(QStringLiteral("/etc/odbcinst.ini"));
            if (!ini.open(QIODevice::ReadOnly) || !ini.readAll().contains("[SQLite3]"))
                GTEST_SKIP() << "the SQLite ODBC driver is not installed";
            test::writeSmallOdbcDatabase(m_dir.path());
        }
        m_clerk = open();
        m_other = open();
    }

    std::unique_ptr<Connection> open() const
    {
        if (GetParam() == Backend::Embedded)
            return Connection::openEmbedded(m_dir.path());
        return test::openSmallOdbcDatabase(m_dir.path());
    }

    QString table(const QString& name) const { return QStringLiteral("Patient_Data..") + name; }

    QString scalar(const QString& sql) { return m_clerk->execute(sql).text(0, 0); }
    int count(const QString& sql) { return scalar(sql).toInt(); }

    // Changes a row behind the clerk's back, in the backend's own SQL.
    void otherWrites(const QString& sql) { m_other->executeNative(sql, {}); }
    QString nativeTable(const QString& name) const
    {
        return m_other->nativeTableName(TableRef{QStringLiteral("Patient_Data"), name});
    }

    test::TempDir m_dir;
    std::unique_ptr<Connection> m_clerk;
    std::unique_ptr<Connection> m_other;
};

QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

const QString kChanged = QString::fromUtf8(kRecordChangedMessage);

} // namespace

TEST_P(SavingTest, AChangeOfLetterCaseOrTrailingBlanksCounts)
{
    const QString drugs = "SELECT ID, Dosage, Route FROM " + table("tbPatientMedicine") + " WHERE ID = 1";
    for (const QString& theirs : {QStringLiteral("500MG"), QStringLiteral("500mg ")}) {
        Recordset mine;
        mine.open(drugs, *m_clerk, CursorType::ForwardOnly, LockType::Optimistic);
        otherWrites("UPDATE " + nativeTable("tbPatientMedicine") + " SET Dosage = '" + theirs + "' WHERE ID = 1");
        mine.setField("Dosage", "250mg");
        EXPECT_EQ(messageOf([&] { mine.update(); }), kChanged) << theirs.toStdString();
        EXPECT_EQ(scalar("SELECT Dosage FROM " + table("tbPatientMedicine") + " WHERE ID = 1"), theirs);
    }
}

// Two clerks mark the same admission at once: both read no GU entry, both add one.
TEST_P(SavingTest, ARecordIsAddedOnlyWhileTheStatementStillFindsNone)
{
    const QString gu = "SELECT * FROM " + table("tbPatientConditions")
        + " WHERE  IDNum='2400002' AND AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)' ";
    Recordset first;
    Recordset second;
    first.open(gu, *m_clerk, CursorType::Dynamic, LockType::Optimistic);
    second.open(gu, *m_other, CursorType::Dynamic, LockType::Optimistic);
    ASSERT_TRUE(first.eof());
    ASSERT_TRUE(second.eof());
    for (Recordset* rs : {&first, &second}) {
        rs->addNew();
        rs->setField("IDNum", "2400002");
        rs->setField("AreaCat", "PhysicalExam");
        rs->setField("AreaSubCat", "GU(IE)");
        rs->setField("Remarks", rs == &first ? "first" : "second");
    }
    first.update();
    EXPECT_EQ(messageOf([&] { second.update(); }), kChanged);
    EXPECT_EQ(count("SELECT count(*) FROM " + table("tbPatientConditions") + " WHERE IDNum = '2400002'"), 1);
    EXPECT_EQ(scalar("SELECT Remarks FROM " + table("tbPatientConditions") + " WHERE IDNum = '2400002'"), "first");

    // The first clerk's record was given its key: it can be saved again.
    first.setField("Code", "X");
    first.update();
    EXPECT_EQ(scalar("SELECT Code FROM " + table("tbPatientConditions") + " WHERE IDNum = '2400002'"), "X");

    // A key taken meanwhile is the same conflict, not the database's constraint message.
    const QString byKey = "SELECT ID, IDNum FROM " + table("tbPatientMedicine") + " WHERE ID = 50";
    Recordset late;
    late.open(byKey, *m_clerk, CursorType::Dynamic, LockType::Optimistic);
    otherWrites("INSERT INTO " + nativeTable("tbPatientMedicine") + " (ID, IDNum) VALUES (50, 'theirs')");
    late.addNew();
    late.setField("ID", "50");
    late.setField("IDNum", "mine");
    EXPECT_EQ(messageOf([&] { late.update(); }), kChanged);
    EXPECT_EQ(scalar("SELECT IDNum FROM " + table("tbPatientMedicine") + " WHERE ID = 50"), "theirs");
}

TEST_P(SavingTest, ATableWithoutKeyFindsTheRowByAllItsColumns)
{
    const QString gu = "SELECT * FROM " + table("tbConditionsNoKey")
        + " WHERE  IDNum='%1' AND AreaCat='PhysicalExam'  AND AreaSubCat='GU(IE)'  AND Description='OTHERS' ";
    Recordset rs;
    rs.open(gu.arg("2400001"), *m_clerk, CursorType::Dynamic, LockType::Optimistic);
    ASSERT_FALSE(rs.eof());
    rs.setField("Code", "X");
    rs.setField("Remarks", "Not Applicable");
    rs.update();
    rs.setField("Result", "1"); // saved again from what it wrote
    rs.update();
    rs.close();
    const ResultSet saved =
        m_clerk->execute("SELECT Code, Result, Remarks FROM " + table("tbConditionsNoKey") + " WHERE IDNum = '2400001'");
    ASSERT_EQ(saved.rowCount(), 1);
    EXPECT_EQ(saved.text(0, 0), "X");
    EXPECT_EQ(saved.text(0, 1), "1");
    EXPECT_EQ(saved.text(0, 2), "Not Applicable");

    // Another clerk's change of any column, even one not assigned here, is seen.
    rs.open(gu.arg("2400001"), *m_clerk, CursorType::Dynamic, LockType::Optimistic);
    otherWrites("UPDATE " + nativeTable("tbConditionsNoKey") + " SET CreatedBy = 'NURSE' WHERE IDNum = '2400001'");
    rs.setField("Code", "Y");
    EXPECT_EQ(messageOf([&] { rs.update(); }), kChanged);
    rs.close();

    // Two identical rows: neither is written.
    rs.open(gu.arg("2400003"), *m_clerk, CursorType::Dynamic, LockType::Optimistic);
    rs.setField("Code", "X");
    EXPECT_EQ(messageOf([&] { rs.update(); }), "tbConditionsNoKey has several identical rows; nothing was saved.");
    rs.close();
    EXPECT_EQ(count("SELECT count(*) FROM " + table("tbConditionsNoKey") + " WHERE Code = 'X' AND IDNum = '2400003'"), 0);

    // A new entry goes in; the table's defaults make it unknown to a second save.
    rs.open(gu.arg("2400002"), *m_clerk, CursorType::Dynamic, LockType::Optimistic);
    rs.addNew();
    rs.setField("IDNum", "2400002");
    rs.setField("Code", "X");
    rs.update();
    rs.setField("Result", "1");
    EXPECT_TRUE(messageOf([&] { rs.update(); }).contains("read again")) << messageOf([&] { rs.update(); }).toStdString();
    EXPECT_EQ(scalar("SELECT CreatedBy FROM " + table("tbConditionsNoKey") + " WHERE IDNum = '2400002'"), "SYSTEM");
}

TEST_P(SavingTest, ValuesTheColumnCannotHoldAreRefusedAndNothingIsSaved)
{
    Recordset rs;
    rs.open("SELECT ID, Quantity, Dosage, Route FROM " + table("tbPatientMedicine") + " WHERE ID = 1", *m_clerk,
            CursorType::ForwardOnly, LockType::Optimistic);
    for (const char* notANumber : {"nan", "inf", "1e5", "12abc", " ", "", "1.2.3", "--1", "0x10"})
        EXPECT_THROW(rs.setField("Quantity", notANumber), DatabaseError) << notANumber;
    EXPECT_TRUE(messageOf([&] { rs.setField("Quantity", "2.555"); }).contains("2 after it"));
    EXPECT_THROW(rs.setField("Quantity", "12345678901234567"), DatabaseError); // 17 digits before the point
    EXPECT_THROW(rs.setField("ID", "2.5"), DatabaseError);
    EXPECT_TRUE(messageOf([&] { rs.setField("Route", QString(21, QLatin1Char('x'))); })
                    .startsWith("String or binary data would be truncated."));
    EXPECT_EQ(messageOf([&] { rs.setField("Dosage", QStringLiteral("500") + QChar(0) + "mg"); }),
              "The text for Dosage holds a NUL character, which cannot be saved.");
    rs.update(); // nothing was taken
    EXPECT_EQ(scalar("SELECT Quantity FROM " + table("tbPatientMedicine") + " WHERE ID = 1"), "10");

    // What the columns do hold.
    rs.setField("Quantity", "-1234567890123456.5");
    rs.setField("Route", QString(20, QLatin1Char('x')));
    rs.update();
    rs.setField("Quantity", "+.25");
    rs.update();
    EXPECT_EQ(scalar("SELECT Quantity FROM " + table("tbPatientMedicine") + " WHERE ID = 1"), "0.25");
    EXPECT_EQ(scalar("SELECT Route FROM " + table("tbPatientMedicine") + " WHERE ID = 1"), QString(20, QLatin1Char('x')));
}

TEST_P(SavingTest, ABitReadsTrueOrFalseAndSavesBackAsRead)
{
    // The ODBC driver hands a bit over as an unsigned integer: read as 1 and 0,
    // every comparison with "True" would fail silently.
    const ResultSet flags = m_clerk->execute("SELECT IsChemo FROM " + table("tbPatient") + " ORDER BY IDNum");
    ASSERT_EQ(flags.rowCount(), 3);
    EXPECT_EQ(flags.text(0, 0), "True");
    EXPECT_EQ(flags.text(1, 0), "False");
    EXPECT_EQ(flags.text(2, 0), "");

    Recordset patient;
    patient.open("SELECT IDNum, IsChemo FROM " + table("tbPatient") + " WHERE IDNum = '2400002'", *m_clerk,
                 CursorType::Keyset, LockType::Optimistic);
    EXPECT_EQ(patient.field("IsChemo"), "False");
    patient.setField("IsChemo", "True");
    patient.update();
    EXPECT_EQ(scalar("SELECT IsChemo FROM " + table("tbPatient") + " WHERE IDNum = '2400002'"), "True");
}

INSTANTIATE_TEST_SUITE_P(Backends, SavingTest, ::testing::Values(Backend::Embedded, Backend::OdbcSqlite),
                         [](const auto& info) {
                             return info.param == Backend::Embedded ? std::string("Embedded")
                                                                    : std::string("OdbcSqlite");
                         });
