#include "host/data/small_database.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

struct ConsoleRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ConsoleRun runConsole(const QStringList& arguments, const QByteArray& input = QByteArray(),
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTIK_SQL_EXE), arguments);
    process.write(input);
    process.closeWriteChannel();
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

TEST(VantikSql, ReadsTheStatementFromStandardInput)
{
    vantik::test::TempDir dir;
    vantik::test::writeSmallDatabase(dir.path());
    // Longer than one command-line argument may be (128 KB).
    QByteArray statement = "SELECT count(*) AS n FROM Patient_Data..tbPatient WHERE IDNum IN (";
    for (int i = 0; i < 20000; ++i)
        statement += "'x" + QByteArray::number(i) + "', ";
    statement += "'2400001')\n";
    ASSERT_GT(statement.size(), 128 * 1024);
    const ConsoleRun run = runConsole({"--db", dir.path(), "-"}, statement);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "n\n1\n");

    // A query saved by a Windows editor: a byte order mark and CRLF line ends.
    const ConsoleRun saved = runConsole({"--db", dir.path(), "-"}, "\xEF\xBB\xBFSELECT 1 AS one\r\n");
    EXPECT_EQ(saved.out, "one\n1\n") << saved.err.toStdString();

    static const char withNulText[] = "SELECT 'a\0' AS x";
    const ConsoleRun withNul = runConsole({"--db", dir.path(), "-"}, QByteArray(withNulText, sizeof withNulText - 1));
    EXPECT_EQ(withNul.exitCode, 1);
    EXPECT_TRUE(withNul.out.isEmpty());
    EXPECT_TRUE(withNul.err.contains("NUL character")) << withNul.err.toStdString();
}

// The password never on the command line, where any user of the machine can read it.
TEST(VantikSql, TakesTheOdbcPasswordFromTheEnvironmentOrStandardInput)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VANTIK_ODBC_PWD"));
    const QString server = QStringLiteral("DRIVER={No Such Driver};SERVER=127.0.0.1;UID=clerk;");

    // A Windows log-in sends no password, so none is asked for: the statement may
    // come from standard input and reaches the driver (which is missing here).
    const ConsoleRun windowsLogIn = runConsole(
        {"--odbc", "DRIVER={No Such Driver};SERVER=his-db\\HIS;Trusted_Connection={Yes};", "-"}, "SELECT 1", environment);
    EXPECT_EQ(windowsLogIn.exitCode, 1) << windowsLogIn.err.toStdString();
    EXPECT_FALSE(windowsLogIn.err.contains("VANTIK_ODBC_PWD")) << windowsLogIn.err.toStdString();

    const ConsoleRun inline_ = runConsole({"--odbc", server + "PWD=secret;", "SELECT 1"}, {}, environment);
    EXPECT_EQ(inline_.exitCode, 2);
    EXPECT_TRUE(inline_.err.contains("VANTIK_ODBC_PWD")) << inline_.err.toStdString();
    const ConsoleRun braced = runConsole({"--odbc", server + " pwd = {se;cret}", "SELECT 1"}, {}, environment);
    EXPECT_EQ(braced.exitCode, 2);

    // Both the statement and the password on standard input cannot be told apart.
    const ConsoleRun both = runConsole({"--odbc", server, "-"}, "secret\nSELECT 1", environment);
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.err.contains("VANTIK_ODBC_PWD")) << both.err.toStdString();

    // Read from standard input (or the environment), the password reaches the driver, which fails here.
    const ConsoleRun fromInput = runConsole({"--odbc", server, "SELECT 1"}, "secret\n", environment);
    EXPECT_EQ(fromInput.exitCode, 1);
    EXPECT_FALSE(fromInput.err.contains("secret")) << fromInput.err.toStdString();
    environment.insert(QStringLiteral("VANTIK_ODBC_PWD"), QStringLiteral("s}e;cret"));
    const ConsoleRun fromEnvironment = runConsole({"--odbc", server, "-"}, "SELECT 1", environment);
    EXPECT_EQ(fromEnvironment.exitCode, 1);
    EXPECT_FALSE(fromEnvironment.err.contains("cret")) << fromEnvironment.err.toStdString();

    const ConsoleRun help = runConsole({"--help"});
    EXPECT_TRUE(help.out.contains("VANTIK_ODBC_PWD"));
}

TEST(VantikSql, BacksUpTheFourDatabasesWhileAProgramHasThemOpen)
{
    vantik::test::TempDir dir;
    vantik::test::writeSmallDatabase(dir.file("db"));
    // A program with a save still in its write-ahead log.
    const auto program = vantik::Connection::openEmbedded(dir.file("db"));
    program->executeNative("UPDATE Patient_Data.tbPatient SET LastName = 'Backed' WHERE IDNum = '2400001'", {});
    ASSERT_GT(QFile(dir.file("db/Patient_Data.sqlite-wal")).size(), 0);

    const ConsoleRun run = runConsole({"--db", dir.file("db"), "--backup", dir.file("out")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(dir.file("out")).entryList(QDir::Files),
              QStringList({"Build_File.sqlite", "MEDICARE.sqlite", "Patient_Data.sqlite", "Station.sqlite"}));
    EXPECT_EQ(vantik::Connection::openEmbedded(dir.file("out"))
                  ->execute("SELECT LastName FROM Patient_Data..tbPatient WHERE IDNum = '2400001'")
                  .text(0, 0),
              "Backed");

    // A folder that holds a backup already is left as it is.
    const ConsoleRun again = runConsole({"--db", dir.file("db"), "--backup", dir.file("out")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("already holds")) << again.err.toStdString();
    EXPECT_TRUE(runConsole({"--help"}).out.contains("--backup OUT"));
}

// A disk too full for the write-ahead log's shared-memory file: the clerk is told
// that the disk is full, not "disk I/O error". A small file system of its own is
// mounted for the run in a mount namespace of its own, where the machine allows.
TEST(VantikSql, AFullDiskIsNamedAsSuch)
{
    if (QProcess::execute(QStringLiteral("unshare"), {"--mount", "true"}) != 0)
        GTEST_SKIP() << "no mount namespace here (unshare --mount needs CAP_SYS_ADMIN)";
    vantik::test::TempDir dir;
    vantik::test::writeSmallDatabase(dir.file("db"));
    vantik::Connection::openEmbedded(dir.file("db")).reset(); // in the log's mode, closed
    QDir().mkpath(dir.file("full"));
    const QString script = QStringLiteral(
        "mount -t tmpfs -o size=1m tmpfs \"$1\" || exit 77\n"
        "cp \"$2\"/*.sqlite \"$1\"/ || exit 77\n"
        "dd if=/dev/zero of=\"$1/fill\" bs=4k 2>/dev/null\n"
        "exec \"$3\" --db \"$1\" \"SELECT 1 AS one\"\n");
    QProcess process;
    process.start(QStringLiteral("unshare"), {"--mount", "sh", "-c", script, "sh", dir.file("full"), dir.file("db"),
                                              QStringLiteral(VANTIK_SQL_EXE)});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitCode() == 77)
        GTEST_SKIP() << "no small file system could be mounted: " << err.toStdString();
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(err.contains("The disk holding the database folder " + dir.file("full") + " is full"))
        << err.toStdString();
}
