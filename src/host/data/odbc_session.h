#pragma once

#include "host/data/connection.h"

#include <memory>

namespace vantik {

/// The thin layer under OdbcConnection that talks to the ODBC driver: statements
/// go down exactly as the connection built them. Tests put a recording double in
/// its place to see what SQL Server would receive.
class OdbcSession {
public:
    virtual ~OdbcSession();

    /// The server's product as the driver names it ("Microsoft SQL Server", "SQLite").
    virtual QString dbmsName() const = 0;
    /// Rows as text, for the grids.
    virtual ResultSet execute(const QString& statement) = 0;
    /// The first result that has columns (a batch's earlier results are passed
    /// over), with native values; no columns when the statement returns none.
    virtual RawResult fetch(const QString& statement, const QVariantList& parameters) = 0;
    /// Rows changed as the driver counts them.
    virtual int executeNative(const QString& statement, const QVariantList& parameters) = 0;
};

/// A session through Qt's QODBC driver. Throws DatabaseError with the driver's
/// message when the connection cannot be opened.
std::unique_ptr<OdbcSession> openQodbcSession(const QString& connectionString);

/// The kind of an ODBC result column, from what QODBC reports of it.
SqlType odbcColumnType(int metaTypeId, int odbcTypeId);

} // namespace vantik
