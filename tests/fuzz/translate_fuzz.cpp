// The fuzz target of the T-SQL translator and of the embedded execution of what it
// accepts. Built two ways from this one file: with clang's libFuzzer (scripts/fuzz.sh),
// and with the normal compiler as a replay of tests/fuzz/corpus and tests/fuzz/crashes
// (replay_main.cpp, run by CTest).
//
// What must hold for any input:
// - nothing crashes, and no input takes long (libFuzzer's -timeout);
// - a statement is refused with a message, or its translation prepares on SQLite and
//   runs (its own errors, such as a failed conversion, are answers too). A translation
//   SQLite cannot prepare means the translator wrote something wrong; only SQLite's own
//   depth limits, which the connection reports as "nested too deeply", are expected;
// - where the connection would keep a statement's translation with its literals as
//   parameters, another statement of the same shape (other literals) translates to
//   exactly what the kept one gives with those literals bound.

#include "host/data/statement_shape.h"
#include "host/demodata/demo_schema.h"
#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/sqltype.h"
#include "host/sqlcompat/translator.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vantik;

[[noreturn]] void broken(const char* what, std::string_view statement, std::string_view detail)
{
    std::fprintf(stderr, "INVARIANT BROKEN: %s\nstatement: %.*s\ndetail: %.*s\n", what,
                 static_cast<int>(statement.size()), statement.data(), static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

void exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "setting up the fuzz database failed: %s\n%s\n", error ? error : "", sql.c_str());
        std::abort();
    }
}

// A few rows in every table, of every kind of value the translated functions meet: texts
// with other letter case and trailing blanks, the int limits, dates, NULLs (where the
// column takes them; keys differ from row to row).
void fillTable(sqlite3* db, const std::string& schema, const std::string& table,
               const std::vector<sqlcompat::ColumnInfo>& columns, const std::vector<bool>& notNull)
{
    static const char* const texts[] = {"'A1'", "'a1 '", "'2400001'", "'O''Brien'", "NULL", "'26000410B'"};
    static const char* const integers[] = {"1", "2147483647", "-2147483648", "0", "NULL", "7"};
    static const char* const dates[] = {"'2024-01-05 09:07:00.000'", "'2024-01-31 23:59:59.997'",
                                        "'1753-01-01 00:00:00.000'", "'9999-12-31 23:59:59.997'", "NULL",
                                        "'2026-11-30 00:00:00.000'"};
    static const char* const decimals[] = {"12.5", "0.1", "-3", "150", "NULL", "2"};
    static const char* const bits[] = {"1", "0", "1", "0", "NULL", "1"};
    constexpr int kRows = 6;
    for (int row = 0; row < kRows; ++row) {
        std::string sql = "INSERT OR IGNORE INTO \"" + schema + "\".\"" + table + "\" VALUES (";
        for (std::size_t c = 0; c < columns.size(); ++c) {
            std::size_t pick = (static_cast<std::size_t>(row) + c) % kRows;
            if (pick == 4 && notNull[c])
                pick = 5;
            std::string value = texts[pick];
            switch (columns[c].type) {
            case sqlcompat::SqlType::Integer: value = integers[pick]; break;
            case sqlcompat::SqlType::DateTime: value = dates[pick]; break;
            case sqlcompat::SqlType::Decimal: value = decimals[pick]; break;
            case sqlcompat::SqlType::Bit: value = bits[pick]; break;
            default: break;
            }
            if (columns[c].primaryKey)
                value = columns[c].type == sqlcompat::SqlType::Integer ? std::to_string(row + 1)
                                                                       : "'K" + std::to_string(row) + "'";
            sql += (c ? ", " : "") + value;
        }
        sqlite3_exec(db, (sql + ")").c_str(), nullptr, nullptr, nullptr);
    }
}

// The four HIS databases in memory, made by the demo generator's own schema and
// attached under their names, as the embedded connection attaches the files.
struct Engine {
    sqlite3* db = nullptr;
    std::vector<sqlite3*> files;  // each keeps its shared in-memory database alive
    sqlcompat::Catalog catalog;

    Engine()
    {
        constexpr int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI;
        if (sqlite3_open_v2(":memory:", &db, flags, nullptr) != SQLITE_OK || !sqlcompat::registerSqlServerCompat(db))
            std::abort();
        for (const DemoDatabaseSchema& schema : demoSchema()) {
            const std::string uri = "file:vantik-fuzz-" + schema.name + "?mode=memory&cache=shared";
            sqlite3* file = nullptr;
            if (sqlite3_open_v2(uri.c_str(), &file, flags, nullptr) != SQLITE_OK
                || !sqlcompat::registerSqlServerCompat(file))
                std::abort();
            files.push_back(file);
            createDemoTables(file, schema);
            exec(db, "ATTACH '" + uri + "' AS \"" + schema.name + "\"");
            loadSchema(schema.name);
        }
    }

    ~Engine()
    {
        sqlite3_close(db);
        for (sqlite3* file : files)
            sqlite3_close(file);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    void loadSchema(const std::string& schema)
    {
        std::vector<std::string> tables;
        sqlite3_stmt* list = nullptr;
        sqlite3_prepare_v2(db, ("SELECT name FROM \"" + schema + "\".sqlite_master WHERE type = 'table'").c_str(),
                           -1, &list, nullptr);
        while (sqlite3_step(list) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        sqlite3_finalize(list);
        for (const std::string& name : tables) {
            sqlcompat::TableInfo table;
            table.schema = schema;
            table.name = name;
            sqlite3_stmt* info = nullptr;
            sqlite3_prepare_v2(db, ("PRAGMA \"" + schema + "\".table_info(\"" + name + "\")").c_str(), -1, &info,
                               nullptr);
            std::vector<bool> notNull;
            while (sqlite3_step(info) == SQLITE_ROW) {
                notNull.push_back(sqlite3_column_int(info, 3) != 0);
                sqlcompat::ColumnInfo column;
                column.name = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
                const auto* declared = reinterpret_cast<const char*>(sqlite3_column_text(info, 2));
                column.type = sqlcompat::sqlTypeFromDeclared(declared ? declared : "");
                column.primaryKey = sqlite3_column_int(info, 5) > 0;
                table.columns.push_back(std::move(column));
            }
            sqlite3_finalize(info);
            fillTable(db, schema, name, table.columns, notNull);
            catalog.addTable(std::move(table));
        }
    }
};

Engine& engine()
{
    static Engine instance;
    return instance;
}

// Stops a statement that would take long (a cross join of every table, say): the
// translator's work is what is tested here, not SQLite's speed.
int stopAfter(void* budget)
{
    return --*static_cast<long*>(budget) <= 0 ? 1 : 0;
}

bool isDepthLimit(std::string_view message)
{
    return message == sqlcompat::preparedStatementMessage("parser stack overflow");
}

void run(const std::string& tsql, const sqlcompat::Translation& translation)
{
    Engine& e = engine();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(e.db, translation.sql.data(), static_cast<int>(translation.sql.size()), &statement,
                           nullptr)
        != SQLITE_OK) {
        const std::string message = sqlcompat::preparedStatementMessage(sqlite3_errmsg(e.db));
        if (!isDepthLimit(message))
            broken("the translation does not prepare", tsql, message + "\n" + translation.sql);
        return;
    }
    if (!translation.columnNames.empty()
        && static_cast<std::size_t>(sqlite3_column_count(statement)) != translation.columnNames.size())
        broken("the result has other columns than the translation names", tsql, translation.sql);
    long budget = 2000;
    sqlite3_progress_handler(e.db, 1000, stopAfter, &budget);
    int rows = 0;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW && ++rows < 200) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            sqlite3_column_text(statement, c);
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && sqlite3_errmsg(e.db)[0] == '\0')
        broken("a failing statement gives no message", tsql, translation.sql);
    sqlite3_progress_handler(e.db, 0, nullptr, nullptr);
    sqlite3_finalize(statement);
}

// Literal values that make a translation go another way when it wrongly depends on them.
std::vector<std::string> otherLiterals(const StatementShape& shape, const std::uint8_t* data, std::size_t size)
{
    static const char* const tricky[] = {"''", "'x'", "'1/5/2024'", "'2024-01-05 09:07'", "'%'", "'[a-c]%'", "' '",
                                         "'O''Brien'", "'12'", "'-'", "'é'", "'Dela Cruz'", "'2400001'", "'0'"};
    std::vector<std::string> out;
    out.reserve(shape.literals.size());
    for (std::size_t i = 0; i < shape.literals.size(); ++i) {
        const std::size_t pick = (size ? data[(i * 7) % size] : 0) + i;
        out.emplace_back(tricky[pick % std::size(tricky)]);
    }
    return out;
}

void checkShapeCache(const std::string& tsql, const sqlcompat::Translation& translation, const std::uint8_t* data,
                     std::size_t size)
{
    const StatementShape shape = statementShape(tsql);
    if (!shape.complete || shape.literals.empty())
        return;
    const sqlcompat::Catalog& catalog = engine().catalog;
    const auto kept = parameterizedTranslation(shape, translation, catalog);
    if (!kept)
        return;
    const std::vector<std::string> literals = otherLiterals(shape, data, size);
    std::string other;
    std::size_t next = 0;
    for (const char c : shape.key) {
        if (c == '\x01')
            other += literals[next++];
        else
            other += c;
    }
    sqlcompat::Translation direct;
    try {
        direct = sqlcompat::translateTsql(other, catalog);
    } catch (const sqlcompat::TranslationError& error) {
        broken("a statement of a kept shape is refused, but would run with its literals bound", other, error.what());
    }
    const StatementShape otherShape = statementShape(other);
    if (otherShape.key != shape.key)
        broken("the same literals in the same places give another shape", other, otherShape.key);
    const auto again = parameterizedTranslation(otherShape, direct, catalog);
    if (!again)
        broken("a statement of a kept shape does not translate to the kept text with its literals", other,
               direct.sql + "\nkept: " + kept->sql);
    if (again->sql != kept->sql || again->columnNames != kept->columnNames || again->columnTypes != kept->columnTypes)
        broken("two statements of one shape keep different translations", other, again->sql + "\nkept: " + kept->sql);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string tsql(reinterpret_cast<const char*>(data), size);
    sqlcompat::Translation translation;
    try {
        translation = sqlcompat::translateTsql(tsql, engine().catalog);
    } catch (const sqlcompat::TranslationError& error) {
        if (error.what()[0] == '\0')
            broken("a statement is refused without a message", tsql, "");
        return 0;
    }
    run(tsql, translation);
    checkShapeCache(tsql, translation, data, size);
    return 0;
}
