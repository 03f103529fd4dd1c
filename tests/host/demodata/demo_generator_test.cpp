#include "demo_db_support.h"

#include "host/demodata/demo_generator.h"
#include "host/demodata/demo_random.h"
#include "host/demodata/demo_schema.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <utility>

using namespace vantik;

namespace {

std::vector<std::string> fileBytes(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& schema : demoSchema())
        files.push_back(test::readFileBytes(folder + "/" + demoDatabaseFileName(schema.name)));
    return files;
}

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VANTIK_DEMO_DB_EXE), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000)) {
        ADD_FAILURE() << "vantik-demo-db did not finish";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST(DemoRandom, SameSeedSameSequenceAndBoundsHold)
{
    DemoRandom a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const auto x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
        const auto below = a.below(7);
        EXPECT_LT(below, 7u);
        const auto between = a.between(-3, 3);
        EXPECT_GE(between, -3);
        EXPECT_LE(between, 3);
        const double unit = a.unit();
        EXPECT_GE(unit, 0.0);
        EXPECT_LT(unit, 1.0);
        EXPECT_NE(a.weighted({0, 5, 0}), 0u);
        b.below(7);
        b.between(-3, 3);
        b.unit();
        b.weighted({0, 5, 0});
    }
    EXPECT_TRUE(differs);
    // Item generators do not depend on the order in which items are made.
    DemoRandom first(7, 1, 2);
    DemoRandom other(7, 2, 2);
    DemoRandom again(7, 1, 2);
    other.next();
    EXPECT_EQ(first.next(), again.next());
    EXPECT_NE(DemoRandom(7, 1, 2).next(), DemoRandom(7, 1, 3).next());
    // The sequence is fixed for good: files made today must come out the same tomorrow.
    EXPECT_EQ(DemoRandom(1).next(), DemoRandom(1).next());
    EXPECT_EQ(DemoRandom(0).next(), 0x99ec5f36cb75f2b4ULL);
    // So are the draws below a bound, the upper half of a 128-bit product, across
    // the whole range of bounds (the files depend on them on every compiler).
    DemoRandom wide(2024);
    const std::pair<std::uint64_t, std::uint64_t> draws[] = {{7, 0},
                                                             {1000, 782},
                                                             {0x100000001ULL, 309473611},
                                                             {0x8000000000000005ULL, 1473118889992868406ULL},
                                                             {~0ULL, 14271330741670775462ULL}};
    for (const auto& [bound, drawn] : draws)
        EXPECT_EQ(wide.below(bound), drawn) << bound;
}

TEST(DemoGenerator, SameSeedGivesByteIdenticalFiles)
{
    test::TempDir first, second, third;
    generateDemoDatabases({first.stdPath(), 400, 3});
    generateDemoDatabases({second.stdPath(), 400, 3});
    generateDemoDatabases({third.stdPath(), 400, 4});
    const auto a = fileBytes(first.stdPath());
    const auto b = fileBytes(second.stdPath());
    const auto c = fileBytes(third.stdPath());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_GT(a[i].size(), 0u) << demoSchema()[i].name;
        EXPECT_TRUE(a[i] == b[i]) << demoSchema()[i].name << " differs for the same seed";
    }
    EXPECT_NE(a[0], c[0]) << "another seed gives other patients";
    EXPECT_NE(a[2], c[2]);
    EXPECT_NE(a[3], c[3]);
    // Nothing but the four files is left behind.
    EXPECT_EQ(QDir(first.path()).entryList(QDir::Files).size(), 4);
}

TEST(DemoGenerator, EmptyDatabaseStillHasTheReferenceData)
{
    test::TempDir dir;
    const DemoDbSummary summary = generateDemoDatabases({dir.stdPath(), 0, 1});
    EXPECT_EQ(summary.inPatients + summary.outPatients, 0);
    test::DemoDbReader db(dir.stdPath());
    EXPECT_EQ(db.count("SELECT count(*) FROM Patient_Data.tbPatient"), 0);
    EXPECT_GT(db.count("SELECT count(*) FROM Build_File.tbcoDoctor"), 0);
    EXPECT_GT(db.count("SELECT count(*) FROM Build_File.tbcoUsers"), 0);
}

TEST(DemoGenerator, RejectsBadOptions)
{
    test::TempDir dir;
    EXPECT_THROW(generateDemoDatabases({"", 10, 1}), std::runtime_error);
    EXPECT_THROW(generateDemoDatabases({dir.stdPath(), -1, 1}), std::runtime_error);
    EXPECT_THROW(generateDemoDatabases({dir.stdPath(), kDemoMaxAdmissions + 1, 1}), std::runtime_error);
    // A file where the folder should be.
    QFile blocker(dir.file("taken"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(generateDemoDatabases({dir.stdPath() + "/taken", 10, 1}), std::runtime_error);
}

TEST(DemoGenerator, FailedRunKeepsTheEarlierFilesWhole)
{
    test::TempDir dir;
    generateDemoDatabases({dir.stdPath(), 200, 1});
    const auto before = fileBytes(dir.stdPath());
    // The Station file cannot be written: its temporary name is taken by a folder with something in it.
    const std::string blocked = dir.stdPath() + "/" + demoDatabaseFileName("Station") + ".tmp";
    std::filesystem::create_directories(blocked + "/inside");
    EXPECT_THROW(generateDemoDatabases({dir.stdPath(), 300, 2}), std::runtime_error);
    EXPECT_EQ(fileBytes(dir.stdPath()), before) << "a failed run replaced files";
    for (const auto& schema : demoSchema()) {
        if (schema.name != "Station") {
            EXPECT_FALSE(std::filesystem::exists(dir.stdPath() + "/" + demoDatabaseFileName(schema.name) + ".tmp"))
                << schema.name;
        }
    }
    // Once the obstacle is gone the run succeeds and replaces them.
    std::filesystem::remove_all(blocked);
    generateDemoDatabases({dir.stdPath(), 300, 2});
    EXPECT_NE(fileBytes(dir.stdPath())[0], before[0]);
}

TEST(DemoDbTool, WritesTheFilesAndPrintsOneLine)
{
    test::TempDir dir;
    const ToolRun run = runTool({"--out", dir.file("db"), "--admissions", "250", "--seed", "9"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count(QLatin1Char('\n')), 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.startsWith("Wrote 250 admissions")) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    for (const auto& schema : demoSchema())
        EXPECT_TRUE(QFile::exists(dir.file("db/" + QString::fromStdString(demoDatabaseFileName(schema.name)))));
    // The same seed through the library gives the same bytes as the tool.
    test::TempDir again;
    generateDemoDatabases({again.stdPath(), 250, 9});
    EXPECT_EQ(fileBytes(again.stdPath()), fileBytes(dir.file("db").toStdString()));
}

TEST(DemoDbTool, UsageAndErrors)
{
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--admissions")) << help.out.toStdString();

    test::TempDir dir;
    const QStringList bad[] = {
        {"--out"},
        {"--out", dir.path(), "--admissions", "ten"},
        {"--out", dir.path(), "--admissions", "-5"},
        {"--out", dir.path(), "--admissions", "2000001"},
        {"--out", dir.path(), "--seed", "x"},
        {"--out", dir.path(), "--verbose"},
    };
    for (const QStringList& arguments : bad) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("vantik-demo-db: ")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "a refused run wrote files";

    QFile blocker(dir.file("taken"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ToolRun failing = runTool({"--out", dir.file("taken"), "--admissions", "10"});
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_TRUE(failing.err.contains("taken")) << failing.err.toStdString();
}
