#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vantik {

/// A new SQLite file opened for one bulk load: no journal, no syncing, one
/// transaction, the TSQL collation registered. Errors throw std::runtime_error
/// naming the file and SQLite's message.
class SqliteWriter {
public:
    /// Creates (or truncates) the file.
    explicit SqliteWriter(const std::string& path);
    ~SqliteWriter();
    SqliteWriter(const SqliteWriter&) = delete;
    SqliteWriter& operator=(const SqliteWriter&) = delete;

    sqlite3* handle() const { return m_db; }
    void exec(const std::string& sql);
    /// Commits the transaction and closes the file.
    void finish();
    [[noreturn]] void fail(std::string_view what) const;

private:
    std::string m_path;
    sqlite3* m_db = nullptr;
};

/// One prepared INSERT, bound column by column in order and run with run().
/// Texts are bound without copying: they must live until run().
class SqliteInsert {
public:
    SqliteInsert(SqliteWriter& writer, const std::string& sql);
    ~SqliteInsert();
    SqliteInsert(const SqliteInsert&) = delete;
    SqliteInsert& operator=(const SqliteInsert&) = delete;

    SqliteInsert& text(std::string_view value);
    /// nullptr binds NULL.
    SqliteInsert& text(const char* value);
    SqliteInsert& text(const std::string& value) { return text(std::string_view(value)); }
    SqliteInsert& integer(std::int64_t value);
    SqliteInsert& real(double value);
    SqliteInsert& null();
    void run();

private:
    SqliteWriter& m_writer;
    sqlite3_stmt* m_statement = nullptr;
    int m_next = 1;
};

} // namespace vantik
