// The same claims read through ODBC (the SQLite ODBC driver standing in for SQL
// Server) give the same verdicts and the same bytes as through the embedded engine.

#include "ecf4/cf4_dtd.h"
#include "ecf4/ecf4.h"
#include "ecf4_fixture.h"
#include "host/data/connection.h"
#include "host/demodata/demo_generator.h"
#include "host/demodata/demo_schema.h"
#include "support/demo_db.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vantik;
using namespace vantik::test;

namespace {

bool sqliteOdbcDriverInstalled()
{
    QFile ini(QStringLiteral("/etc/odbcinst.ini"));
    return ini.open(QIODevice::ReadOnly) && ini.readAll().contains("[SQLite3]");
}

// The driver does not know the TSQL collation: the demo's tables and rows
// without it.
void copyWithoutCollation(const QString& from, const QString& to)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(to.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, ("ATTACH '" + from.toStdString() + "' AS source").c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::vector<std::pair<std::string, std::string>> tables;
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, sql FROM source.sqlite_master WHERE type = 'table'", -1, &list, nullptr);
    while (sqlite3_step(list) == SQLITE_ROW)
        tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)),
                            reinterpret_cast<const char*>(sqlite3_column_text(list, 1)));
    sqlite3_finalize(list);
    for (auto& [name, sql] : tables) {
        for (std::size_t at; (at = sql.find(" COLLATE TSQL")) != std::string::npos;)
            sql.erase(at, 13);
        const std::string copy = sql + "; INSERT INTO main.\"" + name + "\" SELECT * FROM source.\"" + name + "\";";
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, copy.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
    }
    sqlite3_close(db);
}

} // namespace

TEST(Ecf4OverOdbc, TheOdbcPathGivesTheSameVerdictsAndBytes)
{
    if (!sqliteOdbcDriverInstalled())
        GTEST_SKIP() << "the SQLite ODBC driver is not installed";
    TempDir plain;
    for (const auto& file : demoSchema()) {
        const QString name = QString::fromStdString(demoDatabaseFileName(file.name));
        copyWithoutCollation(QDir(sharedDemoDb()).filePath(name), plain.file(name));
    }
    QFile(plain.file("main.sqlite")).open(QIODevice::WriteOnly);
    const auto odbc = Connection::openOdbc(QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(plain.file("main.sqlite")));
    for (const auto& file : demoSchema()) {
        const QString name = QString::fromStdString(file.name);
        odbc->executeNative(QStringLiteral("ATTACH DATABASE ? AS %1").arg(name),
                            {plain.file(QString::fromStdString(demoDatabaseFileName(file.name)))});
    }
    const auto embedded = Connection::openEmbedded(sharedDemoDb());

    const auto dtd = std::make_shared<const ecf4::Cf4Dtd>(sourceDtdPath());
    const QDate today(2026, 12, 1);
    const ecf4::Ecf4Session overOdbc(*odbc, today, dtd);
    const ecf4::Ecf4Session inProcess(*embedded, today, dtd);
    int ready = 0;
    for (const QString& idNum : ecf4::claimsRegistered(*embedded, QDate(2026, 9, 1), QDate(2026, 11, 30))) {
        const ecf4::Verdict expected = inProcess.check(idNum);
        const ecf4::Verdict verdict = overOdbc.check(idNum);
        EXPECT_EQ(verdict.problems, expected.problems) << idNum.toStdString();
        EXPECT_EQ(verdict.warnings, expected.warnings) << idNum.toStdString();
        EXPECT_EQ(verdict.document, expected.document) << idNum.toStdString();
        ready += expected.ready() ? 1 : 0;
    }
    EXPECT_GT(ready, 10);
}
