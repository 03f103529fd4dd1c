#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace vantik::test {

/// The four demo files of a folder attached to one SQLite connection under
/// their SQL Server names, with the SQL Server collation and functions.
class DemoDbReader {
public:
    explicit DemoDbReader(const std::string& folder);
    ~DemoDbReader();
    DemoDbReader(const DemoDbReader&) = delete;
    DemoDbReader& operator=(const DemoDbReader&) = delete;

    sqlite3* handle() const { return m_db; }
    /// First column of the first row as an integer; fails the test on an error.
    std::int64_t count(const std::string& sql) const;
    /// One column (the first by default) of every row, NULL as nullopt.
    std::vector<std::optional<std::string>> column(const std::string& sql, int index = 0) const;
    /// Runs a statement; returns SQLite's error message, empty on success.
    std::string exec(const std::string& sql) const;

    struct Column {
        std::string name;
        std::string declaredType;
        std::string collation;
        bool primaryKey = false;
    };
    std::vector<Column> columns(const std::string& schema, const std::string& table) const;
    /// Tables of one attached file.
    std::vector<std::string> tables(const std::string& schema) const;
    /// First column of every index of a table (the primary key's included).
    std::vector<std::string> indexedColumns(const std::string& schema, const std::string& table) const;

private:
    sqlite3* m_db = nullptr;
};

/// Bytes of a file; empty when it cannot be read.
std::string readFileBytes(const std::string& path);

} // namespace vantik::test
