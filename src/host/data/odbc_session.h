#pragma once

#include "host/data/connection.h"
#include "host/data/database_error.h"

#include <memory>
#include <vector>

namespace vantik {

/// The thin layer under OdbcConnection that talks to the ODBC driver: statements
/// go down exactly as the connection built them. Tests put a recording double in
/// its place to see what SQL Server would receive. Every method throws
/// DatabaseError with the driver's message, of the kind its diagnostics tell.
class OdbcSession {
public:
    virtual ~OdbcSession();

    /// The server's product as the driver names it ("Microsoft SQL Server", "SQLite").
    virtual QString dbmsName() const = 0;
    /// Rows as text, for the grids.
    virtual ResultSet execute(const QString& statement) = 0;
    /// The first result that has columns, with native values (no columns when the
    /// statement returns none); a batch's later results with columns follow in its
    /// laterResults. The whole batch is read, so an error it raises after its first
    /// result is thrown too.
    virtual RawResult fetch(const QString& statement, const QVariantList& parameters) = 0;
    /// Rows changed as the driver counts them.
    virtual int executeNative(const QString& statement, const QVariantList& parameters) = 0;
    /// Sends statements that set options of the connection (SET ...) exactly as
    /// they are, never prepared: options set inside a prepared statement end with it.
    virtual void applySettings(const QString& statement) = 0;
    /// Closes the connection and opens it again as it was opened.
    virtual void reconnect() = 0;
};

/// A session through Qt's QODBC driver. Throws DatabaseError with the driver's
/// message when the connection cannot be opened.
std::unique_ptr<OdbcSession> openQodbcSession(const QString& connectionString);

/// Seconds a statement may run before the driver gives up on it (the query timeout).
inline constexpr int kQueryTimeoutSeconds = 120;

/// The kind of an ODBC result column, from what QODBC reports of it: the Qt type
/// of its values and its ODBC SQL type. A bit column is a bit whatever Qt makes of
/// its values (QODBC reads SQL_BIT as an unsigned integer).
SqlType odbcColumnType(int metaTypeId, int odbcTypeId);

/// Whether QODBC reads a column of that ODBC SQL type and scale less exactly than
/// the server holds it: date-times and times with more than three decimals (cut
/// to the millisecond) and SQL Server's datetimeoffset (read as bytes).
bool odbcColumnImprecise(int odbcTypeId, int scale);

/// One diagnostic record of a failed ODBC call.
struct OdbcDiagnostic {
    QString sqlState;
    int nativeCode = 0;
    QString message;
};

/// What a failure means for the program, from the driver's diagnostics:
/// a lost connection (SQLSTATE class 08, FreeTDS's socket errors), a deadlock
/// victim (1205), a lock timeout (1222) or a query timeout (HYT00).
DatabaseErrorKind odbcErrorKind(const std::vector<OdbcDiagnostic>& diagnostics);

} // namespace vantik
