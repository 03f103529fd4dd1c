#include "host/data/small_database.h"
#include "support/temp_dir.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ConsoleRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ConsoleRun runConsole(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VANTIK_SQL_EXE), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(VantikSql, PrintsTabSeparatedRowsWithAHeader)
{
    vantik::test::TempDir dir;
    vantik::test::writeSmallDatabase(dir.path());
    const ConsoleRun run = runConsole({"--db", dir.path(),
                                "SELECT TOP 2 IDNum, DCRDATE AS [Discharge Date], '' FROM Patient_Data..tbPatient "
                                "WITH (NOLOCK) ORDER BY IDNum"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "IDNum\tDischarge Date\t\n2400001\t1/8/2024\t\n2400002\t\t\n");
}

TEST(VantikSql, ErrorsGoToStandardErrorWithExitCodeOne)
{
    vantik::test::TempDir dir;
    vantik::test::writeSmallDatabase(dir.path());
    const ConsoleRun bad = runConsole({"--db", dir.path(), "SELECT * FROM Patient_Data..tbNothing"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.contains("tbNothing")) << bad.err.toStdString();

    EXPECT_EQ(runConsole({"--db", dir.file("missing"), "SELECT 1"}).exitCode, 1);
    EXPECT_EQ(runConsole({"--db"}).exitCode, 2);
}
