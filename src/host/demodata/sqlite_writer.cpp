#include "host/demodata/sqlite_writer.h"

#include "host/sqlcompat/compat_functions.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

namespace vantik {

SqliteWriter::SqliteWriter(const std::string& path)
    : m_path(path)
{
    std::remove(path.c_str());
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw std::runtime_error(path + ": " + message);
    }
    if (!sqlcompat::registerSqlServerCompat(m_db))
        fail("cannot register the SQL Server functions");
    // The file is thrown away when generation fails, so nothing needs to survive a crash.
    exec("PRAGMA journal_mode=OFF");
    exec("PRAGMA synchronous=OFF");
    exec("PRAGMA locking_mode=EXCLUSIVE");
    exec("PRAGMA cache_size=-262144");
    exec("PRAGMA temp_store=MEMORY");
    exec("BEGIN");
}

SqliteWriter::~SqliteWriter()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

void SqliteWriter::exec(const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(m_db);
        sqlite3_free(error);
        throw std::runtime_error(m_path + ": " + message);
    }
}

void SqliteWriter::finish()
{
    exec("COMMIT");
    // The program opens its databases with the write-ahead log; a file made in
    // that mode needs no header rewrite at its first opening, which could race
    // with a copy being taken of it.
    exec("PRAGMA journal_mode=WAL");
    if (sqlite3_close(m_db) != SQLITE_OK)
        fail("cannot close");
    m_db = nullptr;
}

void SqliteWriter::fail(std::string_view what) const
{
    std::string message = m_path + ": " + std::string(what);
    if (m_db)
        message += std::string(": ") + sqlite3_errmsg(m_db);
    throw std::runtime_error(message);
}

SqliteInsert::SqliteInsert(SqliteWriter& writer, const std::string& sql)
    : m_writer(writer)
{
    if (sqlite3_prepare_v2(writer.handle(), sql.c_str(), int(sql.size()), &m_statement, nullptr) != SQLITE_OK)
        writer.fail("cannot prepare \"" + sql + "\"");
}

SqliteInsert::~SqliteInsert()
{
    sqlite3_finalize(m_statement);
}

SqliteInsert& SqliteInsert::text(std::string_view value)
{
    // SQLite keeps the pointer until the row is stepped; callers bind temporaries
    // that are gone by then, so the text is copied.
    if (sqlite3_bind_text(m_statement, m_next++, value.data(), int(value.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        m_writer.fail("cannot bind");
    return *this;
}

SqliteInsert& SqliteInsert::text(const char* value)
{
    return value ? text(std::string_view(value)) : null();
}

SqliteInsert& SqliteInsert::integer(std::int64_t value)
{
    if (sqlite3_bind_int64(m_statement, m_next++, value) != SQLITE_OK)
        m_writer.fail("cannot bind");
    return *this;
}

SqliteInsert& SqliteInsert::real(double value)
{
    if (sqlite3_bind_double(m_statement, m_next++, value) != SQLITE_OK)
        m_writer.fail("cannot bind");
    return *this;
}

SqliteInsert& SqliteInsert::null()
{
    if (sqlite3_bind_null(m_statement, m_next++) != SQLITE_OK)
        m_writer.fail("cannot bind");
    return *this;
}

void SqliteInsert::run()
{
    if (sqlite3_step(m_statement) != SQLITE_DONE)
        m_writer.fail("cannot insert");
    sqlite3_reset(m_statement);
    m_next = 1;
}

} // namespace vantik
