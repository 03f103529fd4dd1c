#include "demo_db_support.h"

#include "host/demodata/demo_generator.h"
#include "host/demodata/demo_schema.h"
#include "host/sqlcompat/compat_functions.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vantik::test {

DemoDbReader::DemoDbReader(const std::string& folder)
{
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open SQLite";
        return;
    }
    EXPECT_TRUE(sqlcompat::registerSqlServerCompat(m_db));
    for (const auto& file : demoSchema()) {
        const std::string path = folder + "/" + demoDatabaseFileName(file.name);
        const std::string error = exec("ATTACH '" + path + "' AS " + file.name);
        EXPECT_EQ(error, "") << path;
    }
}

DemoDbReader::~DemoDbReader()
{
    sqlite3_close_v2(m_db);
}

std::int64_t DemoDbReader::count(const std::string& sql) const
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(m_db) << "\n" << sql;
        return -1;
    }
    std::int64_t value = -1;
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    else if (rc != SQLITE_DONE)
        ADD_FAILURE() << sqlite3_errmsg(m_db) << "\n" << sql;
    sqlite3_finalize(statement);
    return value;
}

std::vector<std::optional<std::string>> DemoDbReader::column(const std::string& sql, int index) const
{
    std::vector<std::optional<std::string>> values;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(m_db) << "\n" << sql;
        return values;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (sqlite3_column_type(statement, index) == SQLITE_NULL)
            values.emplace_back(std::nullopt);
        else
            values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, index)));
    }
    if (rc != SQLITE_DONE)
        ADD_FAILURE() << sqlite3_errmsg(m_db) << "\n" << sql;
    sqlite3_finalize(statement);
    return values;
}

std::string DemoDbReader::exec(const std::string& sql) const
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK)
        return {};
    std::string message = error ? error : "error";
    sqlite3_free(error);
    return message;
}

std::vector<DemoDbReader::Column> DemoDbReader::columns(const std::string& schema, const std::string& table) const
{
    std::vector<Column> result;
    for (const auto& name : column("SELECT name FROM pragma_table_info('" + table + "', '" + schema + "')")) {
        Column c;
        c.name = name.value_or("");
        const char* declared = nullptr;
        const char* collation = nullptr;
        int notNull = 0, primaryKey = 0, autoIncrement = 0;
        if (sqlite3_table_column_metadata(m_db, schema.c_str(), table.c_str(), c.name.c_str(), &declared, &collation,
                                          &notNull, &primaryKey, &autoIncrement)
            != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(m_db);
            continue;
        }
        c.declaredType = declared ? declared : "";
        c.collation = collation ? collation : "";
        c.primaryKey = primaryKey != 0;
        result.push_back(std::move(c));
    }
    return result;
}

std::vector<std::string> DemoDbReader::tables(const std::string& schema) const
{
    std::vector<std::string> names;
    for (const auto& name :
         column("SELECT name FROM " + schema + ".sqlite_master WHERE type = 'table' ORDER BY name"))
        names.push_back(name.value_or(""));
    return names;
}

std::vector<std::string> DemoDbReader::indexedColumns(const std::string& schema, const std::string& table) const
{
    std::vector<std::string> names;
    for (const auto& index : column("SELECT name FROM pragma_index_list('" + table + "', '" + schema + "')")) {
        const auto first = column("SELECT name FROM pragma_index_info('" + index.value_or("") + "', '" + schema
                                  + "') WHERE seqno = 0");
        if (!first.empty() && first[0])
            names.push_back(*first[0]);
    }
    // An INTEGER PRIMARY KEY is the rowid itself and has no index of its own.
    for (const auto& c : columns(schema, table))
        if (c.primaryKey)
            names.push_back(c.name);
    return names;
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace vantik::test
