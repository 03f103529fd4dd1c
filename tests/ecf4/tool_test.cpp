// vantik-ecf4 as a nightly job runs it: its lines, its files and its exit status.

#include "ecf4/cf4_dtd.h"
#include "ecf4/ecf4.h"
#include "ecf4_fixture.h"
#include "host/data/connection.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vantik;
using namespace vantik::test;

namespace {

struct ToolRun {
    int exitCode = -1;
    QStringList lines;
    QString err;
};

ToolRun runTool(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VANTIK_ODBC_PWD"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTIK_ECF4_EXE), arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(VantikEcf4, OneLinePerClaimATotalAndTheStatusOfTheWorstClaim)
{
    // Two ready claims and one that is not, found the way the tool judges them.
    const auto connection = Connection::openEmbedded(sharedDemoDb());
    const ecf4::Ecf4Session session(*connection, QDate::currentDate(),
                                    std::make_shared<const ecf4::Cf4Dtd>(sourceDtdPath()));
    QStringList ready, refused;
    for (const QString& idNum : ecf4::claimsRegistered(*connection, QDate(2026, 11, 1), QDate(2026, 11, 30))) {
        (session.check(idNum).ready() ? ready : refused) << idNum;
    }
    ASSERT_GE(ready.size(), 2);
    ASSERT_GE(refused.size(), 1);

    TempDir out;
    const QString folder = out.file("nightly"); // made when missing
    ToolRun run = runTool({"--db", sharedDemoDb(), "--idnum", ready[0], "--idnum", refused[0], "--idnum", ready[0],
                           "--out", folder});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QString file = QDir(folder).filePath(ready[0] + ".xml");
    EXPECT_EQ(run.lines.value(0), ready[0] + " exported " + file);
    EXPECT_TRUE(run.lines.filter(QRegularExpression("^" + refused[0] + " refused: .+")).size() == 1)
        << run.lines.join('\n').toStdString();
    EXPECT_EQ(run.lines.last(), "Total: 2 claims, 1 exported, 1 refused, 0 not exported");
    EXPECT_TRUE(QFile::exists(file));

    // Every claim exported: 0. A file already there is not replaced: 1, and said.
    run = runTool({"--db", sharedDemoDb(), "--idnum", ready[1], "--out", folder});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = runTool({"--db", sharedDemoDb(), "--idnum", ready[1], "--out", folder});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lines.value(0).startsWith(ready[1] + " not exported: ")) << run.lines.join('\n').toStdString();

    // By registration dates: the month's PhilHealth claims, in-patients and out-patients.
    run = runTool({"--db", sharedDemoDb(), "--from", "11/01/2026", "--to", "11/30/2026", "--out", out.file("month")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines.last(), QStringLiteral("Total: %1 claims, %2 exported, %3 refused, 0 not exported")
                                    .arg(ready.size() + refused.size())
                                    .arg(ready.size())
                                    .arg(refused.size()));
    EXPECT_EQ(QDir(out.file("month")).entryList({"*.xml"}).size(), ready.size());
    EXPECT_EQ(QDir(out.file("month")).entryList({"ecf4-summary-*.csv"}).size(), 1);
}

TEST(VantikEcf4, UsageAndDatabaseErrorsEndWithTwo)
{
    TempDir out;
    const QString db = sharedDemoDb();
    const QList<QStringList> usage = {
        {"--db", db, "--idnum", "26000001"},                                    // no --out
        {"--db", db, "--from", "11/01/2026", "--out", out.path()},              // --to missing
        {"--db", db, "--from", "2026-11-01", "--to", "11/30/2026", "--out", out.path()},
        {"--db", db, "--from", "11/30/2026", "--to", "11/01/2026", "--out", out.path()},
        {"--db", db, "--idnum", "1", "--from", "11/01/2026", "--to", "11/30/2026", "--out", out.path()},
        {"--odbc", "DSN=x;PWD=secret", "--idnum", "1", "--out", out.path()}, // never a password on the command line
        {"--db", db, "--idnum", "1", "--out", out.path(), "--replace", "yes"},
    };
    for (const QStringList& arguments : usage) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("Usage: vantik-ecf4")) << run.err.toStdString();
    }
    const ToolRun missing = runTool({"--db", out.file("nothing"), "--idnum", "1", "--out", out.path()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.startsWith("vantik-ecf4: ")) << missing.err.toStdString();
}
