#pragma once

#include "host/data/result_set.h"
#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/sqltype.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace vantik {

/// Rows of a statement with their values as the backend gives them (NULL as a
/// null QVariant, datetimes of the embedded engine in their storage text). Only
/// recordsets use it: they need the values exactly as read to check, when saving,
/// that nobody changed the record meanwhile.
struct RawResult {
    QStringList columnNames;
    std::vector<SqlType> columnTypes;
    std::vector<std::vector<QVariant>> rows;
    /// Per column (empty: none): the driver gives the value less exactly than the
    /// server holds it (a datetime2 with more than three decimals cut to the
    /// millisecond, a datetimeoffset as bytes); Connection::exactTextExpression
    /// reads it whole.
    std::vector<bool> imprecise;
    /// The results with columns that a batch returned after this one, in order.
    std::vector<RawResult> laterResults;
};

/// The result of a batch whose first column has that name (case-insensitive),
/// among the result and its later results; nullptr when there is none. A batch
/// names the result it answers with, so that a trigger's own SELECT is never
/// taken for it.
const RawResult* namedResult(const RawResult& result, const QString& firstColumn);

/// A table named in a statement: database (schema) and table, as written.
struct TableRef {
    QString database;
    QString table;
};

class RowWriter;

/// The one open connection of the program to the hospital databases. Statements
/// are T-SQL; the embedded backend translates them, SQL Server runs them as they are.
/// Every method throws DatabaseError with the database's message on failure.
class Connection {
public:
    virtual ~Connection();

    /// Opens the embedded databases: the folder holds Patient_Data.sqlite,
    /// Build_File.sqlite, Station.sqlite and MEDICARE.sqlite.
    static std::unique_ptr<Connection> openEmbedded(const QString& folder);
    /// Opens SQL Server (or any ODBC source) through QODBC with a connection string
    /// such as "DRIVER={FreeTDS};SERVER=host;PORT=1433;DATABASE=Patient_Data;UID=u;PWD=p;TDS_Version=7.4;".
    static std::unique_ptr<Connection> openOdbc(const QString& connectionString);

    /// Runs a statement and returns every row as text. Statements that return no
    /// rows give an empty result set without columns.
    virtual ResultSet execute(const QString& statement) = 0;

    /// Runs a statement and returns the rows with their native values.
    virtual RawResult fetch(const QString& statement) = 0;

    /// Runs a statement in the backend's own dialect with '?' parameters bound in
    /// order; returns the number of rows it changed.
    virtual int executeNative(const QString& statement, const QVariantList& parameters) = 0;
    /// The same for a statement (or SQL Server batch) that returns rows.
    virtual RawResult fetchNative(const QString& statement, const QVariantList& parameters) = 0;

    /// The columns of a table in their order, with their types, lengths and key;
    /// throws DatabaseError when there is no such table. The reference stays
    /// valid as long as the connection.
    virtual const std::vector<sqlcompat::ColumnInfo>& tableColumns(const TableRef& table) = 0;

    /// The value of the integer key that the last insert of this connection created.
    virtual QVariant lastInsertedKey() = 0;
    /// How this backend saves one row (see row_writer.h). Its statements go
    /// through the connection it is given, so that wrappers see each of them.
    virtual const RowWriter& rowWriter() const = 0;

    /// The backend's own spelling of a table and of a column name in statements.
    virtual QString nativeTableName(const TableRef& table) const = 0;
    virtual QString nativeColumnName(const QString& column) const = 0;

    /// The value the backend binds for the program's text form of a value of a
    /// column ("1/5/2024 9:07:00 AM" for a datetime, "12.5" for a decimal). Throws
    /// DatabaseError, naming the column, when the column cannot hold the value:
    /// see column_value.h for the rules.
    virtual QVariant nativeValue(const QString& text, const sqlcompat::ColumnInfo& column) const = 0;

    /// "Embedded database (folder)" or "SQL Server (ODBC)".
    virtual QString description() const = 0;

    /// Whether the server grants rights table by table (SQL Server), so that the
    /// program can ask which it has; the embedded files have none.
    virtual bool hasTableRights() const { return false; }
    /// An expression reading the column (as written, alias included) whole as
    /// text, where the driver would give it less exactly (see RawResult::imprecise);
    /// empty when the backend reads every value exactly.
    virtual QString exactTextExpression(const QString& column) const;
    /// Moves what the connection's saves left in a write-ahead log into the database
    /// files themselves, so that a copy of those files alone holds every save so far.
    /// Waits only briefly for other programs reading the files; never throws. A
    /// backend without such a log does nothing.
    virtual void checkpoint() noexcept {}
    /// Empty when saves can be written; otherwise, for the clerk, why none can (a
    /// database folder the program may only read is opened read-only).
    virtual QString readOnlyNotice() const { return QString(); }
};

} // namespace vantik
