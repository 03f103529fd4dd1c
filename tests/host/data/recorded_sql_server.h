#pragma once

// A connection whose ODBC driver is a recording double of SQL Server, with the
// answers its catalog and its save batches give.

#include "host/data/database_error.h"
#include "host/data/odbc_connection.h"
#include "host/data/recordset.h"
#include "support/qt_printers.h"
#include "support/recording_odbc_session.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantik::test {

// A row of the catalog statement: name, type, max_length (bytes), precision,
// scale, is_computed, key_ordinal.
inline std::vector<QVariant> column(const char* name, const char* type, int bytes, int precision = 0, int scale = 0,
                                    int computed = 0, int key = 0)
{
    return {QString::fromLatin1(name), QString::fromLatin1(type), bytes, precision, scale, computed, key};
}

inline RawResult catalog(std::vector<std::vector<QVariant>> columns)
{
    RawResult result;
    result.rows = std::move(columns);
    return result;
}

inline RawResult rows(QStringList names, std::vector<std::vector<QVariant>> values)
{
    RawResult result;
    result.columnNames = std::move(names);
    result.columnTypes.assign(static_cast<std::size_t>(result.columnNames.size()), SqlType::Unknown);
    result.rows = std::move(values);
    return result;
}

inline const QString kBatchStart = "SET NOCOUNT ON;\n"
                                   "SET XACT_ABORT ON;\n"
                                   "DECLARE @saved TABLE (n int);\n"
                                   "BEGIN TRANSACTION;\n";
inline const QString kUpdateEnd = "DECLARE @rows int = (SELECT COUNT(*) FROM @saved);\n"
                                  "IF @rows = 1 COMMIT TRANSACTION ELSE ROLLBACK TRANSACTION;\n"
                                  "SELECT @rows AS SavedRows;";
inline const QString kInsertEnd = "DECLARE @key numeric(38, 0) = SCOPE_IDENTITY();\n"
                                  "COMMIT TRANSACTION;\n"
                                  "SELECT (SELECT COUNT(*) FROM @saved) AS SavedRows, @key AS NewKey;";

class RecordedSqlServerTest : public ::testing::Test {
protected:
    RecordedSqlServerTest()
    {
        auto session = std::make_unique<RecordingOdbcSession>();
        server = session.get();
        connection = std::make_unique<OdbcConnection>(std::move(session));
        // The connection's own set-up has a test of its own; here what follows it.
        server->sent.clear();
    }

    // Mark verified's nurse profile, a table whose key is text, read as
    // idNum stands (trailing blanks kept) and ready to save.
    void openProfile(Recordset& profile, const QString& idNum = QStringLiteral("2400001"))
    {
        answers().push_back(catalog({column("IDNum", "varchar", 12, 0, 0, 0, 1), column("CF4Status", "varchar", 100)}));
        answers().push_back(rows({"IDNum", "CF4Status", "__vantik_key_0"}, {{idNum, "OPEN", idNum}}));
        profile.open("SELECT * FROM Station..tbNurseProfile WHERE IDNum = '2400001'", *connection, CursorType::Keyset,
                     LockType::Optimistic);
    }

    static QString messageOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const DatabaseError& error) {
            return error.message();
        }
        return QStringLiteral("(no error)");
    }

    std::deque<RawResult>& answers() { return server->answers; }

    RecordingOdbcSession* server = nullptr;
    std::unique_ptr<OdbcConnection> connection;
};

} // namespace vantik::test
