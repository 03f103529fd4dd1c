#pragma once

#include "tools/bench/recording_connection.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;

namespace vantik::sqlcompat {
class Catalog;
}

namespace vantik::bench {

/// A statement in SQLite's own text with its parameters, ready for the raw engine.
struct RawStatement {
    using Parameter = std::variant<std::monostate, std::int64_t, double, std::string>;
    std::string sql;
    std::vector<Parameter> parameters;
};

/// Translates the recorded T-SQL once, outside any timing; native statements pass as they are.
std::vector<RawStatement> rawStatements(const std::vector<RecordedStatement>& recorded,
                                        const sqlcompat::Catalog& catalog);

/// SQLite alone on the four database files: the SQL Server functions and collation
/// are registered (the indexes need them), nothing of the program's layers runs.
class RawEngine {
public:
    explicit RawEngine(const std::string& folder);
    ~RawEngine();
    RawEngine(const RawEngine&) = delete;
    RawEngine& operator=(const RawEngine&) = delete;

    /// Prepares each statement, binds its parameters, steps every row reading
    /// every column as text, and finalizes it. Returns the rows read.
    std::int64_t run(const std::vector<RawStatement>& statements);
    void exec(const std::string& sql);

private:
    [[noreturn]] void fail(const std::string& context) const;
    sqlite3* m_handle = nullptr;
};

} // namespace vantik::bench
