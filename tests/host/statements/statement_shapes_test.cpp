#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/statements/statement_shapes.h"
#include "support/temp_dir.h"
#include "worklist/worklist_statement.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vantik;
using vantik::test::WorklistShape;

namespace {

// One demo database for the whole suite: every statement the program builds must
// run on it, with the columns the rest of the program reads by position.
class StatementShapes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new test::TempDir;
        QProcess generator;
        generator.start(QStringLiteral(VANTIK_DEMO_DB_EXE),
                        {"--out", s_dir->path(), "--admissions", "1500", "--seed", "7"});
        ASSERT_TRUE(generator.waitForFinished(120000));
        ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
        s_connection = Connection::openEmbedded(s_dir->path()).release();
    }
    static void TearDownTestSuite()
    {
        delete s_connection;
        delete s_dir;
    }

    static ResultSet run(const QString& statement)
    {
        try {
            return s_connection->execute(statement);
        } catch (const DatabaseError& error) {
            ADD_FAILURE() << error.message().toStdString() << "\n" << statement.toStdString();
            return ResultSet();
        }
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline Connection* s_connection = nullptr;
};

const QStringList kInPatientColumns = {
    "hospnum",       "IdNum",    "RegDate",      "Discharge Date", "Patient Name", "BriefHistory",
    "isHemoDialysis", "CF4Status", "CF4AssignedTo", "CF4OpenBy",     "Open On",      "VerifiedON",
    "CF4VerifiedBy", "MedicareType", "OPDIDNum",   "",               "IsChemo",      "Sex",
    "Doctor1",       "Service",  "AttendingDr1", "ACCOUNT",        "Length Stay",  "AdmittingDr"};

} // namespace

TEST_F(StatementShapes, WorklistColumnsAreTheGridsRowFormat)
{
    const ResultSet in = run(test::worklistStatement({}));
    EXPECT_EQ(in.columnNames(), kInPatientColumns);
    EXPECT_GT(in.rowCount(), 0);
    EXPECT_LE(in.rowCount(), 500);

    WorklistShape out;
    out.outPatient = true;
    QStringList outColumns = kInPatientColumns;
    outColumns[15] = "HemoNum";
    outColumns[20] = "DoctorID1";
    outColumns[23] = "";
    const ResultSet visits = run(test::worklistStatement(out));
    EXPECT_EQ(visits.columnNames(), outColumns);
    EXPECT_GT(visits.rowCount(), 0);
    for (int row = 0; row < visits.rowCount(); ++row) {
        ASSERT_TRUE(visits.cell(row, 1).contains(u'B')) << "an out-patient visit without B";
        EXPECT_TRUE(visits.cell(row, 14).isEmpty());
        EXPECT_TRUE(visits.cell(row, 23).isEmpty());
    }
}

TEST_F(StatementShapes, WorklistCellsHoldWhatTheOperationsRead)
{
    const ResultSet in = run(test::worklistStatement({}));
    ASSERT_GT(in.rowCount(), 0);
    bool sawDoctor = false;
    bool sawCompany = false;
    bool sawPersonal = false;
    bool sawMale = false;
    bool sawFemale = false;
    for (int row = 0; row < in.rowCount(); ++row) {
        const QStringView flag = in.cell(row, 6);
        EXPECT_TRUE(flag == u"True" || flag == u"False" || flag.isEmpty()) << flag.toString().toStdString();
        sawMale = sawMale || in.cell(row, 17) == u"M";
        sawFemale = sawFemale || in.cell(row, 17) == u"F";
        sawDoctor = sawDoctor || in.cell(row, 18).contains(u", ");
        sawPersonal = sawPersonal || in.cell(row, 21).startsWith(u"PERSONAL ");
        sawCompany = sawCompany || (!in.cell(row, 21).isEmpty() && !in.cell(row, 21).startsWith(u"PERSONAL "));
        // Style 0 registration date: "mon dd yyyy hh:miAM".
        EXPECT_EQ(in.cell(row, 2).size(), 19) << in.text(row, 2).toStdString();
    }
    EXPECT_TRUE(sawDoctor);
    EXPECT_TRUE(sawCompany);
    EXPECT_TRUE(sawPersonal);
    EXPECT_TRUE(sawMale);
    EXPECT_TRUE(sawFemale);
}

TEST_F(StatementShapes, EveryWorklistVariantRuns)
{
    for (bool outPatient : {false, true}) {
        for (bool sorted : {false, true}) {
            WorklistShape shape;
            shape.outPatient = outPatient;
            shape.sorted = sorted;
            shape.top500 = !sorted;
            shape.dischargeDate = sorted;
            run(test::worklistStatement(shape));
            shape.allFilters = true;
            EXPECT_EQ(run(test::worklistStatement(shape)).rowCount(), 0); // verified and unverified at once
            shape.idNum = outPatient ? "B2600001" : "2600001";
            run(test::worklistStatement(shape));
        }
    }
}

TEST_F(StatementShapes, SortedWorklistIsInServiceDoctorOrder)
{
    WorklistShape shape;
    shape.sorted = true;
    const ResultSet sorted = run(test::worklistStatement(shape));
    ASSERT_GT(sorted.rowCount(), 1);
    for (int row = 1; row < sorted.rowCount(); ++row) {
        const QString before = sorted.text(row - 1, 19).toLower();
        const QString after = sorted.text(row, 19).toLower();
        EXPECT_LE(before, after) << "row " << row;
    }
}

TEST_F(StatementShapes, PerRowStatementsRunForListedPatients)
{
    const ResultSet in = run(test::worklistStatement({}));
    WorklistShape outShape;
    outShape.outPatient = true;
    const ResultSet out = run(test::worklistStatement(outShape));
    ASSERT_GT(in.rowCount(), 0);
    ASSERT_GT(out.rowCount(), 0);
    int withRows = 0;
    for (const QString& id : {in.text(0, 1), out.text(0, 1), QString("no-such-id")}) {
        for (const QString& statement : test::perRowStatements(id))
            withRows += run(statement).rowCount() > 0 ? 1 : 0;
    }
    EXPECT_GT(withRows, 3);
    // The statements that write open as updatable recordsets.
    Recordset rs;
    const QStringList statements = test::perRowStatements(in.text(0, 1));
    for (const QString& statement : {statements.at(5), statements.at(6)}) {
        rs.open(statement, *s_connection, CursorType::Dynamic, LockType::Optimistic);
        rs.close();
    }
}

TEST_F(StatementShapes, ChartCountsClaimsPerMonthAndStatus)
{
    const ResultSet all = run(test::chartStatement("", ""));
    EXPECT_EQ(all.columnNames(), QStringList({"ReportMonth", "CNT", "CNT"}));
    ASSERT_GT(all.rowCount(), 20);
    for (int row = 1; row < all.rowCount(); ++row)
        EXPECT_LE(all.text(row - 1, 0), all.text(row, 0)); // month text in text order
    const ResultSet january = run(test::chartStatement("01/01/2026", "20260201"));
    ASSERT_GT(january.rowCount(), 0);
    for (int row = 0; row < january.rowCount(); ++row)
        EXPECT_TRUE(january.text(row, 0) == "1-2026" || january.text(row, 0) == "2-2026") << january.text(row, 0).toStdString();
}

TEST(WorklistBuilder, GivesTheStatementsThatRunOnTheDemoDatabase)
{
    for (bool outPatient : {false, true}) {
        for (bool allFilters : {false, true}) {
            for (const QString& idNum : {QString(), QStringLiteral("2600001")}) {
                WorklistShape shape;
                shape.outPatient = outPatient;
                shape.allFilters = allFilters;
                shape.sorted = allFilters;
                shape.top500 = !allFilters;
                shape.dischargeDate = allFilters;
                shape.idNum = idNum;

                WorklistFilter filter;
                filter.outPatient = outPatient;
                filter.byDischargeDate = shape.dischargeDate;
                filter.top500 = shape.top500;
                filter.idNum = idNum;
                filter.startDate = "11/01/2026";
                filter.endDate = "11/30/2026";
                if (allFilters) {
                    filter.hospNum = "H0000001";
                    filter.lastName = "Dela";
                    filter.firstName = "Ma";
                    filter.hemoPatient = filter.chemo = filter.hasHemoNum = filter.medicare = true;
                    filter.discharged = DischargeFilter::Yes;
                    filter.unverifiedOnly = filter.verifiedOnly = true;
                    filter.doctorId = "D001";
                    filter.assignedTo = filter.verifiedBy = filter.openBy = "clerk";
                    filter.changedBy = "nurse";
                }
                EXPECT_EQ(buildWorklistStatement(filter, shape.sorted ? 1 : 0), test::worklistStatement(shape))
                    << outPatient << allFilters << idNum.toStdString();
            }
        }
    }
}
