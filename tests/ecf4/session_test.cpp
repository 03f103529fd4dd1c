// The eCF4 over a demo database: every claim's readiness, its document, the
// folder export, and a database that an export leaves as it was.

#include "ecf4/cf4_dtd.h"
#include "ecf4/ecf4.h"
#include "ecf4_fixture.h"
#include "host/data/connection.h"
#include "host/demodata/demo_generator.h"
#include "host/demodata/demo_schema.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vantik;
using namespace vantik::ecf4;
using namespace vantik::test;

namespace {

const QDate kExportDate(2026, 12, 1);

std::shared_ptr<const Cf4Dtd> dtd()
{
    static const auto shipped = std::make_shared<const Cf4Dtd>(sourceDtdPath());
    return shipped;
}

/// Every row of every table of the four files, in one hash: what an export
/// must not change.
QByteArray databaseRows(const QString& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const auto& file : demoSchema()) {
        sqlite3* db = nullptr;
        const QByteArray path = QDir(folder).filePath(QString::fromStdString(demoDatabaseFileName(file.name))).toUtf8();
        EXPECT_EQ(sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK) << path.data();
        std::vector<std::string> tables;
        sqlite3_stmt* list = nullptr;
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", -1, &list, nullptr);
        while (sqlite3_step(list) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        sqlite3_finalize(list);
        for (const std::string& table : tables) {
            hash.addData(QByteArray::fromStdString(table));
            sqlite3_stmt* rows = nullptr;
            EXPECT_EQ(sqlite3_prepare_v2(db, ("SELECT * FROM \"" + table + "\" ORDER BY rowid").c_str(), -1, &rows,
                                         nullptr),
                      SQLITE_OK)
                << sqlite3_errmsg(db);
            while (sqlite3_step(rows) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(rows); ++c) {
                    hash.addData(QByteArray::number(sqlite3_column_type(rows, c)));
                    hash.addData(QByteArray(reinterpret_cast<const char*>(sqlite3_column_blob(rows, c)),
                                            sqlite3_column_bytes(rows, c)));
                }
            }
            sqlite3_finalize(rows);
        }
        sqlite3_close_v2(db);
    }
    return hash.result();
}

QStringList verifiedClaims(Connection& connection)
{
    const ResultSet rows = connection.execute("SELECT IDNum FROM Station..tbNurseProfile WHERE CF4Status = 'VERIFIED'");
    QStringList ids;
    for (int r = 0; r < rows.rowCount(); ++r)
        ids << rows.text(r, 0);
    return ids;
}

QStringList allClaims(Connection& connection)
{
    return claimsRegistered(connection, QDate(2024, 12, 1), QDate(2026, 11, 30));
}

} // namespace

TEST(Ecf4Session, EveryDemoClaimIsJudgedAndEveryReadyDocumentIsValid)
{
    const auto connection = Connection::openEmbedded(sharedDemoDb());
    const Ecf4Session session(*connection, kExportDate, dtd());
    const QStringList claims = allClaims(*connection);
    const QStringList verifiedList = verifiedClaims(*connection);
    const QSet<QString> verified(verifiedList.begin(), verifiedList.end());
    ASSERT_GT(claims.size(), 100);
    int verifiedReady = 0, verifiedRefused = 0, refusedForOneThing = 0;
    for (const QString& idNum : claims) {
        const Verdict verdict = session.check(idNum);
        ASSERT_TRUE(verdict.found) << idNum.toStdString();
        if (verdict.ready()) {
            EXPECT_EQ(dtd()->validate(verdict.document), QStringList()) << idNum.toStdString();
            EXPECT_EQ(elementsNamed(readElements(verdict.document), "ENLISTMENT")[0].attributes["pHciCaseNo"], idNum);
            EXPECT_EQ(verdict.line(), "eCF4: ready");
        } else {
            EXPECT_TRUE(verdict.document.isEmpty());
            EXPECT_EQ(verdict.line(), "eCF4: " + verdict.problems.join("; "));
        }
        if (verified.contains(idNum)) {
            ++(verdict.ready() ? verifiedReady : verifiedRefused);
            refusedForOneThing += verdict.problems.size() == 1 ? 1 : 0;
        }
    }
    // The demo promises: at least half of the verified claims ready, the rest
    // each lacking one specific thing.
    EXPECT_GE(verifiedReady, verifiedRefused) << verifiedReady << " ready of " << verifiedReady + verifiedRefused;
    EXPECT_GE(refusedForOneThing * 10, verifiedRefused * 8) << refusedForOneThing << " of " << verifiedRefused;

    const Verdict unknown = session.check("NOSUCHID");
    EXPECT_FALSE(unknown.ready());
    EXPECT_EQ(unknown.line(), "eCF4: Admission not found");
}

TEST(Ecf4Session, AnExportChangesNothingAndTheSameDateGivesTheSameBytes)
{
    TempDir database;
    TempDir out;
    copyOfDemoDb(database.path());
    const QByteArray before = databaseRows(database.path());
    QList<QByteArray> first;
    {
        const auto connection = Connection::openEmbedded(database.path());
        const Ecf4Session session(*connection, kExportDate, dtd());
        const QStringList claims = allClaims(*connection);
        const FolderExport done = exportToFolder(session, claims, {out.path(), {}, {}}, QDateTime(kExportDate, {}));
        EXPECT_GT(done.count(ClaimOutcome::Exported), 20);
        for (const QString& idNum : claims)
            first << session.check(idNum).document;
    }
    EXPECT_EQ(databaseRows(database.path()), before);

    // Another connection, the same date: the same bytes. Another date changes
    // only the dates that are the export's.
    const auto connection = Connection::openEmbedded(database.path());
    const Ecf4Session again(*connection, kExportDate, dtd());
    const Ecf4Session later(*connection, QDate(2027, 1, 5), dtd());
    const QStringList claims = allClaims(*connection);
    for (qsizetype i = 0; i < claims.size(); ++i) {
        EXPECT_EQ(again.check(claims[i]).document, first[i]) << claims[i].toStdString();
        QByteArray moved = later.check(claims[i]).document;
        moved.replace("\"2027-01-05\"", "\"2026-12-01\"").replace("pEffYear=\"2027\"", "pEffYear=\"2026\"");
        EXPECT_EQ(moved, first[i]) << claims[i].toStdString();
    }
}

TEST(Ecf4Session, AFolderExportWritesReadyClaimsOnlyAndNeverReplacesWithoutConsent)
{
    const auto connection = Connection::openEmbedded(sharedDemoDb());
    const Ecf4Session session(*connection, kExportDate, dtd());
    QStringList ready, refused;
    for (const QString& idNum : allClaims(*connection)) {
        QStringList& kind = session.check(idNum).ready() ? ready : refused;
        if (kind.size() < (&kind == &ready ? 3 : 1))
            kind << idNum;
    }
    ASSERT_EQ(ready.size(), 3);
    TempDir out;
    const QString taken = out.file(cf4FileName(ready[1]));
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the clerk's own file");
    }
    const QStringList claims = {ready[0], ready[1], refused[0], "NOSUCHID", ready[2]};
    const QDateTime started(kExportDate, QTime(2, 15));
    FolderExport done = exportToFolder(session, claims, {out.path(), {}, {}}, started);

    ASSERT_EQ(done.claims.size(), 5);
    EXPECT_EQ(done.claims[0].outcome, ClaimOutcome::Exported);
    EXPECT_EQ(done.claims[0].file, out.file(ready[0] + ".xml"));
    EXPECT_EQ(done.claims[1].outcome, ClaimOutcome::Ready);
    EXPECT_TRUE(done.claims[1].reasons.join(' ').contains(taken)) << done.claims[1].reasons.join(' ').toStdString();
    EXPECT_EQ(done.claims[2].outcome, ClaimOutcome::Refused);
    EXPECT_EQ(done.claims[3].reasons, QStringList{"Admission not found"});
    EXPECT_EQ(done.claims[4].outcome, ClaimOutcome::Exported);
    QFile kept(taken);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the clerk's own file");
    EXPECT_EQ(QDir(out.path()).entryList({"*.xml"}, QDir::Files).size(), 3);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).filter(".part").size(), 0);

    // The summary: every claim, a row each, with what became of it.
    EXPECT_EQ(done.summaryFile, out.file("ecf4-summary-20261201-021500.csv"));
    QFile summary(done.summaryFile);
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(summary.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QString::fromUtf8("\xEF\xBB\xBF") + "IDNum,Patient,Status,Reasons,Warnings");
    EXPECT_TRUE(lines[1].startsWith(ready[0] + ",")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(",ready,")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains(",refused,")) << lines[3].toStdString();
    EXPECT_EQ(lines[4], "NOSUCHID,,refused,Admission not found,");

    // With the clerk's consent the file is replaced; Stop ends the export there,
    // and a second summary of the same minute takes a free name.
    QStringList asked;
    FolderExportOptions options;
    options.folder = out.path();
    options.replaceExisting = [&](const QString& path) {
        asked << path;
        return true;
    };
    options.afterClaim = [](int index, int, const ExportedClaim&) { return index < 1; };
    done = exportToFolder(session, claims, options, started);
    EXPECT_EQ(asked, QStringList({out.file(ready[0] + ".xml"), taken}));
    EXPECT_EQ(done.claims[1].outcome, ClaimOutcome::Exported);
    EXPECT_TRUE(done.stopped);
    EXPECT_EQ(done.claims[2].outcome, ClaimOutcome::NotChecked);
    EXPECT_EQ(done.summaryFile, out.file("ecf4-summary-20261201-021500-2.csv"));
    QFile replaced(taken);
    ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
    EXPECT_TRUE(replaced.readAll().startsWith("<?xml"));
}

TEST(Ecf4Session, AFileThatCannotBeWrittenIsNamedAndLeavesNothing)
{
    TempDir out;
    const QString path = out.file("missing/26000742.xml");
    try {
        writeWholeFile(path, "<EPCB/>", ExistingFile::Keep);
        FAIL() << "wrote into a folder that is not there";
    } catch (const FileOutputError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(path + " could not be written: "))
            << error.what();
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());

    // A folder export into a folder that is not there stops before any claim.
    const auto connection = Connection::openEmbedded(sharedDemoDb());
    const Ecf4Session session(*connection, kExportDate, dtd());
    EXPECT_THROW(exportToFolder(session, {"26000742"}, {out.file("missing"), {}, {}}, {}), FileOutputError);
}

TEST(Ecf4Session, MissingTablesAreNamed)
{
    TempDir database;
    copyOfDemoDb(database.path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.file("MEDICARE.sqlite").toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE tbCF4Entry; DROP TABLE tbCF4DrugCode;", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const auto connection = Connection::openEmbedded(database.path());
    try {
        Ecf4Session session(*connection, kExportDate, dtd());
        FAIL() << "a session without its tables";
    } catch (const MissingTablesError& error) {
        EXPECT_EQ(error.tables(), QStringList({"MEDICARE..tbCF4DrugCode", "MEDICARE..tbCF4Entry"}));
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains("docs/sql-server.md")) << error.what();
    }
}
