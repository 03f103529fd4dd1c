#pragma once

#include "host/data/connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace vantik {

/// One condition a saved row must still meet: the column holds the value read
/// (a null value: the column is NULL).
struct ColumnCheck {
    sqlcompat::ColumnInfo column;
    QVariant value;
};

/// An UPDATE of the one row that the checks find.
struct RowUpdate {
    TableRef table;
    QStringList columns; ///< the columns written
    QVariantList values; ///< their native values, in the same order
    std::vector<ColumnCheck> checks;
    /// The checks hold the whole primary key, so at most one row can match.
    bool byKey = true;
};

/// An INSERT of one row.
struct RowInsert {
    TableRef table;
    QStringList columns; ///< the columns given; the table's defaults fill the rest
    QVariantList values;
    /// When not empty, a T-SQL SELECT over the table: the row is inserted only
    /// while it selects no row, decided atomically with the insert.
    QString absentStatement;
    QString absentAlias; ///< the table's alias in that statement, if any
    QString absentWhere; ///< its WHERE clause (with the keyword), or empty
    /// Read the key the database generates for the row (identity / rowid).
    bool generatedKey = false;
};

struct InsertOutcome {
    bool inserted = false; ///< false: the absent statement found a row; nothing written
    QVariant generatedKey;
};

/// How a backend saves one row of a recordset. The statements run through the
/// connection passed in, which may wrap the backend's own; each save is one
/// atomic unit: a save that would hit more than one row writes nothing.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    /// Returns how many rows the checks found; the row is written only when it is 1.
    virtual int update(Connection& via, const RowUpdate& update) const = 0;
    virtual InsertOutcome insert(Connection& via, const RowInsert& insert) const = 0;
};

/// "a = ?, b = ?": the SET list of an update of these columns, in native names.
QString assignedColumns(Connection& via, const QStringList& columns);
/// "a, b": the columns of an insert, in native names.
QString insertedColumns(Connection& via, const QStringList& columns);
/// "?, ?": one parameter mark per value.
QString parameterMarks(qsizetype count);

/// SQLite's way, for the embedded engine and for SQLite through ODBC: a write
/// transaction (BEGIN IMMEDIATE, or a savepoint inside a transaction already
/// open) around what must be atomic, text compared with COLLATE BINARY.
/// inTransaction tells whether the connection is inside a transaction already.
std::unique_ptr<RowWriter> makeSqliteRowWriter(std::function<bool()> inTransaction);

/// SQL Server's way: each save one batch that counts the rows it wrote itself
/// and commits only exactly one (see sql_server_row_writer.cpp).
std::unique_ptr<RowWriter> makeSqlServerRowWriter();

} // namespace vantik
